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

std::int64_t AppendScriptBody(std::string& out, const MapContent& map, const ScriptHeader& script,
                              NodeTextRules rules) {
    if (map.SyntaxCache.empty()) return 0;
    const std::size_t root = map.syntaxPositionOr0(script.ExpPointer);
    const Syntax& child = map.SyntaxCache[map.syntaxPositionOr0(map.SyntaxCache[root].KidExpPointer)];
    if (child.ExpType == kCloser) {
        out += kLineEnd;
        out += '(';
        out += child.Command;
        out += kLineEnd;
    }
    // Both ends come from the lookup, so the walk never leaves the cache.
    const std::size_t first = map.syntaxPositionOr0(child.SibExpPointer);
    for (std::size_t p = first; p < root; ++p) {
        const Syntax& node = map.SyntaxCache[p];
        AppendNodeText(out, node, rules);
        AppendCloser(out, node);
    }
    return first < root ? static_cast<std::int64_t>(root - first) : 0;
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
