// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/RecordSelection.h"

namespace quorin {

std::optional<SelectedRecord> RecordForRow(const MapContent& map, const RowKey& row) {
    const auto within = [&row](RecordKind kind, std::size_t size) -> std::optional<SelectedRecord> {
        if (row.position >= size) return std::nullopt;
        return SelectedRecord{kind, row.position};
    };
    switch (row.kind) {
    case RowKind::ScriptsFolder:
    case RowKind::GlobalsFolder: break;
    case RowKind::Script: return within(RecordKind::Script, map.ScriptHeaderCache.size());
    case RowKind::Global: return within(RecordKind::Global, map.GlobalHeaderCache.size());
    case RowKind::Node: return within(RecordKind::Syntax, map.SyntaxCache.size());
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
