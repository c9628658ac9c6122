// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a hit sits in the script tree, so a window can show it: the rows to
// expand and the row to select, by their keys. Rows are made on expansion
// (ChildRowsFor), so every key is that of a row the expansion of the one
// before makes.

#include <vector>

#include "browse/RowText.h"
#include "map/MapState.h"
#include "search/SearchHit.h"

namespace quorin {

// Every key but the last names a row to expand; the last names the row to
// select.
// - script: the scripts folder, then the script's row (by its cache
//   position, so scripts that share a name each have their own);
// - global: the globals folder, then the global's row;
// - use: the scripts folder, the script's row, then the first of that
//   row's children that reaches the hit's node. When none does (the tree
//   stops at an identity the dictionary does not hold), the path ends at
//   the script's row.
// Empty when the map has no such folder or record.
[[nodiscard]] std::vector<RowKey> TreePathFor(const MapContent& map, const SearchHit& hit);

}  // namespace quorin
