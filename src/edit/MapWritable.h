// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the loaded map's records may be written into the file now: the
// one check in front of every edit and of protection.

#include "map/MapState.h"
#include "base/Result.h"

namespace quorin {

// Success when a map is loaded and was not opened read-only; otherwise the
// message that says why not. Writes go to the file the records came from
// (MapState::loadedPath), so records of one file never land in another.
[[nodiscard]] Status CheckMapWritable(const MapState& map);

}  // namespace quorin
