// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapState.h"

#include <charconv>

#include "map/RecordTable.h"

namespace quorin {

void MapState::adopt(MapContent content, std::string path, LoadedFile file) {
    static_cast<MapContent&>(*this) = std::move(content);
    file_ = std::move(file);
    written_ = false;
    LoadedScript.reset();
    LoadedGlobal.reset();
    LoadedSyntax.reset();
    loadedPath_ = std::move(path);
    ++generation_;
}

namespace {

// A recorded position, when the cache has it.
std::optional<std::size_t> InCache(std::optional<std::int32_t> position, std::size_t cacheSize) {
    if (!position || *position < 0 || static_cast<std::size_t>(*position) >= cacheSize) return std::nullopt;
    return static_cast<std::size_t>(*position);
}

std::optional<std::size_t> PositionIn(const NameIndex& index, std::string_view name, std::size_t cacheSize) {
    const auto found = index.find(name);
    return InCache(found == index.end() ? std::nullopt : std::optional(found->second), cacheSize);
}

}  // namespace

std::optional<std::size_t> MapContent::scriptPosition(std::string_view name) const {
    return PositionIn(ScriptsByName, name, ScriptHeaderCache.size());
}

std::optional<std::size_t> MapContent::globalPosition(std::string_view name) const {
    return PositionIn(GlobalsByName, name, GlobalHeaderCache.size());
}

std::optional<std::size_t> MapContent::syntaxPosition(std::int32_t identity) const {
    return InCache(SyntaxByIdentity.find(identity), SyntaxCache.size());
}

std::size_t MapContent::syntaxPositionOr0(std::int32_t identity) const {
    return syntaxPosition(identity).value_or(0);
}

std::size_t MapContent::recordCount(RecordKind kind) const {
    return ForRecordKind(kind, [this]<typename Record>(RecordTable<Record>) { return (this->*RecordTable<Record>::kCache).size(); });
}

namespace {

template <typename Record>
const Record* Current(const MapState& map) {
    const auto position = map.shownPosition(RecordTable<Record>::kKind);
    return position ? &(map.*RecordTable<Record>::kCache)[*position] : nullptr;
}

}  // namespace

const ScriptHeader* MapState::loadedScript() const { return Current<ScriptHeader>(*this); }
const GlobalHeader* MapState::loadedGlobal() const { return Current<GlobalHeader>(*this); }
const Syntax* MapState::loadedSyntax() const { return Current<Syntax>(*this); }

std::optional<std::size_t> MapState::shownPosition(RecordKind kind) const {
    const std::optional<LoadedRecord>& loaded = shown(kind);
    if (!loaded || loaded->generation != generation_ || loaded->position >= recordCount(kind)) return std::nullopt;
    return loaded->position;
}

std::optional<LoadedRecord>& MapState::shown(RecordKind kind) {
    return ForRecordKind(kind, [this]<typename Record>(RecordTable<Record>) -> std::optional<LoadedRecord>& {
        return this->*RecordTable<Record>::kShown;
    });
}

const std::optional<LoadedRecord>& MapState::shown(RecordKind kind) const {
    return ForRecordKind(kind, [this]<typename Record>(RecordTable<Record>) -> const std::optional<LoadedRecord>& {
        return this->*RecordTable<Record>::kShown;
    });
}

std::optional<std::int32_t> IdentityFromKey(std::string_view key) {
    if (key.empty()) return std::nullopt;
    std::size_t digitsFrom = key[0] == '-' ? 1 : 0;
    if (digitsFrom == key.size()) return std::nullopt;
    if (key[digitsFrom] == '0' && key.size() > digitsFrom + 1) return std::nullopt;  // leading zero
    if (key == "-0") return std::nullopt;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), value);
    if (error != std::errc() || end != key.data() + key.size()) return std::nullopt;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace quorin
