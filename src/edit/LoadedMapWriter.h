// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every write into the loaded map starts and ends here: a field, a popup,
// Protect Map, an undo or a redo. The file written is the file loaded.

#include "map/MapState.h"
#include "map/MapWriter.h"
#include "base/Result.h"

namespace quorin {

// Opens the loaded map for one write, which the caller found writable
// (CheckMapWritable) just before: the one check of the write. The file must
// still be the file that was read, judged on the
// descriptor opened (device, inode, size, modification time). Before the
// first write after a load, with backupBeforeFirstWrite, the file is copied
// to NAME.map.bak; a failed copy refuses the write.
[[nodiscard]] Result<MapWriter> OpenLoadedMap(MapState& map);

// Closes the writer and remembers the identity the writes left, so the next
// write finds the file as this one left it.
[[nodiscard]] Status CloseLoadedMap(MapState& map, MapWriter& writer);

}  // namespace quorin
