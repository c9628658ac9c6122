// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/NameIndex.h"

namespace quorin {

namespace {

// A slot's share of the text's hash, enough to pass over nearly every other
// key without reading it.
std::uint32_t SlotHash(std::uint64_t hash) { return static_cast<std::uint32_t>(hash ^ (hash >> 32)); }

constexpr std::int32_t kFree = -1;

struct Slot {
    std::int32_t position = kFree;
    std::uint32_t hash = 0;
};

}  // namespace

// The keys one load entered: open addressing over a power-of-two table kept
// at most three quarters full, each slot a position and its key's hash.
struct NameIndex::Loaded {
    LoadedTexts texts;
    std::int64_t tableOffset = 0;
    std::int64_t stride = 0;
    std::vector<Slot> slots;
    std::size_t keys = 0;

    std::string_view keyOf(std::int32_t position) const {
        const std::int64_t entry = tableOffset + stride * position;
        return texts.at(static_cast<std::int32_t>(static_cast<std::uint32_t>(entry)));
    }
    std::size_t mask() const { return slots.size() - 1; }
};

NameIndex::NameIndex(std::initializer_list<value_type> entries) {
    for (const auto& [name, position] : entries) (*this)[name] = position;
}

NameIndex NameIndex::build(const LoadedTexts& texts, std::int64_t tableOffset, std::int64_t stride, std::size_t count,
                           const void* names, NameAt nameAt) {
    auto loaded = std::make_shared<Loaded>();
    loaded->texts = texts;
    loaded->tableOffset = tableOffset;
    loaded->stride = stride;
    // Grown as distinct names come, so a table whose names are all alike
    // (a table of zero bytes) takes next to nothing.
    loaded->slots.resize(16);
    for (std::size_t i = 0; i < count; ++i) {
        const SharedText& name = nameAt(names, i);
        const std::uint32_t hash = SlotHash(name.hash());
        std::size_t at = hash & loaded->mask();
        for (;; at = (at + 1) & loaded->mask()) {
            Slot& slot = loaded->slots[at];
            if (slot.position == kFree) {
                slot = {static_cast<std::int32_t>(i), hash};
                ++loaded->keys;
                break;
            }
            if (slot.hash == hash && nameAt(names, static_cast<std::size_t>(slot.position)) == name) {
                slot.position = static_cast<std::int32_t>(i);
                break;
            }
        }
        if (loaded->keys * 4 > loaded->slots.size() * 3) {
            std::vector<Slot> wider(loaded->slots.size() * 2);
            const std::size_t mask = wider.size() - 1;
            for (const Slot& slot : loaded->slots) {
                if (slot.position == kFree) continue;
                std::size_t to = slot.hash & mask;
                while (wider[to].position != kFree) to = (to + 1) & mask;
                wider[to] = slot;
            }
            loaded->slots.swap(wider);
        }
    }
    NameIndex index;
    index.loaded_ = std::move(loaded);
    return index;
}

std::size_t NameIndex::loadedSlot(std::string_view name) const {
    if (!loaded_) return SIZE_MAX;
    const std::uint32_t hash = SlotHash(TextHash(name));
    for (std::size_t at = hash & loaded_->mask();; at = (at + 1) & loaded_->mask()) {
        const Slot& slot = loaded_->slots[at];
        if (slot.position == kFree) return SIZE_MAX;
        if (slot.hash == hash && loaded_->keyOf(slot.position) == name) return at;
    }
}

NameIndex::const_iterator NameIndex::find(std::string_view name) const {
    if (const auto added = added_.find(name); added != added_.end()) return const_iterator(this, added);
    const std::size_t slot = loadedSlot(name);
    return slot == SIZE_MAX ? end() : const_iterator(this, slot);
}

NameIndex::const_iterator NameIndex::begin() const {
    if (!added_.empty()) return const_iterator(this, added_.begin());
    const_iterator first(this, std::size_t{0});
    first.settle();
    return first;
}

NameIndex::const_iterator NameIndex::end() const { return const_iterator(this, loaded_ ? loaded_->slots.size() : 0); }

std::int32_t& NameIndex::operator[](const SharedText& name) {
    if (const auto added = added_.find(name); added != added_.end()) return added->second;
    std::int32_t position = 0;
    if (const std::size_t slot = loadedSlot(name); slot != SIZE_MAX) {
        position = loaded_->slots[slot].position;
        ++shadowed_;
    }
    return added_.emplace(name, position).first->second;
}

std::size_t NameIndex::size() const { return added_.size() + (loaded_ ? loaded_->keys : 0) - shadowed_; }

bool operator==(const NameIndex& a, const NameIndex& b) {
    if (a.size() != b.size()) return false;
    for (const auto& [name, position] : a) {
        const auto found = b.find(name);
        if (found == b.end() || found->second != position) return false;
    }
    return true;
}

NameIndex::const_iterator::const_iterator(const NameIndex* index, Added::const_iterator added)
    : index_(index), inAdded_(true), added_(added), current_(*added) {}

NameIndex::const_iterator::const_iterator(const NameIndex* index, std::size_t slot) : index_(index), slot_(slot) {
    const Loaded* loaded = index_->loaded_.get();
    if (loaded && slot_ < loaded->slots.size() && loaded->slots[slot_].position != kFree) {
        const std::int32_t position = loaded->slots[slot_].position;
        current_ = {loaded->texts.share(loaded->keyOf(position)), position};
    }
}

void NameIndex::const_iterator::settle() {
    const Loaded* loaded = index_->loaded_.get();
    if (!loaded) return;
    for (; slot_ < loaded->slots.size(); ++slot_) {
        const Slot& slot = loaded->slots[slot_];
        if (slot.position == kFree) continue;
        const std::string_view key = loaded->keyOf(slot.position);
        if (index_->added_.find(key) != index_->added_.end()) continue;
        current_ = {loaded->texts.share(key), slot.position};
        return;
    }
}

NameIndex::const_iterator& NameIndex::const_iterator::operator++() {
    if (inAdded_) {
        if (++added_ != index_->added_.end()) {
            current_ = *added_;
            return *this;
        }
        inAdded_ = false;
        added_ = {};
        slot_ = 0;
    } else {
        ++slot_;
    }
    settle();
    return *this;
}

}  // namespace quorin
