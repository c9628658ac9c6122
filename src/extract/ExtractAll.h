// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The extract-all text: every global line, five line ends, then every script
// block, with the counts and the time the run took. The text is handed to a
// sink as it is made.

#include <cstdint>
#include <string>

#include "map/MapState.h"
#include "map/Records.h"
#include "base/TextSink.h"

namespace quorin {

// A copy of the map's records taken at the start of a run, so loads and
// edits cannot disturb it. The texts are shared, not copied.
using ExtractionSnapshot = MapContent;

struct ExtractAllResult {
    std::int64_t globals = 0;
    // Scripts written.
    std::int64_t scripts = 0;
    // One per global (its value node), two per script (root and first child)
    // and one per walked position.
    std::int64_t syntaxParts = 0;
    // Sixtieths of a second spent building the text.
    std::int64_t ticks = 0;
    // False when the sink stopped the run before the end. The counts then
    // cover the globals and scripts whose text was begun, each counted whole
    // (a begun script counts every position of its walk).
    bool complete = true;

    // The three lines shown when the run ends (no line end after the last).
    // A stopped run says so in its first line instead of "The extraction is
    // done."; the other two lines keep their form.
    [[nodiscard]] std::string message() const;
};

[[nodiscard]] ExtractAllResult ExtractAll(const MapContent& map, TextSink& sink);
// The bytes ExtractAll writes for map, found without making the text.
[[nodiscard]] std::int64_t ExtractAllSize(const MapContent& map);

}  // namespace quorin
