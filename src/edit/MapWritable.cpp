// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/MapWritable.h"

namespace quorin {

Status CheckMapWritable(const MapState& map) {
    if (!map.hasMap()) return Error(ErrorCode::NoMap, "No map is loaded. Nothing was written.");
    if (!map.f) {
        return Error(ErrorCode::NoMap, map.loadedPath(), std::nullopt)
               << "No map file is open, so the records of \"" << FilePath{map.loadedPath()}
               << "\" are not written. Nothing was written.";
    }
    if (!map.writable()) {
        // Records of one file must never land in another.
        return Error(ErrorCode::ChangedOnDisk, map.loadedPath(), std::nullopt)
               << "The records shown come from \"" << FilePath{map.loadedPath()} << "\", but the file opened last is \""
               << FilePath{*map.f} << "\", which did not load. Open a map again before editing. Nothing was written.";
    }
    if (map.readOnly()) return *map.loadedFile().readOnlyReason;
    return success();
}

}  // namespace quorin
