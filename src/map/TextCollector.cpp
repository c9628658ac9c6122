// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/TextCollector.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <span>
#include <unordered_map>

namespace quorin {

namespace {

// Reads while looking for a zero byte are small, since most texts are
// short and the bytes after the last one are not wanted, and grow only while
// one text runs on through a whole read.
constexpr std::int64_t kFirstChunk = 16 * 1024;
constexpr std::int64_t kMostChunk = 1024 * 1024;
// Texts this close together are read as one range; the bytes between them
// cost less than a read of their own.
constexpr std::int64_t kJoinGap = 256;

// Where each text ends: the offset of the first zero byte at or after its
// start, or the size of the file. Starts are sorted and distinct; the ends
// follow them, so a start at or before the last end found shares that end.
Result<std::vector<std::int64_t>> FindEnds(MapFile& file, const std::vector<std::int64_t>& starts) {
    const std::int64_t size = file.size();
    std::vector<std::int64_t> ends(starts.size());
    const std::unique_ptr<std::uint8_t[]> window(new std::uint8_t[kMostChunk]);
    std::int64_t windowStart = 0;
    std::int64_t windowEnd = 0;
    std::int64_t chunk = kFirstChunk;
    std::int64_t lastEnd = -1;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (starts[i] <= lastEnd) {
            ends[i] = lastEnd;
            continue;
        }
        // Every byte from here on lies after the last end, so none is looked
        // at twice.
        std::int64_t at = starts[i];
        for (;;) {
            if (at >= windowEnd) {
                const bool runsOn = at == windowEnd && starts[i] < windowStart;
                chunk = runsOn ? std::min(chunk * 2, kMostChunk) : kFirstChunk;
                const std::int64_t length = std::min(chunk, size - at);
                const std::span<std::uint8_t> bytes(window.get(), static_cast<std::size_t>(length));
                if (auto read = file.readInto(at, bytes, "a text"); !read) return read.error();
                windowStart = at;
                windowEnd = at + length;
            }
            const std::uint8_t* from = window.get() + (at - windowStart);
            if (const void* zero = std::memchr(from, 0, static_cast<std::size_t>(windowEnd - at))) {
                lastEnd = at + (static_cast<const std::uint8_t*>(zero) - from);
                break;
            }
            at = windowEnd;
            if (at >= size) {
                lastEnd = size;
                break;
            }
        }
        ends[i] = lastEnd;
    }
    return ends;
}

// Sorts offsets packed above their tickets by offset: a radix sort over the
// offset's bits, in linear time. Eleven-bit digits keep the counts small
// enough to stay in the fastest cache, and only the digits up to the largest
// offset's highest bit are sorted on: a map of a few megabytes takes two
// passes, the largest three.
void SortByOffset(std::vector<std::uint64_t>& packed) {
    constexpr unsigned kDigitBits = 11;
    constexpr std::size_t kDigits = std::size_t{1} << kDigitBits;
    const std::uint64_t largest = *std::max_element(packed.begin(), packed.end()) >> 32;
    const unsigned end = 32 + static_cast<unsigned>(std::bit_width(largest));
    std::vector<std::uint64_t> other(packed.size());
    std::array<std::size_t, kDigits + 1> place{};
    for (unsigned shift = 32; shift < end; shift += kDigitBits) {
        place.fill(0);
        for (const std::uint64_t key : packed) ++place[((key >> shift) & (kDigits - 1)) + 1];
        for (std::size_t digit = 0; digit < kDigits; ++digit) place[digit + 1] += place[digit];
        for (const std::uint64_t key : packed) other[place[(key >> shift) & (kDigits - 1)]++] = key;
        packed.swap(other);
    }
}

// A range of the file copied into the buffer at bufferAt.
struct Range {
    std::int64_t from = 0;
    std::int64_t to = 0;
    std::int64_t bufferAt = 0;
};

}  // namespace

std::size_t TextCollector::want(std::int64_t offset) {
    offsets_.push_back(offset);
    return offsets_.size() - 1;
}

