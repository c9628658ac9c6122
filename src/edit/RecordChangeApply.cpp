// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/RecordChangeApply.h"

#include <type_traits>

#include "map/RecordTable.h"

namespace quorin {

namespace {

template <typename Record, typename Value>
void Set(MapState& map, Value Record::*member, std::size_t position, const RecordValue& value) {
    auto& cache = map.*RecordTable<Record>::kCache;
    if (position < cache.size()) cache[position].*member = std::get<Value>(value);
}

// Names key the script and global dictionaries, identities the node one; a
// node's text keys nothing.
template <typename Record, typename Value>
constexpr bool kIsKey = std::is_same_v<Record, Syntax> ? std::is_same_v<Value, std::int32_t>
                                                       : std::is_same_v<Value, SharedText>;

std::optional<std::int32_t> Lookup(const NameIndex& index, const SharedText& name) {
    const auto found = index.find(name);
    if (found == index.end()) return std::nullopt;
    return found->second;
}
std::optional<std::int32_t> Lookup(const IdentityIndex& index, std::int32_t identity) { return index.find(identity); }

template <typename Record, typename Value>
std::optional<std::int32_t> KeyOwner(MapState& map, const Value& key) {
    return Lookup(map.*RecordTable<Record>::kIndex, key);
}

template <typename Record, typename Value>
void SetKey(MapState& map, const Value& key, std::int32_t position) {
    (map.*RecordTable<Record>::kIndex)[key] = position;
}

}  // namespace

void ApplyForward(MapState& map, RecordChange& change) {
    std::visit(
        [&]<typename Record, typename Value>(Value Record::*member) {
            Set(map, member, change.position, change.after);
            if constexpr (kIsKey<Record, Value>) {
                if (!change.addsDictionaryEntry) return;
                const Value& key = std::get<Value>(change.after);
                change.afterKeyBefore = KeyOwner<Record>(map, key);
                SetKey<Record>(map, key, static_cast<std::int32_t>(change.position));
            }
        },
        change.member);
}

void ApplyBack(MapState& map, const RecordChange& change) {
    std::visit(
        [&]<typename Record, typename Value>(Value Record::*member) {
            Set(map, member, change.position, change.before);
            if constexpr (kIsKey<Record, Value>) {
                if (!change.addsDictionaryEntry) return;
                const auto position = static_cast<std::int32_t>(change.position);
                SetKey<Record>(map, std::get<Value>(change.before), position);
                if (change.afterKeyBefore && *change.afterKeyBefore != position) {
                    SetKey<Record>(map, std::get<Value>(change.after), *change.afterKeyBefore);
                }
            }
        },
        change.member);
}

}  // namespace quorin
