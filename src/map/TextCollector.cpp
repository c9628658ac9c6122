// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/TextCollector.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <span>

namespace quorin {

namespace {

using Range = LoadedTexts::Range;

// Reads while looking for a zero byte are small, since most texts are
// short and the bytes after the last one are not wanted, and grow only while
// one text runs on through a whole read.
constexpr std::int64_t kFirstChunk = 16 * 1024;
constexpr std::int64_t kMostChunk = 1024 * 1024;
// Texts this close together are one range of the store: the bytes between
// them cost less than a range of their own. Texts back to back in a string
// table are one range, names a table entry apart each one of their own.
constexpr std::int64_t kJoinGap = 16;
// Ranges this close together are read with one read, through a window of
// kWindow bytes; the bytes between them cost less than a read of their own.
constexpr std::int64_t kReadGap = 256;
constexpr std::int64_t kWindow = 64 * 1024;

// A wanted offset sits above its ticket: offsets of this format have 31 bits,
// which leaves 33 for tickets, more than two tables of 2^31 entries need.
constexpr unsigned kTicketBits = 33;
constexpr std::uint64_t kTicketMask = (std::uint64_t{1} << kTicketBits) - 1;

std::int64_t OffsetOf(std::uint64_t wanted) { return static_cast<std::int64_t>(wanted >> kTicketBits); }

// Where each text ends: the offset of the first zero byte at or after its
// start, or the size of the file. Asked for ascending starts; a start at or
// before the last end found shares that end, so every byte from there on
// lies after the last end and none is looked at twice.
class EndFinder {
public:
    explicit EndFinder(MapFile& file) : file_(file) {}

    Result<std::int64_t> endOf(std::int64_t start) {
        if (start <= lastEnd_) return lastEnd_;
        if (!window_) window_.reset(new std::uint8_t[static_cast<std::size_t>(std::min(kMostChunk, file_.size()))]);
        std::int64_t at = start;
        for (;;) {
            if (at >= windowEnd_) {
                const bool runsOn = at == windowEnd_ && start < windowStart_;
                chunk_ = runsOn ? std::min(chunk_ * 2, kMostChunk) : kFirstChunk;
                const std::int64_t length = std::min(chunk_, file_.size() - at);
                const std::span<std::uint8_t> bytes(window_.get(), static_cast<std::size_t>(length));
                if (auto read = file_.readInto(at, bytes, "a text"); !read) return read.error();
                windowStart_ = at;
                windowEnd_ = at + length;
            }
            const std::uint8_t* from = window_.get() + (at - windowStart_);
            if (const void* zero = std::memchr(from, 0, static_cast<std::size_t>(windowEnd_ - at))) {
                lastEnd_ = at + (static_cast<const std::uint8_t*>(zero) - from);
                return lastEnd_;
            }
            at = windowEnd_;
            if (at >= file_.size()) {
                lastEnd_ = file_.size();
                return lastEnd_;
            }
        }
    }

private:
    MapFile& file_;
    std::unique_ptr<std::uint8_t[]> window_;
    std::int64_t windowStart_ = 0;
    std::int64_t windowEnd_ = 0;
    std::int64_t chunk_ = kFirstChunk;
    std::int64_t lastEnd_ = -1;
};

// Sorts the wanted list by offset: a radix sort over the offset's bits, in
// linear time. Eleven-bit digits keep the counts small enough to stay in the
// fastest cache, and only the digits up to the largest offset's highest bit
// are sorted on: a map of a few megabytes takes two passes, the largest three.
void SortByOffset(std::vector<std::uint64_t>& wanted) {
    constexpr unsigned kDigitBits = 11;
    constexpr std::size_t kDigits = std::size_t{1} << kDigitBits;
    const std::uint64_t largest = *std::max_element(wanted.begin(), wanted.end()) >> kTicketBits;
    const unsigned end = kTicketBits + static_cast<unsigned>(std::bit_width(largest));
    std::vector<std::uint64_t> other(wanted.size());
    std::array<std::size_t, kDigits + 1> place{};
    for (unsigned shift = kTicketBits; shift < end; shift += kDigitBits) {
        place.fill(0);
        for (const std::uint64_t key : wanted) ++place[((key >> shift) & (kDigits - 1)) + 1];
        for (std::size_t digit = 0; digit < kDigits; ++digit) place[digit + 1] += place[digit];
        for (const std::uint64_t key : wanted) other[place[(key >> shift) & (kDigits - 1)]++] = key;
        wanted.swap(other);
    }
}

// Equal long texts at different places share the view met first, as far as
// a small table of the latest long texts reaches: comparing two of them then
// reads nothing. A text with no twin in the table keeps its own view; that
// only costs a comparison reading its bytes.
class LongTextTwins {
public:
    std::string_view twinOf(std::string_view text, std::uint64_t hash) {
        if (slots_.empty()) slots_.resize(kSlots);
        Slot& slot = slots_[hash & (kSlots - 1)];
        if (slot.hash == hash && slot.text == text) return slot.text;
        slot = {hash, text};
        return text;
    }

private:
    static constexpr std::size_t kSlots = 1024;
    struct Slot {
        std::uint64_t hash = 0;
        std::string_view text;
    };
    std::vector<Slot> slots_;
};

// A text too long for the count a text keeps has a store standing in for it.
TextStore::Handle StandInFor(const TextStore& store, std::string_view view) {
    if (view.size() < SharedText::kSizeInStore) return {};
    return TextStore::standIn(store, view.size());
}

}  // namespace

std::string_view LoadedTexts::at(std::int64_t offset) const {
    if (!held_) return {};
    const std::vector<Range>& ranges = held_->ranges;
    const auto after = std::upper_bound(ranges.begin(), ranges.end(), offset,
                                        [](std::int64_t at, const Range& range) { return at < range.from; });
    if (after == ranges.begin()) return {};
    const Range& range = *std::prev(after);
    if (offset >= range.to) return {};
    // The range runs on at least to the end of every text in it, and each
    // text ends at its first zero byte: either inside the range or at its end.
    const char* from = held_->store->bytes() + range.bufferAt + (offset - range.from);
    const auto most = static_cast<std::size_t>(range.to - offset);
    const void* zero = std::memchr(from, 0, most);
    return {from, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - from) : most};
}

