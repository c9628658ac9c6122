#include "map/MapState.h"

#include <charconv>

namespace quorin {

void MapState::adopt(MapContent content, std::string path) {
    static_cast<MapContent&>(*this) = std::move(content);
    LoadedScript.reset();
    LoadedGlobal.reset();
    LoadedSyntax.reset();
    loadedPath_ = std::move(path);
    ++generation_;
}

std::optional<std::int32_t> MapState::scriptPosition(std::string_view name) const {
    auto found = ScriptsByName.find(std::string(name));
    if (found == ScriptsByName.end()) return std::nullopt;
    return found->second;
}

std::optional<std::int32_t> MapState::globalPosition(std::string_view name) const {
    auto found = GlobalsByName.find(std::string(name));
    if (found == GlobalsByName.end()) return std::nullopt;
    return found->second;
}

std::optional<std::int32_t> MapState::syntaxPosition(std::int32_t identity) const {
    auto found = SyntaxByIdentity.find(identity);
    if (found == SyntaxByIdentity.end()) return std::nullopt;
    return found->second;
}

const Syntax* MapState::nodeForIdentity(std::int32_t identity) const {
    const auto position = static_cast<std::size_t>(PositionOr0(SyntaxByIdentity, identity));
    return position < SyntaxCache.size() ? &SyntaxCache[position] : nullptr;
}

namespace {

template <typename Record>
const Record* Current(const std::optional<LoadedRecord>& loaded, const std::vector<Record>& cache,
                      std::uint64_t generation) {
    if (!loaded || loaded->generation != generation || loaded->position >= cache.size()) return nullptr;
    return &cache[loaded->position];
}

}  // namespace

const ScriptHeader* MapState::loadedScript() const {
    return Current(LoadedScript, ScriptHeaderCache, generation_);
}
const GlobalHeader* MapState::loadedGlobal() const {
    return Current(LoadedGlobal, GlobalHeaderCache, generation_);
}
const Syntax* MapState::loadedSyntax() const { return Current(LoadedSyntax, SyntaxCache, generation_); }

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

std::int32_t PositionOr0(const NameIndex& index, std::string_view name) {
    auto found = index.find(std::string(name));
    return found == index.end() ? 0 : found->second;
}

std::int32_t PositionOr0(const IdentityIndex& index, std::int32_t identity) {
    auto found = index.find(identity);
    return found == index.end() ? 0 : found->second;
}

}  // namespace quorin
