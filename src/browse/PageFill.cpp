// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/PageFill.h"

#include "base/TextFormat.h"
#include "script/Decompiler.h"

namespace quorin {

namespace {

std::vector<FieldValue> ScriptFields(const ScriptHeader& script) {
    return {
        {EditField::ScriptName, script.Name.str()},
        {EditField::ScriptType, {}, script.Type},
        {EditField::ScriptReturn, {}, script.ReturnType},
        {EditField::ScriptExpPointer, Decimal(script.ExpPointer)},
    };
}

std::vector<FieldValue> GlobalFields(const GlobalHeader& global) {
    return {
        {EditField::GlobalName, global.Name.str()},
        {EditField::GlobalType, {}, global.Type},
        {EditField::GlobalExpPointer, Decimal(global.ExpPointer)},
    };
}

std::vector<FieldValue> SyntaxFields(const Syntax& node) {
    return {
        {EditField::SyntaxExpIdent, Decimal(node.ExpIdentity)},
        {EditField::SyntaxEngineIdent, Decimal(node.EngineIdentity)},
        {EditField::SyntaxType, {}, node.ValueType},
        {EditField::SyntaxExpType, Decimal(node.ExpType)},
        {EditField::SyntaxSibExp, Decimal(node.SibExpPointer)},
        {EditField::SyntaxScriptTableOffset, Hexadecimal(node.ScriptTableOffset)},
        {EditField::SyntaxScriptValue, Decimal(node.ScriptValue)},
        {EditField::SyntaxKidExp, Decimal(node.KidExpPointer)},
    };
}

// A script's or global's page: its fields and its text with the parts.
PageFill TextPage(EditorPage page, const SelectedRecord& record, std::vector<FieldValue> fields, PartedText text) {
    PageFill fill{page, record, std::move(fields), {}};
    fill.text = text.text();
    fill.parts = text.parts();
    return fill;
}

}  // namespace

std::vector<FieldValue> PageFields(const MapContent& map, const SelectedRecord& record) {
    switch (record.kind) {
    case RecordKind::Script: return ScriptFields(map.ScriptHeaderCache[record.position]);
    case RecordKind::Global: return GlobalFields(map.GlobalHeaderCache[record.position]);
    case RecordKind::Syntax: break;
    }
    return SyntaxFields(map.SyntaxCache[record.position]);
}

PageFill PageFor(const MapContent& map, const SelectedRecord& record, std::size_t textLimit) {
    std::vector<FieldValue> fields = PageFields(map, record);
    switch (record.kind) {
    case RecordKind::Script:
        return TextPage(EditorPage::Script, record, std::move(fields), ScriptTextParts(map, record.position, textLimit));
    case RecordKind::Global:
        return TextPage(EditorPage::Global, record, std::move(fields), GlobalTextParts(map, record.position, textLimit));
    case RecordKind::Syntax: break;
    }
    PageFill fill{EditorPage::Syntax, record, std::move(fields), {}};
    fill.text = map.SyntaxCache[record.position].Command.view().substr(0, textLimit);
    return fill;
}

std::optional<PageFill> PageForRow(const MapContent& map, const RowKey& row, std::size_t textLimit) {
    const auto record = RecordForRow(map, row);
    if (!record) return std::nullopt;
    return PageFor(map, *record, textLimit);
}

}  // namespace quorin
