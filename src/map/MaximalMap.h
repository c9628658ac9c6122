// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest map the format holds, for benchmarks and fuzzing seeds: 32767
// syntax nodes, 2000 scripts, 2000 globals, about 1 MB of node texts, and
// the file padded to 64 MiB. Script 0 has a long body (1600 walked nodes).

#include "map/MapBuilder.h"

namespace quorin {

inline constexpr int kMaximalNodes = 32767;
inline constexpr int kMaximalScripts = 2000;
inline constexpr int kMaximalGlobals = 2000;
inline constexpr std::int64_t kMaximalFileSize = 64LL * 1024 * 1024;

MapBuilder MaximalMap();

}  // namespace quorin
