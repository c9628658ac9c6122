// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hunks of a unified diff between two texts, line by line, with three
// lines of context: what `patch` reads to turn the old text into the new.
// A line is its bytes with its line end; the last line of a text that does
// not end in a line end is followed by "\ No newline at end of file", so it
// differs from the same bytes with a line end.
//
// The shortest edit script comes from the O(NP) search of libdtl, run on
// line numbers instead of texts, and only over what the ends leave: the
// lines the two texts share at their start and at their end are set aside
// first, and so are lines that only one text has (no edit script keeps
// them). The hunks are written here, in the form GNU diff writes them.
//
// Every limit of a comparison lives here. A text longer than
// kCompareTextLimit, more than kCompareLineLimit lines left between the
// shared ends, or a search that takes more than kCompareStepLimit line
// comparisons or follows more than kCompareTrackLimit diagonals gives up:
// memory then stays at a few tens of megabytes and time at milliseconds,
// whatever the texts. A whole comparison of two maps reads at most
// kCompareReadLimit bytes of record texts (about 250 times what the largest
// real map holds), so that no map can keep it running for minutes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorin {

inline constexpr std::size_t kCompareTextLimit = 4 * 1024 * 1024;
inline constexpr std::size_t kCompareLineLimit = 64 * 1024;
inline constexpr std::int64_t kCompareStepLimit = 4 * 1024 * 1024;
inline constexpr std::int64_t kCompareTrackLimit = 128 * 1024;
inline constexpr std::int64_t kCompareReadLimit = 256LL * 1024 * 1024;
inline constexpr int kContextLines = 3;

enum class LineDiffOutcome {
    Same,         // nothing appended
    Differ,       // the hunks appended
    TooLong,      // a text is longer than kCompareTextLimit; nothing appended
    TooManyEdits  // a line or search limit was reached; nothing appended
};

struct LineDiffCounts {
    std::int64_t added = 0;    // lines
    std::int64_t removed = 0;  // lines
};

// Appends to out the hunks that turn oldText into newText ("@@ -A,B +C,D @@"
// and the lines, each with its line end) and adds the lines they add and
// remove to counts.
[[nodiscard]] LineDiffOutcome AppendHunks(std::string& out, std::string_view oldText, std::string_view newText,
                                          LineDiffCounts& counts);

}  // namespace quorin
