// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where every editable field lives, in the file and in the records: one row
// per field, read by the single write-back path (FieldWriteBack).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "edit/EditField.h"
#include "edit/RecordMember.h"
#include "map/FileLayout.h"
#include "map/Records.h"

namespace quorin {

// How the field's text becomes the value.
enum class FieldText {
    Bytes,        // a name: the text's bytes as they stand
    Decimal,      // ParseFieldNumber
    Hexadecimal,  // ParseFieldHexadecimal (the field shows hex digits without a prefix)
    ItemIndex,    // a popup: the chosen item's index is the code
};


struct FieldRule {
    EditField field;
    std::string_view control;      // the window's control, e.g. "FldScriptName"
    std::string_view label;        // its caption on the page, which messages name it by
    std::string_view recordField;  // the record field set, e.g. "ExpPointer"
    // Where a commit writes, relative to the entry or node, and how wide: a
    // 16- or 32-bit number (its low bits), or the whole 32-byte name field.
    // A string offset is stored relative to the string table but kept
    // absolute in the record.
    layout::Field place;
    FieldText text;
    RecordMember member;
    // Names and identities: the new key is added to the dictionary (the old
    // one stays, so the row that still shows it keeps finding the record).
    bool addsDictionaryEntry;
    // A popup's items in code order; empty for an edit field.
    std::span<const std::string_view> items;
};

const std::array<FieldRule, kEditFieldCount>& FieldRules();
const FieldRule& RuleFor(EditField field);

RecordKind KindOf(const FieldRule& rule);
inline bool IsPopup(const FieldRule& rule) { return rule.text == FieldText::ItemIndex; }

}  // namespace quorin
