#include "ui/main/PageFill.h"

#include "map/TextFormat.h"
#include "script/Decompiler.h"
#include "ui/main/RowText.h"

namespace quorin::ui {

namespace {

// The dictionary's position, or 0 when the key is absent or names a
// position the cache does not have.
std::size_t PositionOr0(std::optional<std::int32_t> found, std::size_t cacheSize) {
    if (!found || *found < 0 || static_cast<std::size_t>(*found) >= cacheSize) return 0;
    return static_cast<std::size_t>(*found);
}

PageFill ScriptPage(const MapState& map, std::size_t position) {
    const ScriptHeader& script = map.ScriptHeaderCache[position];
    PageFill fill{EditorPage::Script, position, {}, {}};
    fill.fields = {
        {EditField::ScriptName, script.Name},
        {EditField::ScriptType, {}, script.Type},
        {EditField::ScriptReturn, {}, script.ReturnType},
        {EditField::ScriptExpPointer, Decimal(script.ExpPointer)},
    };
    fill.text = DecompileScript(map, script);
    return fill;
}

PageFill GlobalPage(const MapState& map, std::size_t position) {
    const GlobalHeader& global = map.GlobalHeaderCache[position];
    PageFill fill{EditorPage::Global, position, {}, {}};
    fill.fields = {
        {EditField::GlobalName, global.Name},
        {EditField::GlobalType, {}, global.Type},
        {EditField::GlobalExpPointer, Decimal(global.ExpPointer)},
    };
    fill.text = DecompileGlobal(map, global);
    return fill;
}

PageFill SyntaxPage(const MapState& map, std::size_t position) {
    const Syntax& node = map.SyntaxCache[position];
    PageFill fill{EditorPage::Syntax, position, {}, {}};
    fill.fields = {
        {EditField::SyntaxExpIdent, Decimal(node.ExpIdentity)},
        {EditField::SyntaxEngineIdent, Decimal(node.EngineIdentity)},
        {EditField::SyntaxType, {}, node.ValueType},
        {EditField::SyntaxExpType, Decimal(node.ExpType)},
        {EditField::SyntaxSibExp, Decimal(node.SibExpPointer)},
        {EditField::SyntaxScriptTableOffset, Hexadecimal(node.ScriptTableOffset)},
        {EditField::SyntaxScriptValue, Decimal(node.ScriptValue)},
        {EditField::SyntaxKidExp, Decimal(node.KidExpPointer)},
    };
    fill.text = node.Command;
    return fill;
}

}  // namespace

std::optional<PageFill> PageForRow(const MapState& map, std::string_view rowText) {
    const RowText row = ClassifyRow(rowText);
    switch (row.kind) {
    case RowKind::ScriptsFolder:
    case RowKind::GlobalsFolder:
        return std::nullopt;
    case RowKind::Script:
        if (map.ScriptHeaderCache.empty()) return std::nullopt;
        return ScriptPage(map, PositionOr0(map.scriptPosition(row.name), map.ScriptHeaderCache.size()));
    case RowKind::Global:
        if (map.GlobalHeaderCache.empty()) return std::nullopt;
        return GlobalPage(map, PositionOr0(map.globalPosition(row.name), map.GlobalHeaderCache.size()));
    case RowKind::Other: {
        if (map.SyntaxCache.empty()) return std::nullopt;
        // The row text is the identity's decimal text; anything else is not a
        // key and falls back to position 0.
        const auto identity = IdentityFromKey(rowText);
        const auto found = identity ? map.syntaxPosition(*identity) : std::nullopt;
        return SyntaxPage(map, PositionOr0(found, map.SyntaxCache.size()));
    }
    }
    return std::nullopt;
}

}  // namespace quorin::ui