SharedText LoadedTexts::share(std::string_view view) const {
    if (view.empty()) return {};
    const TextStore::Handle standIn = StandInFor(*held_->store.get(), view);
    return SharedText(standIn.get() ? *standIn.get() : *held_->store.get(), view,
                      view.size() > kLongText ? TextHash(view) : SharedText::kHashNotKept);
}

std::size_t TextCollector::want(std::int64_t offset) {
    const std::size_t ticket = tickets_++;
    if (offset >= 0 && offset <= INT32_MAX) wanted_.push_back(static_cast<std::uint64_t>(offset) << kTicketBits | ticket);
    return ticket;
}

void TextCollector::reserve(std::size_t more) { wanted_.reserve(wanted_.size() + more); }

Result<LoadedTexts> TextCollector::readAll(MapFile& file, void* context, TakeFunction take) {
    std::vector<std::uint64_t> wanted = std::move(wanted_);
    wanted_ = {};
    tickets_ = 0;
    const std::int64_t size = file.size();
    std::erase_if(wanted, [size](std::uint64_t key) { return OffsetOf(key) >= size; });
    // Tables are read in file order, so the offsets mostly come sorted already.
    if (!std::is_sorted(wanted.begin(), wanted.end())) SortByOffset(wanted);

    // Disjoint ranges of the file, so the store never holds more than the
    // file (nor, for a table, more than the bytes of its names); an empty
    // text needs no bytes at all.
    auto held = std::make_shared<LoadedTexts::Held>();
    std::vector<Range>& ranges = held->ranges;
    std::int64_t total = 0;
    {
        EndFinder ends(file);
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            const std::int64_t start = OffsetOf(wanted[i]);
            if (i > 0 && OffsetOf(wanted[i - 1]) == start) continue;
            auto end = ends.endOf(start);
            if (!end) return end.error();
            if (*end == start) continue;
            if (!ranges.empty() && start <= ranges.back().to + kJoinGap) {
                total += *end - ranges.back().to;
                ranges.back().to = *end;
            } else {
                ranges.push_back({start, *end, total});
                total += *end - start;
            }
        }
    }
    ranges.shrink_to_fit();
    held->store = TextStore::make(static_cast<std::size_t>(total));
    char* const bytes = held->store.writable()->bytes();
    std::unique_ptr<std::uint8_t[]> window;
    const auto into = [bytes](const Range& range) {
        return std::span(reinterpret_cast<std::uint8_t*>(bytes + range.bufferAt),
                         static_cast<std::size_t>(range.to - range.from));
    };
    for (std::size_t first = 0; first < ranges.size();) {
        std::size_t last = first + 1;
        while (last < ranges.size() && ranges[last].from - ranges[last - 1].to <= kReadGap &&
               ranges[last].to - ranges[first].from <= kWindow) {
            ++last;
        }
        if (last == first + 1) {
            if (auto read = file.readInto(ranges[first].from, into(ranges[first]), "a text"); !read) return read.error();
        } else {
            if (!window) window.reset(new std::uint8_t[kWindow]);
            const std::int64_t from = ranges[first].from;
            const std::span<std::uint8_t> read(window.get(), static_cast<std::size_t>(ranges[last - 1].to - from));
            if (auto done = file.readInto(from, read, "a text"); !done) return done.error();
            for (std::size_t i = first; i < last; ++i) {
                std::copy_n(window.get() + (ranges[i].from - from), into(ranges[i]).size(), into(ranges[i]).data());
            }
        }
        first = last;
    }
    window.reset();
    const TextStore& store = *held->store.get();

    // From the last start back to the first. A text ends at its first zero
    // byte, looked for only up to the next start in its range, past which the
    // next text's end holds for it too: no byte is scanned twice. Texts that
    // end at the same zero byte are hashed together from that end backwards,
    // each long one adding only the bytes before the last one hashed, so no
    // byte is hashed twice and the short texts not at all.
    std::size_t range = ranges.size();
    std::int64_t laterStart = -1;
    std::int64_t laterEnd = -1;
    BackwardTextHash hash;
    std::int64_t groupEnd = -1;
    std::int64_t hashedFrom = -1;
    LongTextTwins twins;
    for (std::size_t next = wanted.size(); next > 0;) {
        const std::int64_t start = OffsetOf(wanted[next - 1]);
        std::size_t first = next - 1;
        while (first > 0 && OffsetOf(wanted[first - 1]) == start) --first;
        while (range > 0 && ranges[range - 1].from > start) {
            --range;
            laterStart = -1;
        }
        if (range > 0 && start < ranges[range - 1].to) {
            const Range& in = ranges[range - 1];
            const char* at = bytes + in.bufferAt + (start - in.from);
            const std::int64_t scanTo = laterStart >= 0 ? laterStart : in.to;
            const void* zero = std::memchr(at, 0, static_cast<std::size_t>(scanTo - start));
            const std::int64_t end = zero ? start + (static_cast<const char*>(zero) - at)
                                          : (laterStart >= 0 ? laterEnd : in.to);
            laterStart = start;
            laterEnd = end;
            std::string_view view(at, static_cast<std::size_t>(end - start));
            std::uint64_t kept = SharedText::kHashNotKept;
            if (view.size() > kLongText) {
                if (end != groupEnd) {
                    hash.reset();
                    groupEnd = end;
                    hashedFrom = end;
                }
                hash.prepend(view.substr(0, static_cast<std::size_t>(hashedFrom - start)));
                hashedFrom = start;
                kept = hash.value();
                view = twins.twinOf(view, kept);
            }
            if (!view.empty()) {
                const TextStore::Handle standIn = StandInFor(store, view);
                const TextStore& holder = standIn.get() ? *standIn.get() : store;
                for (std::size_t i = first; i < next; ++i) take(context, wanted[i] & kTicketMask, SharedText(holder, view, kept));
            }
        }
        next = first;
    }
    LoadedTexts texts;
    texts.held_ = std::move(held);
    return texts;
}

}  // namespace quorin
