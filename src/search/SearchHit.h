// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One thing a search found. A hit carries its own texts, so a list of hits
// can be written out (or shown) without the map that produced it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorin {

enum class HitKind {
    Script,  // a script whose name holds the query
    Global,  // a global whose name holds the query
    Use,     // a node of a script's text whose Command holds the query
};

struct SearchHit {
    HitKind kind = HitKind::Script;
    // The script's or global's cache position; for a use, its script's.
    std::size_t position = 0;
    // The script's or global's name; for a use, the name in its script's own
    // record (two scripts may share it; position tells them apart).
    std::string name;
    // A use only: the node's cache position, identity and Command.
    std::size_t node = 0;
    std::int32_t identity = 0;
    std::string text;

    bool operator==(const SearchHit&) const = default;
};

}  // namespace quorin
