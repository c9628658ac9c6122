// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/RecordSelection.h"

#include "browse/RowText.h"

namespace quorin {

std::optional<SelectedRecord> RecordForRow(const MapContent& map, std::string_view rowText) {
    const RowText row = ClassifyRow(rowText);
    switch (row.kind) {
    case RowKind::ScriptsFolder:
    case RowKind::GlobalsFolder:
        return std::nullopt;
    case RowKind::Script:
        if (map.ScriptHeaderCache.empty()) return std::nullopt;
        return SelectedRecord{RecordKind::Script, map.scriptPosition(row.name).value_or(0)};
    case RowKind::Global:
        if (map.GlobalHeaderCache.empty()) return std::nullopt;
        return SelectedRecord{RecordKind::Global, map.globalPosition(row.name).value_or(0)};
    case RowKind::Other: {
        if (map.SyntaxCache.empty()) return std::nullopt;
        // The row text is the identity's decimal text; anything else is not a
        // key and falls back to position 0.
        const auto identity = IdentityFromKey(rowText);
        return SelectedRecord{RecordKind::Syntax, identity ? map.syntaxPositionOr0(*identity) : 0};
    }
    }
    return std::nullopt;
}

std::optional<SelectedRecord> RecordNamed(const MapContent& map, RecordKind kind, std::string_view key) {
    std::optional<std::size_t> position;
    switch (kind) {
    case RecordKind::Script: position = map.scriptPosition(key); break;
    case RecordKind::Global: position = map.globalPosition(key); break;
    case RecordKind::Syntax:
        if (const auto identity = IdentityFromKey(key)) position = map.syntaxPosition(*identity);
        break;
    }
    if (!position) return std::nullopt;
    return SelectedRecord{kind, *position};
}

void ShowRecord(MapState& map, const SelectedRecord& record) {
    const LoadedRecord shown = map.recordAt(record.position);
    switch (record.kind) {
    case RecordKind::Script: map.LoadedScript = shown; break;
    case RecordKind::Global: map.LoadedGlobal = shown; break;
    case RecordKind::Syntax: map.LoadedSyntax = shown; break;
    }
}

}  // namespace quorin
