#pragma once
// The node cache and its identity dictionary seen together, so one walk
// serves both the live map and an extraction snapshot.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/MapState.h"
#include "map/Records.h"

namespace quorin {

struct SyntaxView {
    const std::vector<Syntax>& SyntaxCache;
    const IdentityIndex& SyntaxByIdentity;

    // The cache position of an identity. An identity the dictionary lacks
    // falls back to position 0, and so does a position the cache does not
    // hold, so every position given out lies inside a non-empty cache.
    [[nodiscard]] std::size_t positionOf(std::int32_t identity) const;
    // The node of an identity with the same fallback; nullptr only when the
    // cache is empty.
    [[nodiscard]] const Syntax* nodeOf(std::int32_t identity) const;

    static SyntaxView of(const MapState& map) { return {map.SyntaxCache, map.SyntaxByIdentity}; }
};

}  // namespace quorin
