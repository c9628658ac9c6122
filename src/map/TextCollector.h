// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the zero-ended texts of one load (names, the tag name, node texts)
// so that memory follows the file, not the texts: a text with no zero byte
// runs on to the next zero or the end of the file, and many texts may run
// through the same bytes. Each byte the texts cover is read into one shared
// store once, and every text is a view into it.
//
// Texts that end at the same zero byte are suffixes of each other, so after
// sorting the starts one pass finds every end without scanning a byte twice.
// The collector keeps one number per wanted text and nothing per byte, so a
// table of millions of entries costs it a few bytes an entry. Long texts
// with the same bytes mostly share one view, so comparing them reads nothing.

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "map/MapFile.h"
#include "base/Result.h"
#include "base/SharedText.h"

namespace quorin {

// The texts one load read, found again by the offset they were read at.
class LoadedTexts {
public:
    // The text read at offset (a view into the store); empty when the text
    // there is empty or was not read.
    [[nodiscard]] std::string_view at(std::int64_t offset) const;
    // A text sharing the store, for a view at() gave.
    [[nodiscard]] SharedText share(std::string_view view) const;

    // A range of the file copied into the store at bufferAt.
    struct Range {
        std::int64_t from = 0;
        std::int64_t to = 0;
        std::int64_t bufferAt = 0;
    };

private:
    friend class TextCollector;
    struct Held {
        TextStore::Handle store;
        std::vector<Range> ranges;  // ascending, disjoint
    };
    std::shared_ptr<const Held> held_;
};

class TextCollector {
public:
    // Notes that the text at offset is wanted and returns its ticket: 0 for
    // the first text wanted, then 1, 2 and so on. An offset outside the file
    // gives the empty text.
    std::size_t want(std::int64_t offset);
    // Room for this many more wanted texts, so a table is noted without
    // growing (and copying) the list.
    void reserve(std::size_t more);

    // Hands every wanted text that is not empty to take(ticket, SharedText),
    // and gives the texts read for finding them again by offset. Empties the
    // collector. An error only when the file cannot be read; an allocation
    // that fails throws std::bad_alloc.
    template <typename Take>
    [[nodiscard]] Result<LoadedTexts> read(MapFile& file, Take&& take) {
        auto* context = &take;
        return readAll(file, context, [](void* taker, std::size_t ticket, SharedText&& text) {
            (*static_cast<decltype(context)>(taker))(ticket, std::move(text));
        });
    }

private:
    using TakeFunction = void (*)(void* context, std::size_t ticket, SharedText&& text);
    Result<LoadedTexts> readAll(MapFile& file, void* context, TakeFunction take);

    // Each wanted offset inside the 31 bits an offset of this format can
    // have, packed above its ticket so that the list sorts by offset.
    std::vector<std::uint64_t> wanted_;
    std::size_t tickets_ = 0;
};

}  // namespace quorin
