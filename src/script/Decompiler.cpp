#include "script/Decompiler.h"

#include "map/FileLayout.h"
#include "map/TextFormat.h"
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

}  // namespace

void AppendScriptHeader(std::string& out, const ScriptHeader& script) {
    out += "(script ";
    out += ScriptTypeName(script.Type);
    out += ' ';
    if (script.Type != 0 && script.Type != 2) {
        out += ValueTypeName(script.ReturnType);
        out += ' ';
    }
    out += script.Name;
}

void AppendNodeText(std::string& out, const Syntax& node, NodeTextRules rules) {
    if (PrintsText(node, rules)) {
        out += ' ';
        out += node.Command;
    } else if (node.ExpType == kGroupOpener) {
        out += '(';
    } else if (IsNumber(node.ValueType)) {
        out += ' ';
        AppendDecimal(out, node.ScriptValue);
    } else if (node.ValueType == kBoolean && node.ScriptValue == kTrue) {
        out += " true";
    } else if (node.ValueType == kBoolean && node.ScriptValue == kFalse) {
        out += " false";
    } else {
        out += ' ';
        out += node.Command;
    }
}

void AppendCloser(std::string& out, const Syntax& node) {
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

std::int64_t AppendScriptBody(std::string& out, const MapContent& map, const ScriptHeader& script,
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
    for (std::size_t p = walk->first; p < walk->root; ++p) {
        const Syntax& node = map.SyntaxCache[p];
        AppendNodeText(out, node, rules);
        AppendCloser(out, node);
    }
    return static_cast<std::int64_t>(walk->walked());
}

void AppendGlobalDeclaration(std::string& out, const MapContent& map, const GlobalHeader& global) {
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
            AppendDecimal(out, value.ScriptValue);
        }
    }
    out += ')';
}

std::string DecompileScript(const MapContent& map, const ScriptHeader& script) {
    std::string text;
    AppendScriptHeader(text, script);
    AppendScriptBody(text, map, script, NodeTextRules::SelectionDisplay);
    text += "))";
    return text;
}

std::string DecompileGlobal(const MapContent& map, const GlobalHeader& global) {
    std::string text;
    AppendGlobalDeclaration(text, map, global);
    return text;
}

}  // namespace quorin
