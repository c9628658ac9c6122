// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The facts `info` prints, one row each, so the text and the JSON document
// name and order them alike.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "map/MapState.h"

namespace quorin::cli {

struct MapFact {
    enum class Shown { Decimal, Hexadecimal, Text };
    std::string_view label;  // "index offset"
    Shown shown = Shown::Decimal;
    std::int64_t number = 0;  // Decimal and Hexadecimal
    std::string_view text;    // Text: map bytes, in the map given
};

std::vector<MapFact> InfoFacts(const MapState& map);

}  // namespace quorin::cli
