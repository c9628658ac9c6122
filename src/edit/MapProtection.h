// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Protect Map: every script and global name becomes "<protected>" and every
// syntax node's string offset points away from its text, in the file only.

#include "edit/WriteHistory.h"
#include "map/MapState.h"
#include "base/Result.h"

namespace quorin {

inline constexpr const char* kProtectedMessage = "Map is now protected from basic script extraction!";
inline constexpr const char* kProtectedName = "<protected>";

// Success once every write is in the file; the caller then shows
// kProtectedMessage. Every field is checked to lie inside the file before
// the first write, so a damaged layout is refused with nothing written. The
// records in memory are not changed. With a history, the whole protection
// becomes its last step.
[[nodiscard]] Status ProtectScripts(MapState& map, WriteHistory* history = nullptr);

}  // namespace quorin
