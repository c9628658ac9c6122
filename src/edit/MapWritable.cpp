// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/MapWritable.h"

namespace quorin {

Status CheckMapWritable(const MapState& map) {
    if (!map.hasMap()) return Error(ErrorCode::NoMap, "No map is loaded. Nothing was written.");
    if (map.readOnly()) return *map.loadedFile().readOnlyReason;
    return success();
}

}  // namespace quorin
