// SPDX-License-Identifier: GPL-3.0-or-later
#include "script/Decompiler.h"

#include "map/FileLayout.h"
#include "base/LimitedText.h"
#include "base/TextFormat.h"
#include "map/TypeTables.h"

namespace quorin {

namespace {

using layout::kNoLink;
using layout::kTrue;
using layout::kFalse;
constexpr std::int32_t kGroupOpener = layout::expType::kGroup;
constexpr std::int32_t kCloser = layout::expType::kCommand;  // closes groups after it
constexpr std::int32_t kTextNode = layout::expType::kVariable;
constexpr std::int32_t kPrintedAsText = layout::kTextEngineIdentity;
constexpr std::int32_t kBoolean = layout::valueType::kBoolean;

bool IsNumber(std::int32_t valueType) {
    return valueType == layout::valueType::kReal || valueType == layout::valueType::kShort ||
           valueType == layout::valueType::kLong;
}

bool PrintsText(const Syntax& node, NodeTextRules rules) {
    switch (rules) {
        case NodeTextRules::SelectionDisplay:
            return node.EngineIdentity == kPrintedAsText || node.ExpType == kTextNode;
        case NodeTextRules::ExtractAll:
            return node.EngineIdentity == kPrintedAsText;
        case NodeTextRules::RangeExtraction:
            return false;
    }
    return false;
}

// Pieces no longer than the limit, so a walk ends soon after it.
std::size_t PieceSizeFor(std::size_t most) { return most < TextOutput::kPieceSize ? most + 1 : TextOutput::kPieceSize; }

}  // namespace

void AppendScriptHeader(TextOutput& out, const ScriptHeader& script) {
    out += "(script ";
    out += ScriptTypeName(script.Type);
    out += ' ';
    if (script.Type != 0 && script.Type != 2) {
        out += ValueTypeName(script.ReturnType);
        out += ' ';
    }
    out += script.Name;
}

bool TextIsCommand(const Syntax& node, NodeTextRules rules) {
    if (PrintsText(node, rules)) return true;
    if (node.ExpType == kGroupOpener || IsNumber(node.ValueType)) return false;
    return !(node.ValueType == kBoolean && (node.ScriptValue == kTrue || node.ScriptValue == kFalse));
}

void AppendNodeText(TextOutput& out, const Syntax& node, NodeTextRules rules) {
    if (TextIsCommand(node, rules)) {
        out += ' ';
        out += node.Command;
    } else if (node.ExpType == kGroupOpener) {
        out += '(';
    } else if (IsNumber(node.ValueType)) {
        out += ' ';
        out.appendDecimal(node.ScriptValue);
    } else if (node.ScriptValue == kTrue) {
        out += " true";
    } else {
        out += " false";
    }
}

void AppendCloser(TextOutput& out, const Syntax& node) {
    if (node.ExpType != kCloser) return;
    const bool noKid = node.KidExpPointer == kNoLink;
    const bool noSibling = node.SibExpPointer == kNoLink;
    if (noKid && noSibling) {
        out += "))";
        out += kLineEnd;
    } else if (noSibling) {
        out += ')';
        out += kLineEnd;
    } else if (noKid) {
        out += ')';
    }
}

std::optional<ScriptWalk> WalkOf(const MapContent& map, const ScriptHeader& script) {
    if (map.SyntaxCache.empty()) return std::nullopt;
    ScriptWalk walk;
    walk.root = map.syntaxPositionOr0(script.ExpPointer);
    walk.child = map.syntaxPositionOr0(map.SyntaxCache[walk.root].KidExpPointer);
    // Both ends come from the lookup, so the walk never leaves the cache.
    walk.first = map.syntaxPositionOr0(map.SyntaxCache[walk.child].SibExpPointer);
    return walk;
}

bool ChildHasOwnLine(const Syntax& child) { return child.ExpType == kCloser; }

std::int64_t AppendScriptBody(TextOutput& out, const MapContent& map, const ScriptHeader& script,
                              NodeTextRules rules) {
    const auto walk = WalkOf(map, script);
    if (!walk) return 0;
    const Syntax& child = map.SyntaxCache[walk->child];
    if (ChildHasOwnLine(child)) {
        out += kLineEnd;
        out += '(';
        out += child.Command;
        out += kLineEnd;
    }
    for (std::size_t p = walk->first; p < walk->root && !out.stopped(); ++p) {
        const Syntax& node = map.SyntaxCache[p];
        AppendNodeText(out, node, rules);
        AppendCloser(out, node);
    }
    return static_cast<std::int64_t>(walk->walked());
}

void AppendGlobalDeclaration(TextOutput& out, const MapContent& map, const GlobalHeader& global) {
    out += "(global ";
    out += ValueTypeName(global.Type);
    out += ' ';
    out += global.Name;
    if (!map.SyntaxCache.empty()) {
        const Syntax& value = map.SyntaxCache[map.syntaxPositionOr0(global.ExpPointer)];
        out += ' ';
        if (global.Type == kBoolean) {
            out += value.ScriptValue == kTrue ? "true" : "false";
        } else {
            out.appendDecimal(value.ScriptValue);
        }
    }
    out += ')';
}

void WriteScriptText(TextOutput& out, const MapContent& map, const ScriptHeader& script) {
    AppendScriptHeader(out, script);
    AppendScriptBody(out, map, script, NodeTextRules::SelectionDisplay);
    out += "))";
}

std::string DecompileScript(const MapContent& map, const ScriptHeader& script, std::size_t most) {
    LimitedText text(most);
    TextOutput out(text, PieceSizeFor(most));
    WriteScriptText(out, map, script);
    out.flush();
    return std::move(text.text());
}

std::string DecompileGlobal(const MapContent& map, const GlobalHeader& global, std::size_t most) {
    LimitedText text(most);
    TextOutput out(text, PieceSizeFor(most));
    AppendGlobalDeclaration(out, map, global);
    out.flush();
    return std::move(text.text());
}

}  // namespace quorin
