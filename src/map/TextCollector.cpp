#include "map/TextCollector.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <unordered_map>

namespace quorin {

namespace {

// Reads while looking for a zero byte start small, since most texts are
// short, and grow while a text runs on.
constexpr std::int64_t kFirstChunk = 4 * 1024;
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
                chunk = at == windowEnd ? std::min(chunk * 2, kMostChunk) : kFirstChunk;
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

Result<std::vector<SharedText>> TextCollector::read(MapFile& file) const {
    std::vector<std::int64_t> starts;
    starts.reserve(offsets_.size());
    for (const std::int64_t offset : offsets_) {
        if (offset >= 0 && offset < file.size()) starts.push_back(offset);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

    auto found = FindEnds(file, starts);
    if (!found) return found.error();
    const std::vector<std::int64_t>& ends = *found;

    // Disjoint ranges of the file, so the buffer never holds more than the file.
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
    }
    const std::shared_ptr<char[]> buffer(new char[static_cast<std::size_t>(std::max<std::int64_t>(total, 1))]);
    for (const Range& range : ranges) {
        auto* at = reinterpret_cast<std::uint8_t*>(buffer.get() + range.bufferAt);
        const std::span<std::uint8_t> bytes(at, static_cast<std::size_t>(range.to - range.from));
        if (auto read = file.readInto(range.from, bytes, "a text"); !read) return read.error();
    }

    // Hashes from the end of each range backwards: a zero byte ends the texts
    // before it, so each text's hash covers its own bytes only.
    std::vector<std::string_view> views(starts.size());
    std::vector<std::uint64_t> hashes(starts.size());
    std::size_t next = starts.size();  // the starts are visited from the last
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        // A text that starts where its range ends starts on a zero byte: empty.
        while (next > 0 && starts[next - 1] >= range->to) hashes[--next] = TextHash({});
        BackwardTextHash hash;
        const char* first = buffer.get() + range->bufferAt;  // the byte at range->from
        for (std::int64_t at = range->to - 1; at >= range->from && next > 0; --at) {
            const auto byte = static_cast<unsigned char>(first[at - range->from]);
            if (byte == 0) hash.reset();
            else hash.prepend(byte);
            while (next > 0 && starts[next - 1] == at) {
                --next;
                views[next] = std::string_view(first + (at - range->from), static_cast<std::size_t>(ends[next] - at));
                hashes[next] = hash.value();
            }
        }
    }

    // Equal texts share the first view met: texts of equal bytes that start at
    // different places never overlap, so checking them reads each byte once.
    std::unordered_map<std::uint64_t, std::string_view> firstWithHash;
    firstWithHash.reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (views[i].empty()) continue;
        const auto [known, added] = firstWithHash.try_emplace(hashes[i], views[i]);
        if (!added && known->second == views[i]) views[i] = known->second;
    }

    std::vector<SharedText> texts;
    texts.reserve(offsets_.size());
    for (const std::int64_t offset : offsets_) {
        const auto at = std::lower_bound(starts.begin(), starts.end(), offset);
        if (at == starts.end() || *at != offset) {
            texts.emplace_back();
            continue;
        }
        const auto i = static_cast<std::size_t>(at - starts.begin());
        if (views[i].empty()) texts.emplace_back();
        else texts.emplace_back(buffer, views[i], hashes[i]);
    }
    return texts;
}

}  // namespace quorin
