// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/IdentityIndex.h"

#include <algorithm>

namespace quorin {

std::optional<std::int32_t> IdentityIndex::find(std::int32_t identity) const {
    if (isNarrow(identity)) {
        const auto at = static_cast<std::size_t>(identity - kLeast);
        if (narrow_.empty() || narrow_[at / kBlock].empty()) return std::nullopt;
        const std::int32_t position = narrow_[at / kBlock][at % kBlock];
        if (position == kFree) return std::nullopt;
        return position;
    }
    const auto found = wide_.find(identity);
    if (found == wide_.end()) return std::nullopt;
    return found->second;
}

std::int32_t& IdentityIndex::slot(std::int32_t identity) {
    const auto at = static_cast<std::size_t>(identity - kLeast);
    if (narrow_.empty()) narrow_.resize(kSlots / kBlock);
    std::vector<std::int32_t>& block = narrow_[at / kBlock];
    if (block.empty()) block.assign(kBlock, kFree);
    std::int32_t& position = block[at % kBlock];
    if (position == kFree) {
        position = 0;
        ++count_;
    }
    return position;
}

void IdentityIndex::set(std::int32_t identity, std::int32_t position) { (*this)[identity] = position; }

std::int32_t& IdentityIndex::operator[](std::int32_t identity) {
    if (isNarrow(identity)) return slot(identity);
    return wide_[identity];
}

std::vector<std::pair<std::int32_t, std::int32_t>> IdentityIndex::entries() const {
    std::vector<std::pair<std::int32_t, std::int32_t>> all;
    all.reserve(size());
    for (std::size_t b = 0; b < narrow_.size(); ++b) {
        for (std::size_t i = 0; i < narrow_[b].size(); ++i) {
            const std::int32_t position = narrow_[b][i];
            if (position != kFree) all.emplace_back(static_cast<std::int32_t>(b * kBlock + i) + kLeast, position);
        }
    }
    all.insert(all.end(), wide_.begin(), wide_.end());
    std::sort(all.begin(), all.end());
    return all;
}

}  // namespace quorin
