// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu commands the shell carries out itself: quit, and the Edit items,
// which act on the text field that has the keyboard focus, whichever window
// it is in.

#include "ui/shell/MenuTable.h"

namespace quorin::ui {

// Does nothing for StandardCommand::None, or when no text field has the
// focus; a read-only field only copies and selects.
void RunStandardCommand(StandardCommand command);

}  // namespace quorin::ui
