// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/RecordSelection.h"

namespace quorin {

std::optional<SelectedRecord> RecordForRow(const MapContent& map, const RowKey& row) {
    const auto within = [&](RecordKind kind) -> std::optional<SelectedRecord> {
        if (row.position >= map.recordCount(kind)) return std::nullopt;
        return SelectedRecord{kind, row.position};
    };
    switch (row.kind) {
    case RowKind::ScriptsFolder:
    case RowKind::GlobalsFolder: break;
    case RowKind::Script: return within(RecordKind::Script);
    case RowKind::Global: return within(RecordKind::Global);
    case RowKind::Node: return within(RecordKind::Syntax);
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
    map.shown(record.kind) = map.recordAt(record.position);
}

}  // namespace quorin
