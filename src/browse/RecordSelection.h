// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record a row of the script tree, or a name typed on the command line,
// leads to, and making it the record the editor shows.

#include <cstddef>
#include <optional>
#include <string_view>

#include "browse/RowText.h"
#include "map/MapState.h"

namespace quorin {

struct SelectedRecord {
    RecordKind kind = RecordKind::Script;
    std::size_t position = 0;  // in the kind's cache

    bool operator==(const SelectedRecord&) const = default;
};

// What selecting a row shows: the record its key names (a global's name row
// names the global). Nothing for the two folder rows, or for a position the
// cache does not have.
[[nodiscard]] std::optional<SelectedRecord> RecordForRow(const MapContent& map, const RowKey& row);

// The record a name (script, global) or an identity's decimal text (node)
// names exactly; nothing when there is no such record.
[[nodiscard]] std::optional<SelectedRecord> RecordNamed(const MapContent& map, RecordKind kind, std::string_view key);

// Makes record the one its editor page shows (LoadedScript, LoadedGlobal or
// LoadedSyntax), for this load.
void ShowRecord(MapState& map, const SelectedRecord& record);

}  // namespace quorin
