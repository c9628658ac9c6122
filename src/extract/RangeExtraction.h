// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the range extractions: one script block per script, one
// declaration line per global (the RangeExtraction rules of TextProducer),
// for a range of cache positions. Positions past the end of the cache are
// left out; a negative first position or last < first gives no text.

#include <cstdint>
#include <string>

#include "base/TextSink.h"
#include "map/MapState.h"

namespace quorin {

// Said when a range extraction has finished (a box in the window, a line on
// stderr in batch).
inline constexpr const char* kRangeDoneMessage = "done";

// Script blocks for cache positions first..last inclusive, handed to sink
// as they are made. False when the sink stopped the run.
bool WriteScriptRange(const MapContent& map, std::int64_t first, std::int64_t last, TextSink& sink);
// Global lines for cache positions first..last inclusive.
bool WriteGlobalRange(const MapContent& map, std::int64_t first, std::int64_t last, TextSink& sink);
// The bytes the two would write, found without making the text.
std::int64_t ScriptRangeSize(const MapContent& map, std::int64_t first, std::int64_t last);
std::int64_t GlobalRangeSize(const MapContent& map, std::int64_t first, std::int64_t last);

// The same texts whole, in memory: for small maps and tests.
std::string ScriptRangeText(const MapContent& map, std::int64_t first, std::int64_t last);
std::string GlobalRangeText(const MapContent& map, std::int64_t first, std::int64_t last);

}  // namespace quorin
