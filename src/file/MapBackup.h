// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The copy of a map made before the first write into it: NAME.map.bak beside
// the map. The copy is made in a new file that takes the name only once it is
// complete, so an older backup is only ever replaced by a complete one, and a
// run killed meanwhile leaves nothing behind.

#include <string>

#include "base/Result.h"
#include "file/SystemFile.h"

namespace quorin {

// "DIR/NAME.map" gives "DIR/NAME.map.bak".
std::string BackupPathFor(const std::string& mapPath);

// Copies source, as it is now, to backupPath and forces the copy to the disk
// before it takes the name; the copy has source's owner, group and
// permission bits. On failure nothing is left but an older backup.
[[nodiscard]] Status BackUpFile(const SystemFile& source, const std::string& backupPath);

}  // namespace quorin
