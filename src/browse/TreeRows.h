// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows that expanding a row of the script tree adds, worked out from the
// records in memory. No widgets: the window adds what this returns, and
// keeps each row's key beside its text.

#include <optional>
#include <string>
#include <vector>

#include "browse/RecordSelection.h"
#include "browse/RowText.h"
#include "map/MapState.h"

namespace quorin {

inline constexpr const char* kUnknownFolder = "i dont know what you did but this isnt a global or a script?!";

struct TreeRow {
    std::string text;
    bool folder = false;  // folder rows can be expanded; plain rows cannot
    RowKey key;           // the record the row reaches
};

struct ChildRows {
    // False for a row that is neither a top folder nor a script or global
    // row; the window then shows kUnknownFolder and adds nothing.
    bool known = true;
    std::vector<TreeRow> rows;
};

// The children of the row with this key, in the order they are added:
// - the scripts folder: one folder row per script, in cache order;
// - the globals folder: one folder row per global;
// - a script row: its root node, the root's first child, then every node
//   the decompiler walks (positions from the child's sibling up to the root);
// - a global row: a plain row with its own text, then its value node.
// A node row reaches the node the identity dictionary gives for the link and
// shows that node's own identity; a root or value identity the dictionary
// does not hold shows as it is and reaches node 0. Any other missing
// identity ends the list there: the rows found before it stay, nothing is
// made up for the missing record.
[[nodiscard]] ChildRows ChildRowsFor(const MapContent& map, const RowKey& row);

// After a write changed a record: the text the row should show now, when the
// row reaches that record (a script or global row its name, a node row its
// identity, as the record holds them); nothing for any other row.
[[nodiscard]] std::optional<std::string> RowTextAfterChange(const MapContent& map, const RowKey& row,
                                                            const SelectedRecord& changed);

// The top rows of a freshly loaded map.
[[nodiscard]] std::vector<TreeRow> TopRows(const MapContent& map);

}  // namespace quorin
