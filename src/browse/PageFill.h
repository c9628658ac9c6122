// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the editor shows for a selected row: the page, the record's cache
// position and the values of the page's fields in the order they are
// filled. Worked out from the records alone; the window applies it.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "browse/RecordSelection.h"
#include "edit/EditField.h"
#include "map/MapState.h"
#include "script/Decompiler.h"

namespace quorin {

enum class EditorPage : int { Credits = 0, Script = 1, Global = 2, Syntax = 3 };

struct FieldValue {
    EditField field;
    std::string text;  // for an edit field
    int index = -1;    // for a popup: the item to choose (the type code)
};

struct PageFill {
    EditorPage page = EditorPage::Credits;
    SelectedRecord record;            // the record shown
    std::vector<FieldValue> fields;   // in fill order
    std::string text;                 // the page's multi-line field
    std::vector<TextPart> parts;      // of a script's or global's text; none for a node's
};

// The page for a record. A script's text is cut after textLimit bytes.
[[nodiscard]] PageFill PageFor(const MapContent& map, const SelectedRecord& record,
                               std::size_t textLimit = kDecompiledTextLimit);

// The values of the page's fields alone, in fill order, without its text
// (what a refused write puts back).
[[nodiscard]] std::vector<FieldValue> PageFields(const MapContent& map, const SelectedRecord& record);

// The page for a row (see RecordForRow). Nothing for the top folders, and
// for a position the cache does not have.
[[nodiscard]] std::optional<PageFill> PageForRow(const MapContent& map, const RowKey& row,
                                                 std::size_t textLimit = kDecompiledTextLimit);

}  // namespace quorin
