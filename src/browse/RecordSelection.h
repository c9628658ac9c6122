// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record a row of the script tree, or a name typed on the command line,
// leads to, and making it the record the editor shows.

#include <cstddef>
#include <optional>
#include <string_view>

#include "map/MapState.h"

namespace quorin {

struct SelectedRecord {
    RecordKind kind = RecordKind::Script;
    std::size_t position = 0;  // in the kind's cache
};

// What selecting a row shows: a script row ("s: NAME") the script of that
// name, a global row or a global's name row ("g: NAME") the global, any
// other row the node whose identity the row's text is. A name or identity
// the dictionaries do not hold leads to position 0. Nothing for the two
// folder rows, or when the cache the row needs is empty.
[[nodiscard]] std::optional<SelectedRecord> RecordForRow(const MapContent& map, std::string_view rowText);

// The record a name (script, global) or an identity's decimal text (node)
// names exactly; nothing when there is no such record.
[[nodiscard]] std::optional<SelectedRecord> RecordNamed(const MapContent& map, RecordKind kind, std::string_view key);

// Makes record the one its editor page shows (LoadedScript, LoadedGlobal or
// LoadedSyntax), for this load.
void ShowRecord(MapState& map, const SelectedRecord& record);

}  // namespace quorin
