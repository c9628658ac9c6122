// SPDX-License-Identifier: GPL-3.0-or-later
#include "script/ScriptTexts.h"

#include <algorithm>

#include "map/FileLayout.h"
#include "base/LimitedText.h"
#include "base/TextFormat.h"
#include "map/TypeTables.h"

namespace quorin {

namespace {

// Command texts up to this long are copied into the rendered buffer, so it
// stays within a small multiple of the node count.
constexpr std::size_t kLongestCopiedText = 64;

std::int64_t Size(std::string_view text) { return static_cast<std::int64_t>(text.size()); }

}  // namespace

ScriptTexts::ScriptTexts(const MapContent& map, NodeTextRules rules) : map_(map) {
    const std::size_t count = map.SyntaxCache.size();
    renderedAt_.reserve(count + 1);
    walkedBefore_.reserve(count + 1);
    LimitedText rendered;
    TextOutput out(rendered);
    std::int64_t walked = 0;
    for (std::size_t p = 0; p < count; ++p) {
        const Syntax& node = map.SyntaxCache[p];
        const std::uint64_t from = out.appended();
        renderedAt_.push_back(static_cast<std::size_t>(from));
        walkedBefore_.push_back(walked);
        if (TextIsCommand(node, rules) && node.Command.size() > kLongestCopiedText) {
            longTexts_.push_back(p);
            out += ' ';
            walked += Size(node.Command);
        } else {
            AppendNodeText(out, node, rules);
        }
        AppendCloser(out, node);
        walked += static_cast<std::int64_t>(out.appended() - from);
    }
    renderedAt_.push_back(static_cast<std::size_t>(out.appended()));
    walkedBefore_.push_back(walked);
    out.flush();
    rendered_ = std::move(rendered.text());
}

void ScriptTexts::appendWalk(TextOutput& out, std::size_t first, std::size_t root) const {
    const std::string_view rendered = rendered_;
    auto nextLong = std::lower_bound(longTexts_.begin(), longTexts_.end(), first);
    std::size_t p = first;
    while (p < root && !out.stopped()) {
        const std::size_t stop = nextLong != longTexts_.end() && *nextLong < root ? *nextLong : root;
        out += rendered.substr(renderedAt_[p], renderedAt_[stop] - renderedAt_[p]);
        if (stop == root) break;
        // The space, the long text from the map's buffer, then the closer.
        out += rendered.substr(renderedAt_[stop], 1);
        out += map_.SyntaxCache[stop].Command;
        out += rendered.substr(renderedAt_[stop] + 1, renderedAt_[stop + 1] - renderedAt_[stop] - 1);
        p = stop + 1;
        ++nextLong;
    }
}

std::int64_t ScriptTexts::appendBody(TextOutput& out, const ScriptHeader& script) const {
    const auto walk = WalkOf(map_, script);
    if (!walk) return 0;
    const Syntax& child = map_.SyntaxCache[walk->child];
    if (ChildHasOwnLine(child)) {
        out += kLineEnd;
        out += '(';
        out += child.Command;
        out += kLineEnd;
    }
    if (walk->walked() == 0) return 0;
    appendWalk(out, walk->first, walk->root);
    return static_cast<std::int64_t>(walk->walked());
}

std::int64_t ScriptTexts::headerSize(const ScriptHeader& script) {
    std::int64_t size = Size("(script ") + Size(ScriptTypeName(script.Type)) + 1;
    if (script.Type != 0 && script.Type != 2) size += Size(ValueTypeName(script.ReturnType)) + 1;
    return size + Size(script.Name);
}

std::int64_t ScriptTexts::bodySize(const ScriptHeader& script) const {
    const auto walk = WalkOf(map_, script);
    if (!walk) return 0;
    std::int64_t size = 0;
    const Syntax& child = map_.SyntaxCache[walk->child];
    if (ChildHasOwnLine(child)) size += 2 * Size(kLineEnd) + 1 + Size(child.Command);
    if (walk->walked() != 0) size += walkedBefore_[walk->root] - walkedBefore_[walk->first];
    return size;
}

std::int64_t ScriptTexts::globalDeclarationSize(const GlobalHeader& global) const {
    std::int64_t size = Size("(global ") + Size(ValueTypeName(global.Type)) + 1 + Size(global.Name);
    if (!map_.SyntaxCache.empty()) {
        const Syntax& value = map_.SyntaxCache[map_.syntaxPositionOr0(global.ExpPointer)];
        if (global.Type == layout::valueType::kBoolean) size += value.ScriptValue == layout::kTrue ? Size(" true") : Size(" false");
        else size += 1 + static_cast<std::int64_t>(DecimalSize(value.ScriptValue));
    }
    return size + 1;
}

}  // namespace quorin
