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

std::int64_t AppendScriptBlock(std::string& out, const MapContent& map, const ScriptHeader& script,
                               NodeTextRules rules) {
    AppendScriptHeader(out, script);
    out += ')';
    const std::int64_t walked = AppendScriptBody(out, map, script, rules);
    out += "))";
    out += kLineEnd;
    out += kLineEnd;
    return walked;
}

void AppendGlobalLine(std::string& out, const MapContent& map, const GlobalHeader& global) {
    AppendGlobalDeclaration(out, map, global);
    out += kLineEnd;
}

std::string ScriptRangeText(const MapContent& map, std::int64_t first, std::int64_t last) {
    const Span span = Existing(first, last, map.ScriptHeaderCache.size());
    std::string text;
    for (std::size_t i = span.from; i < span.to; ++i) {
        AppendScriptBlock(text, map, map.ScriptHeaderCache[i], NodeTextRules::RangeExtraction);
    }
    return text;
}

std::string GlobalRangeText(const MapContent& map, std::int64_t first, std::int64_t last) {
    const Span span = Existing(first, last, map.GlobalHeaderCache.size());
    std::string text;
    for (std::size_t i = span.from; i < span.to; ++i) AppendGlobalLine(text, map, map.GlobalHeaderCache[i]);
    return text;
}

}  // namespace quorin
