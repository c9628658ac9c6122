#include "edit/FieldRule.h"

#include "map/TypeTables.h"

namespace quorin {

namespace {

using enum EditField;
using enum FieldWidth;
using enum FieldText;

constexpr std::span<const std::string_view> kNoItems{};
constexpr std::span<const std::string_view> kScriptTypes{kScriptTypeNames};
constexpr std::span<const std::string_view> kValueTypes{kValueTypeNames};

// Offsets are relative to the script entry, global entry or syntax node.
// Rows are in EditField order.
constexpr std::array<FieldRule, kEditFieldCount> kRules = {{
    {ScriptName, "FldScriptName", "Name", 0, NameField, Bytes, &ScriptHeader::Name, false, true, kNoItems},
    {ScriptExpPointer, "FldScriptExpPointer", "ExpPointer", 38, Int16, Decimal, &ScriptHeader::ExpPointer, false,
     false, kNoItems},
    {GlobalName, "FldGlobalName", "Name", 0, NameField, Bytes, &GlobalHeader::Name, false, true, kNoItems},
    {GlobalExpPointer, "FldGlobalExpPointer", "ExpPointer", 42, Int16, Decimal, &GlobalHeader::ExpPointer, false,
     false, kNoItems},
    {SyntaxExpIdent, "FldSyntaxExpIdent", "ExpIdentity", 0, Int16, Decimal, &Syntax::ExpIdentity, false, true,
     kNoItems},
    {SyntaxEngineIdent, "FldSyntaxEngineIdent", "EngineIdentity", 2, Int16, Decimal, &Syntax::EngineIdentity, false,
     false, kNoItems},
    {SyntaxExpType, "FldSyntaxExpType", "ExpType", 6, Int16, Decimal, &Syntax::ExpType, false, false, kNoItems},
    {SyntaxSibExp, "FldSyntaxSibExp", "SibExpPointer", 10, Int16, Decimal, &Syntax::SibExpPointer, false, false,
     kNoItems},
    {SyntaxScriptTableOffset, "FldSyntaxScriptTableOffset", "ScriptTableOffset", 12, Int32, Hexadecimal,
     &Syntax::ScriptTableOffset, true, false, kNoItems},
    // The whole value field, so its upper half (the first-child identity)
    // takes the upper 16 bits of the number; KidExpPointer is not changed.
    {SyntaxScriptValue, "FldSyntaxScriptValue", "ScriptValue", 16, Int32, Decimal, &Syntax::ScriptValue, false,
     false, kNoItems},
    {SyntaxKidExp, "FldSyntaxKidExp", "KidExpPointer", 18, Int16, Decimal, &Syntax::KidExpPointer, false, false,
     kNoItems},
    {ScriptType, "PopScriptType", "Type", 32, Int16, ItemIndex, &ScriptHeader::Type, false, false, kScriptTypes},
    {ScriptReturn, "PopScriptReturn", "ReturnType", 34, Int16, ItemIndex, &ScriptHeader::ReturnType, false, false,
     kValueTypes},
    {GlobalType, "PopGlobalType", "Type", 32, Int16, ItemIndex, &GlobalHeader::Type, false, false, kValueTypes},
    {SyntaxType, "PopSyntaxType", "ValueType", 4, Int16, ItemIndex, &Syntax::ValueType, false, false, kValueTypes},
}};

constexpr bool RowsInFieldOrder() {
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<std::size_t>(kRules[i].field) != i) return false;
    }
    return true;
}
static_assert(RowsInFieldOrder(), "RuleFor indexes the rows by EditField");

template <typename Value>
constexpr RecordKind KindOfMember(Value ScriptHeader::*) { return RecordKind::Script; }
template <typename Value>
constexpr RecordKind KindOfMember(Value GlobalHeader::*) { return RecordKind::Global; }
template <typename Value>
constexpr RecordKind KindOfMember(Value Syntax::*) { return RecordKind::Syntax; }

}  // namespace

const std::array<FieldRule, kEditFieldCount>& FieldRules() { return kRules; }

const FieldRule& RuleFor(EditField field) { return kRules[static_cast<std::size_t>(field)]; }

RecordKind KindOf(const FieldRule& rule) {
    return std::visit([](auto member) { return KindOfMember(member); }, rule.member);
}

}  // namespace quorin
