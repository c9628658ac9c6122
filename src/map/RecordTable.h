// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one table from a record kind to where its records live in the map
// state: the record type, its cache, its dictionary, the record an editor
// page shows, the word messages call it and the file offset of a record.
// Everything that treats scripts, globals and nodes alike goes through it.

#include <cstdint>
#include <string_view>
#include <utility>

#include "map/MapState.h"

namespace quorin {

template <typename Record>
struct RecordTable;

template <>
struct RecordTable<ScriptHeader> {
    using Record = ScriptHeader;
    static constexpr RecordKind kKind = RecordKind::Script;
    static constexpr std::string_view kWord = "script";
    static constexpr auto kCache = &MapContent::ScriptHeaderCache;
    static constexpr auto kIndex = &MapContent::ScriptsByName;
    static constexpr auto kShown = &MapState::LoadedScript;
    static std::int64_t fileOffset(const Record& record) { return record.Offset; }
};

template <>
struct RecordTable<GlobalHeader> {
    using Record = GlobalHeader;
    static constexpr RecordKind kKind = RecordKind::Global;
    static constexpr std::string_view kWord = "global";
    static constexpr auto kCache = &MapContent::GlobalHeaderCache;
    static constexpr auto kIndex = &MapContent::GlobalsByName;
    static constexpr auto kShown = &MapState::LoadedGlobal;
    static std::int64_t fileOffset(const Record& record) { return record.Offset; }
};

template <>
struct RecordTable<Syntax> {
    using Record = Syntax;
    static constexpr RecordKind kKind = RecordKind::Syntax;
    static constexpr std::string_view kWord = "syntax node";
    static constexpr auto kCache = &MapContent::SyntaxCache;
    static constexpr auto kIndex = &MapContent::SyntaxByIdentity;
    static constexpr auto kShown = &MapState::LoadedSyntax;
    static std::int64_t fileOffset(const Record& record) { return record.offset; }
};

// Calls visit with the table row of kind (a RecordTable<Record>{}): the one
// place a record kind is told apart at run time.
template <typename Visit>
decltype(auto) ForRecordKind(RecordKind kind, Visit&& visit) {
    switch (kind) {
    case RecordKind::Script: return std::forward<Visit>(visit)(RecordTable<ScriptHeader>{});
    case RecordKind::Global: return std::forward<Visit>(visit)(RecordTable<GlobalHeader>{});
    case RecordKind::Syntax: break;
    }
    return std::forward<Visit>(visit)(RecordTable<Syntax>{});
}

}  // namespace quorin
