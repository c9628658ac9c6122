// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the zero-ended texts of one load (names, the tag name, node texts)
// so that memory follows the file, not the texts: a text with no zero byte
// runs on to the next zero or the end of the file, and many texts may run
// through the same bytes. Each byte the texts cover is read into one shared
// buffer once, and every text is a view into it.
//
// Texts that end at the same zero byte are suffixes of each other, so after
// sorting the starts one pass finds every end without scanning a byte twice.
// Long texts with the same bytes share one view, so comparing them reads
// nothing.

#include <cstdint>
#include <functional>
#include <vector>

#include "map/MapFile.h"
#include "base/Result.h"
#include "base/SharedText.h"

namespace quorin {

class TextCollector {
public:
    // Notes that the text at offset is wanted and returns its ticket: 0 for
    // the first text wanted, then 1, 2 and so on. An offset outside the file
    // gives the empty text.
    std::size_t want(std::int64_t offset);

    // Hands every wanted text to take with its ticket. An error only when the
    // file cannot be read.
    [[nodiscard]] Status read(MapFile& file, const std::function<void(std::size_t ticket, SharedText text)>& take) const;

private:
    std::vector<std::int64_t> offsets_;
};

}  // namespace quorin
