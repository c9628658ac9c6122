// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/HitLines.h"

#include <ostream>

#include "base/TextFormat.h"

namespace quorin {

std::string_view HitKindLetter(HitKind kind) {
    switch (kind) {
    case HitKind::Script: return "s";
    case HitKind::Global: return "g";
    case HitKind::Use: return "u";
    }
    return "?";
}

void AppendHitLine(std::string& out, const SearchHit& hit) {
    out += HitKindLetter(hit.kind);
    out += '\t';
    AppendEscapedField(out, hit.name);
    if (hit.kind == HitKind::Use) {
        out += '\t';
        AppendDecimal(out, hit.identity);
        out += '\t';
        AppendEscapedField(out, hit.text);
    }
    out += '\n';
}

void WriteHitLines(std::ostream& out, std::span<const SearchHit> hits) {
    // Written in blocks: one write per hit would dominate a long list.
    std::string block;
    for (const SearchHit& hit : hits) {
        AppendHitLine(block, hit);
        if (block.size() >= 64 * 1024) {
            out << block;
            block.clear();
        }
    }
    out << block;
}

}  // namespace quorin
