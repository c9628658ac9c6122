#include "script/Decompiler.h"

#include "map/TextFormat.h"
#include "map/TypeTables.h"

namespace quorin {

namespace {

constexpr std::int32_t kNoLink = -1;
constexpr std::int32_t kGroupOpener = 8;
constexpr std::int32_t kCloser = 9;
constexpr std::int32_t kTextNode = 13;
constexpr std::int32_t kPrintedAsText = -1;  // engine identity
constexpr std::int32_t kBoolean = 5;
constexpr std::int32_t kTrue = -255;   // 0xFF01
constexpr std::int32_t kFalse = -256;  // 0xFF00

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
    } else if (node.ValueType == 6 || node.ValueType == 7 || node.ValueType == 8) {
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

std::int64_t AppendScriptBody(std::string& out, SyntaxView syntax, const ScriptHeader& script,
                              NodeTextRules rules) {
    if (syntax.SyntaxCache.empty()) return 0;
    const std::size_t root = syntax.positionOf(script.ExpPointer);
    const Syntax& child = syntax.SyntaxCache[syntax.positionOf(syntax.SyntaxCache[root].KidExpPointer)];
    if (child.ExpType == kCloser) {
        out += kLineEnd;
        out += '(';
        out += child.Command;
        out += kLineEnd;
    }
    // Both ends come from positionOf, so the walk never leaves the cache.
    const std::size_t first = syntax.positionOf(child.SibExpPointer);
    for (std::size_t p = first; p < root; ++p) {
        const Syntax& node = syntax.SyntaxCache[p];
        AppendNodeText(out, node, rules);
        AppendCloser(out, node);
    }
    return first < root ? static_cast<std::int64_t>(root - first) : 0;
}

void AppendGlobalDeclaration(std::string& out, SyntaxView syntax, const GlobalHeader& global) {
    out += "(global ";
    out += ValueTypeName(global.Type);
    out += ' ';
    out += global.Name;
    if (const Syntax* value = syntax.nodeOf(global.ExpPointer)) {
        out += ' ';
        if (global.Type == kBoolean) {
            out += value->ScriptValue == kTrue ? "true" : "false";
        } else {
            AppendDecimal(out, value->ScriptValue);
        }
    }
    out += ')';
}

std::string DecompileScript(SyntaxView syntax, const ScriptHeader& script) {
    std::string text;
    AppendScriptHeader(text, script);
    AppendScriptBody(text, syntax, script, NodeTextRules::SelectionDisplay);
    text += "))";
    return text;
}

std::string DecompileScript(const MapState& map, const ScriptHeader& script) {
    return DecompileScript(SyntaxView::of(map), script);
}

std::string DecompileGlobal(SyntaxView syntax, const GlobalHeader& global) {
    std::string text;
    AppendGlobalDeclaration(text, syntax, global);
    return text;
}

std::string DecompileGlobal(const MapState& map, const GlobalHeader& global) {
    return DecompileGlobal(SyntaxView::of(map), global);
}

}  // namespace quorin
