// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Maps built to hurt, in the shapes that once made memory grow with the
// texts or the output instead of the file. Used by the tests, the fuzzer's
// seeds and the benchmark.

#include <cstdint>

#include "map/MapBuilder.h"

namespace quorin {

// `nodes` syntax nodes whose texts start one byte apart in a run of
// `runBytes` non-zero bytes that ends at the end of the file, so every text
// runs on to the end of the file. One script walks them all, and every one
// names a command, so the extract-all text and the command database repeat
// the run once per node.
[[nodiscard]] MapBuilder LongNodeTextsMap(int nodes, std::int64_t runBytes);

// `scripts` scripts that each walk all `nodes` nodes (two bytes of text per
// node), so the extract-all text is about 2 x scripts x nodes bytes.
[[nodiscard]] MapBuilder WideWalkMap(int scripts, int nodes);

// `entries` scripts and as many globals whose names have no zero byte: every
// name runs on through the rest of both tables.
[[nodiscard]] MapBuilder RunOnNamesMap(int entries);

}  // namespace quorin