Status TextCollector::read(MapFile& file, const std::function<void(std::size_t, SharedText)>& take) const {
    // The wanted offsets inside the file, ascending and distinct; ticketAt
    // gives each ticket's place among them. Tables are read in file order,
    // so the offsets mostly come sorted already.
    // Offsets are 32-bit in this format, so an offset and its ticket pack
    // into one number that sorts by offset.
    std::vector<std::uint64_t> order;
    order.reserve(offsets_.size());
    for (std::size_t ticket = 0; ticket < offsets_.size(); ++ticket) {
        const std::int64_t offset = offsets_[ticket];
        if (offset >= 0 && offset < file.size() && offset <= INT32_MAX) {
            order.push_back(static_cast<std::uint64_t>(offset) << 32 | ticket);
        }
    }
    if (!std::is_sorted(order.begin(), order.end())) SortByOffset(order);
    constexpr auto kOutside = static_cast<std::uint32_t>(-1);
    std::vector<std::uint32_t> ticketAt(offsets_.size(), kOutside);
    std::vector<std::int64_t> starts;
    starts.reserve(order.size());
    for (const std::uint64_t packed : order) {
        const auto offset = static_cast<std::int64_t>(packed >> 32);
        if (starts.empty() || starts.back() != offset) starts.push_back(offset);
        ticketAt[packed & 0xFFFFFFFFu] = static_cast<std::uint32_t>(starts.size() - 1);
    }

    auto found = FindEnds(file, starts);
    if (!found) return found.error();
    std::vector<std::int64_t>& ends = *found;

    // Disjoint ranges of the file, so the buffer never holds more than the
    // file. Once a text's range is known the two vectors change meaning in
    // place, which saves a third: at[i] is where text i begins in the buffer
    // and length[i] how many bytes it has.
    std::vector<Range> ranges;
    std::int64_t total = 0;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (!ranges.empty() && starts[i] <= ranges.back().to + kJoinGap) {
            total += ends[i] - ranges.back().to;
            ranges.back().to = ends[i];
        } else {
            ranges.push_back({starts[i], ends[i], total});
            total += ends[i] - starts[i];
        }
        ends[i] -= starts[i];
        starts[i] = ranges.back().bufferAt + (starts[i] - ranges.back().from);
    }
    std::vector<std::int64_t>& at = starts;
    const std::vector<std::int64_t>& length = ends;

    const std::shared_ptr<char[]> buffer(new char[static_cast<std::size_t>(std::max<std::int64_t>(total, 1))]);
    for (const Range& range : ranges) {
        auto* into = reinterpret_cast<std::uint8_t*>(buffer.get() + range.bufferAt);
        const std::span<std::uint8_t> bytes(into, static_cast<std::size_t>(range.to - range.from));
        if (auto read = file.readInto(range.from, bytes, "a text"); !read) return read;
    }
    const auto view = [&](std::size_t i) {
        return std::string_view(buffer.get() + at[i], static_cast<std::size_t>(length[i]));
    };

    // Texts that end at the same zero byte are hashed together from that end
    // backwards, each start adding only the bytes before the last one, so no
    // byte is hashed twice and the bytes between texts not at all. Only long
    // texts keep a hash; a group of short ones is not hashed here at all.
    // Texts that end at the same place in the buffer end at the same zero
    // byte, or hold no byte at all; either way the bytes before that place
    // are each one's own.
    std::vector<std::uint64_t> hashes(at.size(), SharedText::kHashNotKept);
    for (std::size_t next = at.size(); next > 0;) {
        const std::int64_t end = at[next - 1] + length[next - 1];
        std::size_t groupFrom = next - 1;
        while (groupFrom > 0 && at[groupFrom - 1] + length[groupFrom - 1] == end) --groupFrom;
        const bool hashed = length[groupFrom] > static_cast<std::int64_t>(kLongText);
        BackwardTextHash hash;
        std::int64_t hashedFrom = end;
        while (next > groupFrom) {
            --next;
            if (!hashed) continue;
            hash.prepend(view(next).substr(0, static_cast<std::size_t>(hashedFrom - at[next])));
            hashedFrom = at[next];
            if (static_cast<std::size_t>(length[next]) > kLongText) hashes[next] = hash.value();
        }
    }

    // Equal long texts share the first view met, so comparing them reads
    // nothing: texts of equal bytes that start at different places never
    // overlap, so checking them reads each byte once. Short texts compare
    // quickly as they are.
    std::unordered_map<std::uint64_t, std::size_t> firstWithHash;
    for (std::size_t i = 0; i < at.size(); ++i) {
        if (static_cast<std::size_t>(length[i]) <= kLongText) continue;
        const auto [known, added] = firstWithHash.try_emplace(hashes[i], i);
        if (!added && view(known->second) == view(i)) at[i] = at[known->second];
    }

    for (std::size_t ticket = 0; ticket < ticketAt.size(); ++ticket) {
        const std::uint32_t i = ticketAt[ticket];
        if (i == kOutside || length[i] == 0) take(ticket, SharedText());
        else take(ticket, SharedText(buffer, view(i), hashes[i]));
    }
    return success();
}

}  // namespace quorin
