// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carrying out the plan of an edited text: every field write of it as one
// write into the loaded map, and one step of the write history.

#include <string>

#include "base/Result.h"
#include "edit/WriteHistory.h"
#include "map/MapState.h"
#include "textedit/TextEditPlan.h"

namespace quorin {

// What an apply is called in messages and in the history.
inline constexpr const char* kApplyStepName = "Apply";

// Writes every field of plan: one identity check, one descriptor, the backup
// before the first write when it is due, then the records and dictionaries,
// and with a history one step that takes every field back. A plan with
// refusals is refused, and one with nothing to write writes nothing (no
// backup, no step). Every field is checked to lie inside the file before the
// first write. plan must have been made on the map as it is now.
[[nodiscard]] Status ApplyTextPlan(MapState& map, const TextPlan& plan, WriteHistory* history = nullptr);

}  // namespace quorin
