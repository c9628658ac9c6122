// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/FieldRule.h"

#include "map/TypeTables.h"
#include "map/RecordTable.h"

namespace quorin {

namespace {

using enum EditField;
using enum FieldText;
namespace script = layout::scriptEntry;
namespace global = layout::globalEntry;
namespace node = layout::node;

constexpr std::span<const std::string_view> kNoItems{};
constexpr std::span<const std::string_view> kScriptTypes{kScriptTypeNames};
constexpr std::span<const std::string_view> kValueTypes{kValueTypeNames};

// Rows are in EditField order.
constexpr std::array<FieldRule, kEditFieldCount> kRules = {{
    {ScriptName, "FldScriptName", "Script Name", "Name", script::Name, Bytes, &ScriptHeader::Name, true, kNoItems},
    {ScriptExpPointer, "FldScriptExpPointer", "Expression Pointer", "ExpPointer", script::ExpPointer, Decimal,
     &ScriptHeader::ExpPointer, false, kNoItems},
    {GlobalName, "FldGlobalName", "Global Name", "Name", global::Name, Bytes, &GlobalHeader::Name, true, kNoItems},
    {GlobalExpPointer, "FldGlobalExpPointer", "Expression Pointer", "ExpPointer", global::ExpPointer, Decimal,
     &GlobalHeader::ExpPointer, false, kNoItems},
    {SyntaxExpIdent, "FldSyntaxExpIdent", "Expression Identity", "ExpIdentity", node::ExpIdentity, Decimal,
     &Syntax::ExpIdentity, true, kNoItems},
    {SyntaxEngineIdent, "FldSyntaxEngineIdent", "Engine Identity", "EngineIdentity", node::EngineIdentity, Decimal,
     &Syntax::EngineIdentity, false, kNoItems},
    {SyntaxExpType, "FldSyntaxExpType", "Expression Type", "ExpType", node::ExpType, Decimal, &Syntax::ExpType, false,
     kNoItems},
    {SyntaxSibExp, "FldSyntaxSibExp", "Sibling Expression", "SibExpPointer", node::SibExpPointer, Decimal,
     &Syntax::SibExpPointer, false, kNoItems},
    {SyntaxScriptTableOffset, "FldSyntaxScriptTableOffset", "Script Table Offset", "ScriptTableOffset",
     node::StringOffset, Hexadecimal, &Syntax::ScriptTableOffset, false, kNoItems},
    // The whole value field, so its upper half (the first-child identity)
    // takes the upper 16 bits of the number; KidExpPointer is not changed.
    {SyntaxScriptValue, "FldSyntaxScriptValue", "Script Value", "ScriptValue", node::ValueField, Decimal,
     &Syntax::ScriptValue, false, kNoItems},
    {SyntaxKidExp, "FldSyntaxKidExp", "Child Expression", "KidExpPointer", node::KidExpPointer, Decimal,
     &Syntax::KidExpPointer, false, kNoItems},
    {ScriptType, "PopScriptType", "Script Type", "Type", script::Type, ItemIndex, &ScriptHeader::Type, false,
     kScriptTypes},
    {ScriptReturn, "PopScriptReturn", "Script Return Type", "ReturnType", script::ReturnType, ItemIndex,
     &ScriptHeader::ReturnType, false, kValueTypes},
    {GlobalType, "PopGlobalType", "Global Type", "Type", global::Type, ItemIndex, &GlobalHeader::Type, false,
     kValueTypes},
    {SyntaxType, "PopSyntaxType", "Value Type", "ValueType", node::ValueType, ItemIndex, &Syntax::ValueType, false,
     kValueTypes},
}};

constexpr bool RowsInFieldOrder() {
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<std::size_t>(kRules[i].field) != i) return false;
    }
    return true;
}
static_assert(RowsInFieldOrder(), "RuleFor indexes the rows by EditField");

template <typename Record, typename Value>
constexpr RecordKind KindOfMember(Value Record::*) { return RecordTable<Record>::kKind; }

}  // namespace

const std::array<FieldRule, kEditFieldCount>& FieldRules() { return kRules; }

const FieldRule& RuleFor(EditField field) { return kRules[static_cast<std::size_t>(field)]; }

RecordKind KindOf(const FieldRule& rule) { return KindOf(rule.member); }

RecordKind KindOf(const RecordMember& member) {
    return std::visit([](auto pointer) { return KindOfMember(pointer); }, member);
}

}  // namespace quorin
