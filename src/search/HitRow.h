// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a hit sits in the script tree, so a window can show it: the rows to
// expand and the row to select, as row indices from the top. Rows are made
// on expansion (ChildRowsFor), so every index is that of a row the
// expansion of the one before makes.

#include <cstddef>
#include <vector>

#include "map/MapState.h"
#include "search/SearchHit.h"

namespace quorin {

// Every index but the last names a row to expand; the last names the row
// to select.
// - script: the scripts folder, then the script's row (its cache position:
//   rows of scripts that share a name are told apart only by place);
// - global: the globals folder, then the global's row;
// - use: the scripts folder, the script's row, then the first of that
//   row's children whose text is the node's identity. When none is (the
//   tree stops at an identity the text fell back past, or a shared name
//   expands the other script), the path ends at the script's row.
// Empty when the map has no such folder or record.
[[nodiscard]] std::vector<std::size_t> TreePathFor(const MapContent& map, const SearchHit& hit);

}  // namespace quorin
