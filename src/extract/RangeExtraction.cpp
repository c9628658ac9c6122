// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/RangeExtraction.h"

#include <algorithm>

#include "base/LimitedText.h"
#include "script/TextProducer.h"

namespace quorin {

namespace {

// The positions of first..last that the cache holds, as [from, to).
struct Span {
    std::size_t from = 0;
    std::size_t to = 0;
};

Span Existing(std::int64_t first, std::int64_t last, std::size_t size) {
    if (first < 0 || last < first || static_cast<std::uint64_t>(first) >= size) return {};
    const auto end = std::min<std::uint64_t>(static_cast<std::uint64_t>(last) + 1, size);
    return {static_cast<std::size_t>(first), static_cast<std::size_t>(end)};
}

// Text is a TextOutput to make the text or a TextCount to size it.
template <typename Text>
void ScriptBlocks(Text& out, const MapContent& map, Span span) {
    if (span.from == span.to) return;
    const TextProducer producer(map, NodeTextRules::RangeExtraction, TextProducer::Walks::RenderedOnce);
    for (std::size_t i = span.from; i < span.to && !out.stopped(); ++i) producer.script(out, map.ScriptHeaderCache[i]);
}

template <typename Text>
void GlobalLines(Text& out, const MapContent& map, Span span) {
    const TextProducer producer(map, NodeTextRules::RangeExtraction);
    for (std::size_t i = span.from; i < span.to && !out.stopped(); ++i) producer.global(out, map.GlobalHeaderCache[i]);
}

}  // namespace

bool WriteScriptRange(const MapContent& map, std::int64_t first, std::int64_t last, TextSink& sink) {
    TextOutput out(sink);
    ScriptBlocks(out, map, Existing(first, last, map.ScriptHeaderCache.size()));
    return out.flush();
}

bool WriteGlobalRange(const MapContent& map, std::int64_t first, std::int64_t last, TextSink& sink) {
    TextOutput out(sink);
    GlobalLines(out, map, Existing(first, last, map.GlobalHeaderCache.size()));
    return out.flush();
}

std::int64_t ScriptRangeSize(const MapContent& map, std::int64_t first, std::int64_t last) {
    TextCount count;
    ScriptBlocks(count, map, Existing(first, last, map.ScriptHeaderCache.size()));
    return static_cast<std::int64_t>(count.appended());
}

std::int64_t GlobalRangeSize(const MapContent& map, std::int64_t first, std::int64_t last) {
    TextCount count;
    GlobalLines(count, map, Existing(first, last, map.GlobalHeaderCache.size()));
    return static_cast<std::int64_t>(count.appended());
}

std::string ScriptRangeText(const MapContent& map, std::int64_t first, std::int64_t last) {
    LimitedText text;
    (void)WriteScriptRange(map, first, last, text);
    return std::move(text.text());
}

std::string GlobalRangeText(const MapContent& map, std::int64_t first, std::int64_t last) {
    LimitedText text;
    (void)WriteGlobalRange(map, first, last, text);
    return std::move(text.text());
}

}  // namespace quorin
