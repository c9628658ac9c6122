#pragma once
// The texts of the range extractions: one script block per script, one
// declaration line per global, for a range of cache positions.

#include <cstdint>
#include <string>

#include "map/MapState.h"
#include "script/Decompiler.h"

namespace quorin {

// Said when a range extraction has finished (a box in the window, a line on
// stderr in batch).
inline constexpr const char* kRangeDoneMessage = "done";

// Script blocks for cache positions first..last inclusive. Positions past the
// end of the cache are left out; a negative first position or last < first
// gives empty text.
std::string ScriptRangeText(const MapContent& map, std::int64_t first, std::int64_t last);
// Global lines for cache positions first..last inclusive, same bounds.
std::string GlobalRangeText(const MapContent& map, std::int64_t first, std::int64_t last);

// One script block: the header closed by ")" right after the name, the body,
// then "))" and two line ends. Returns the number of positions walked.
std::int64_t AppendScriptBlock(std::string& out, const MapContent& map, const ScriptHeader& script,
                               NodeTextRules rules);
// One global line: the declaration and a line end.
void AppendGlobalLine(std::string& out, const MapContent& map, const GlobalHeader& global);

}  // namespace quorin
