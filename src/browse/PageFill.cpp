// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/PageFill.h"

#include "base/TextFormat.h"
#include "script/Decompiler.h"

namespace quorin {

namespace {

PageFill ScriptPage(const MapContent& map, std::size_t position, std::size_t textLimit) {
    const ScriptHeader& script = map.ScriptHeaderCache[position];
    PageFill fill{EditorPage::Script, {RecordKind::Script, position}, {}, {}};
    fill.fields = {
        {EditField::ScriptName, script.Name.str()},
        {EditField::ScriptType, {}, script.Type},
        {EditField::ScriptReturn, {}, script.ReturnType},
        {EditField::ScriptExpPointer, Decimal(script.ExpPointer)},
    };
    PartedText text = ScriptTextParts(map, position, textLimit);
    fill.text = text.text();
    fill.parts = text.parts();
    return fill;
}

PageFill GlobalPage(const MapContent& map, std::size_t position, std::size_t textLimit) {
    const GlobalHeader& global = map.GlobalHeaderCache[position];
    PageFill fill{EditorPage::Global, {RecordKind::Global, position}, {}, {}};
    fill.fields = {
        {EditField::GlobalName, global.Name.str()},
        {EditField::GlobalType, {}, global.Type},
        {EditField::GlobalExpPointer, Decimal(global.ExpPointer)},
    };
    PartedText text = GlobalTextParts(map, position, textLimit);
    fill.text = text.text();
    fill.parts = text.parts();
    return fill;
}

PageFill SyntaxPage(const MapContent& map, std::size_t position, std::size_t textLimit) {
    const Syntax& node = map.SyntaxCache[position];
    PageFill fill{EditorPage::Syntax, {RecordKind::Syntax, position}, {}, {}};
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
    fill.text = node.Command.view().substr(0, textLimit);
    return fill;
}

}  // namespace

PageFill PageFor(const MapContent& map, const SelectedRecord& record, std::size_t textLimit) {
    switch (record.kind) {
    case RecordKind::Script: return ScriptPage(map, record.position, textLimit);
    case RecordKind::Global: return GlobalPage(map, record.position, textLimit);
    case RecordKind::Syntax: break;
    }
    return SyntaxPage(map, record.position, textLimit);
}

std::optional<PageFill> PageForRow(const MapContent& map, const RowKey& row, std::size_t textLimit) {
    const auto record = RecordForRow(map, row);
    if (!record) return std::nullopt;
    return PageFor(map, *record, textLimit);
}

}  // namespace quorin
