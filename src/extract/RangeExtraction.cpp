#include "extract/RangeExtraction.h"

#include <algorithm>

#include "map/TextFormat.h"

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

}  // namespace

std::int64_t AppendScriptBlock(std::string& out, SyntaxView syntax, const ScriptHeader& script,
                               NodeTextRules rules) {
    AppendScriptHeader(out, script);
    out += ')';
    const std::int64_t walked = AppendScriptBody(out, syntax, script, rules);
    out += "))";
    out += kLineEnd;
    out += kLineEnd;
    return walked;
}

void AppendGlobalLine(std::string& out, SyntaxView syntax, const GlobalHeader& global) {
    AppendGlobalDeclaration(out, syntax, global);
    out += kLineEnd;
}

std::string ScriptRangeText(const MapState& map, std::int64_t first, std::int64_t last) {
    const Span span = Existing(first, last, map.ScriptHeaderCache.size());
    const SyntaxView syntax = SyntaxView::of(map);
    std::string text;
    for (std::size_t i = span.from; i < span.to; ++i) {
        AppendScriptBlock(text, syntax, map.ScriptHeaderCache[i], NodeTextRules::RangeExtraction);
    }
    return text;
}

std::string GlobalRangeText(const MapState& map, std::int64_t first, std::int64_t last) {
    const Span span = Existing(first, last, map.GlobalHeaderCache.size());
    const SyntaxView syntax = SyntaxView::of(map);
    std::string text;
    for (std::size_t i = span.from; i < span.to; ++i) AppendGlobalLine(text, syntax, map.GlobalHeaderCache[i]);
    return text;
}

}  // namespace quorin
