// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows that expanding a row of the script tree adds, worked out from the
// records in memory. No widgets: the window adds what this returns.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/MapState.h"

namespace quorin {

inline constexpr const char* kUnknownFolder = "i dont know what you did but this isnt a global or a script?!";

struct TreeRow {
    std::string text;
    bool folder = false;  // folder rows can be expanded; plain rows cannot
};

struct ChildRows {
    // False for a folder row that is neither a top folder nor a script or
    // global row; the window then shows kUnknownFolder and adds nothing.
    bool known = true;
    std::vector<TreeRow> rows;
};

// The children of the row with this text, in the order they are added:
// - "scripts": one folder row per script, in cache order;
// - "globals": one folder row per global;
// - a script row: its root node, the root's first child, then every node
//   the decompiler walks (positions from the child's sibling up to the root);
// - a global row: a plain row with its own text, then its value node.
// A name or identity the dictionaries do not hold ends the list there: the
// rows found before it stay, nothing is made up for the missing record.
[[nodiscard]] ChildRows ChildRowsFor(const MapContent& map, std::string_view rowText);

// After a record changed under the tree (an undo or redo of a write): the
// text a row should show now, when the row's text names that record exactly
// (a script or global row by name, a node row by identity); nothing for any
// other row. The text is the record's own name or identity as it stands.
[[nodiscard]] std::optional<std::string> RowTextAfterChange(const MapContent& map, std::string_view rowText,
                                                            RecordKind kind, std::size_t position);

// The top rows of a freshly loaded map.
[[nodiscard]] std::vector<TreeRow> TopRows(const MapContent& map);

}  // namespace quorin
