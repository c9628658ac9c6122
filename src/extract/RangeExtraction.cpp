// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/RangeExtraction.h"

#include <algorithm>

#include "base/LimitedText.h"
#include "base/TextFormat.h"

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

constexpr auto kLineEndSize = static_cast<std::int64_t>(kLineEnd.size());

}  // namespace

std::int64_t AppendScriptBlock(TextOutput& out, const MapContent& map, const ScriptHeader& script,
                               NodeTextRules rules) {
    AppendScriptHeader(out, script);
    out += ')';
    const std::int64_t walked = AppendScriptBody(out, map, script, rules);
    out += "))";
    out += kLineEnd;
    out += kLineEnd;
    return walked;
}

std::int64_t AppendScriptBlock(TextOutput& out, const ScriptTexts& texts, const ScriptHeader& script) {
    AppendScriptHeader(out, script);
    out += ')';
    const std::int64_t walked = texts.appendBody(out, script);
    out += "))";
    out += kLineEnd;
    out += kLineEnd;
    return walked;
}

void AppendGlobalLine(TextOutput& out, const MapContent& map, const GlobalHeader& global) {
    AppendGlobalDeclaration(out, map, global);
    out += kLineEnd;
}

std::int64_t ScriptBlockSize(const ScriptTexts& texts, const ScriptHeader& script) {
    return ScriptTexts::headerSize(script) + 1 + texts.bodySize(script) + 2 + 2 * kLineEndSize;
}

std::int64_t GlobalLineSize(const ScriptTexts& texts, const GlobalHeader& global) {
    return texts.globalDeclarationSize(global) + kLineEndSize;
}

bool WriteScriptRange(const MapContent& map, std::int64_t first, std::int64_t last, TextSink& sink) {
    const Span span = Existing(first, last, map.ScriptHeaderCache.size());
    if (span.from == span.to) return true;
    const ScriptTexts texts(map, NodeTextRules::RangeExtraction);
    TextOutput out(sink);
    for (std::size_t i = span.from; i < span.to && !out.stopped(); ++i) {
        AppendScriptBlock(out, texts, map.ScriptHeaderCache[i]);
    }
    return out.flush();
}

bool WriteGlobalRange(const MapContent& map, std::int64_t first, std::int64_t last, TextSink& sink) {
    const Span span = Existing(first, last, map.GlobalHeaderCache.size());
    TextOutput out(sink);
    for (std::size_t i = span.from; i < span.to && !out.stopped(); ++i) {
        AppendGlobalLine(out, map, map.GlobalHeaderCache[i]);
    }
    return out.flush();
}

std::int64_t ScriptRangeSize(const MapContent& map, std::int64_t first, std::int64_t last) {
    const Span span = Existing(first, last, map.ScriptHeaderCache.size());
    if (span.from == span.to) return 0;
    const ScriptTexts texts(map, NodeTextRules::RangeExtraction);
    std::int64_t size = 0;
    for (std::size_t i = span.from; i < span.to; ++i) size += ScriptBlockSize(texts, map.ScriptHeaderCache[i]);
    return size;
}

std::int64_t GlobalRangeSize(const MapContent& map, std::int64_t first, std::int64_t last) {
    const Span span = Existing(first, last, map.GlobalHeaderCache.size());
    const ScriptTexts texts(map, NodeTextRules::RangeExtraction);
    std::int64_t size = 0;
    for (std::size_t i = span.from; i < span.to; ++i) size += GlobalLineSize(texts, map.GlobalHeaderCache[i]);
    return size;
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
