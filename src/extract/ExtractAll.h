#pragma once
// The extract-all text: every global line, five line ends, then every script
// block, with the counts and the time the run took.

#include <cstdint>
#include <string>
#include <vector>

#include "map/MapState.h"
#include "map/Records.h"

namespace quorin {

// A copy of the map's records taken at the start of a run, so loads and
// edits cannot disturb it.
using ExtractionSnapshot = MapContent;

struct ExtractAllResult {
    std::string text;
    std::int64_t globals = 0;
    // Scripts written.
    std::int64_t scripts = 0;
    // One per global (its value node), two per script (root and first child)
    // and one per walked position.
    std::int64_t syntaxParts = 0;
    // Sixtieths of a second spent building the text.
    std::int64_t ticks = 0;

    // The three lines shown when the run is done (no line end after the last).
    [[nodiscard]] std::string message() const;
};

[[nodiscard]] ExtractAllResult ExtractAll(const MapContent& map);

}  // namespace quorin
