// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test support: every way the tool writes into a loaded map (each edit
// field, each popup, Protect Map, undo and redo), as a table, so a test can
// show that a rule holds for all of them.

#include <functional>
#include <string>
#include <vector>

#include "edit/WriteHistory.h"
#include "map/MapState.h"
#include "textedit/TextEditPlan.h"

namespace quorin::testing {

struct WritePath {
    std::string label;
    // Run right after the load: shows the records the write needs and, for
    // undo and redo, makes the step they take back or make again.
    std::function<Status(MapState&, WriteHistory&)> prepare;
    std::function<Status(MapState&, WriteHistory&)> write;
};

// Script 0's text with its name and its type (within its group) changed.
TextPlan ChangedScriptText(const MapState& map);

// Over the edit fixture: script 0, global 1 and node 1 are shown.
const std::vector<WritePath>& EveryWritePath();

}  // namespace quorin::testing
