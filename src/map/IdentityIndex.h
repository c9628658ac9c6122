// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Node identity to cache position. Identities in a map are 16-bit, so a
// table of 65536 slots takes them all with no allocation per node (a
// dictionary node per identity cost a fifth of a load); an edit can give a
// node any 32-bit identity, and those few go to a small dictionary beside it.
// The table is made a block of 256 slots at a time, as identities in each
// block come, so a map of few nodes makes a kilobyte or two of it.
// Keyed by the number, which behaves like the decimal-text key (see
// IdentityFromKey).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quorin {

class IdentityIndex {
public:
    // The position recorded for identity, if any.
    [[nodiscard]] std::optional<std::int32_t> find(std::int32_t identity) const;
    // Records position for identity; a later entry replaces an earlier one.
    void set(std::int32_t identity, std::int32_t position);
    // The position slot of identity, made (holding 0) when absent.
    std::int32_t& operator[](std::int32_t identity);

    [[nodiscard]] std::size_t size() const { return count_ + wide_.size(); }
    [[nodiscard]] bool empty() const { return size() == 0; }
    // Every entry, by identity.
    [[nodiscard]] std::vector<std::pair<std::int32_t, std::int32_t>> entries() const;

    friend bool operator==(const IdentityIndex& a, const IdentityIndex& b) { return a.entries() == b.entries(); }

private:
    static constexpr std::int32_t kLeast = -32768;
    static constexpr std::size_t kSlots = 65536;
    // No position is this low (positions are cache indexes), so it marks a
    // free slot.
    static constexpr std::int32_t kFree = INT32_MIN;

    static constexpr std::size_t kBlock = 256;

    static bool isNarrow(std::int32_t identity) { return identity >= kLeast && identity < kLeast + std::int32_t{kSlots}; }
    std::int32_t& slot(std::int32_t identity);

    // Block b holds the slots of identities kLeast + 256 b onwards; empty
    // until one of them is entered.
    std::vector<std::vector<std::int32_t>> narrow_;
    std::size_t count_ = 0;  // slots in use
    std::unordered_map<std::int32_t, std::int32_t> wide_;
};

}  // namespace quorin
