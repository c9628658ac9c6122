// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Name to cache position, for the script and the global table. When two
// records share a name the later one wins; an edit adds the new name's key
// and leaves the old one (see RecordChangeApply).
//
// A load enters every name of a table, and a table may hold millions, so
// the keys the load entered are not copied: each is the text the load read
// at its record's entry, found again in the load's texts, and an entry costs
// a slot of eight bytes. Keys added later (edits, records built by hand) go
// to a small dictionary beside it, which wins over a loaded key.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/SharedText.h"
#include "map/TextCollector.h"

namespace quorin {

class NameIndex {
public:
    using value_type = std::pair<SharedText, std::int32_t>;
    class const_iterator;
    using iterator = const_iterator;

    NameIndex() = default;
    NameIndex(std::initializer_list<value_type> entries);

    // The names of a loaded table: record i's name is the text texts read at
    // tableOffset + stride * i (as a 32-bit offset), and is nameOf(i) now.
    template <typename NameOf>
    static NameIndex ofTable(const LoadedTexts& texts, std::int64_t tableOffset, std::int64_t stride,
                             std::size_t count, NameOf&& nameOf) {
        auto* context = &nameOf;
        return build(texts, tableOffset, stride, count, context, [](const void* names, std::size_t i) -> const SharedText& {
            return (*static_cast<decltype(context)>(const_cast<void*>(names)))(i);
        });
    }

    [[nodiscard]] const_iterator find(std::string_view name) const;
    [[nodiscard]] const_iterator begin() const;
    [[nodiscard]] const_iterator end() const;
    // The position slot of name, made (holding 0) when absent.
    std::int32_t& operator[](const SharedText& name);
    void insert_or_assign(const SharedText& name, std::int32_t position) { (*this)[name] = position; }

    [[nodiscard]] std::size_t size() const;
    [[nodiscard]] bool empty() const { return size() == 0; }

    // The same keys leading to the same positions.
    friend bool operator==(const NameIndex& a, const NameIndex& b);

private:
    struct Loaded;
    using Added = std::unordered_map<SharedText, std::int32_t, SharedTextHash, SharedTextEqual>;
    using NameAt = const SharedText& (*)(const void* names, std::size_t i);
    static NameIndex build(const LoadedTexts& texts, std::int64_t tableOffset, std::int64_t stride,
                           std::size_t count, const void* names, NameAt nameAt);
    // The slot of a loaded key, or none.
    [[nodiscard]] std::size_t loadedSlot(std::string_view name) const;

    std::shared_ptr<const Loaded> loaded_;
    Added added_;
    // Loaded keys that added_ holds too, so counted once.
    std::size_t shadowed_ = 0;
};

// Goes through the added keys, then the loaded ones that no added key hides.
class NameIndex::const_iterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = NameIndex::value_type;
    using difference_type = std::ptrdiff_t;
    using pointer = const value_type*;
    using reference = const value_type&;

    const_iterator() = default;
    reference operator*() const { return current_; }
    pointer operator->() const { return &current_; }
    const_iterator& operator++();
    const_iterator operator++(int) {
        const_iterator before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
        return a.index_ == b.index_ && a.inAdded_ == b.inAdded_ && (a.inAdded_ ? a.added_ == b.added_ : a.slot_ == b.slot_);
    }

private:
    friend class NameIndex;
    const_iterator(const NameIndex* index, Added::const_iterator added);
    const_iterator(const NameIndex* index, std::size_t slot);
    // Moves on to the first loaded key at or after slot_ that shows.
    void settle();

    const NameIndex* index_ = nullptr;
    bool inAdded_ = false;
    Added::const_iterator added_;
    std::size_t slot_ = 0;
    value_type current_;
};

}  // namespace quorin
