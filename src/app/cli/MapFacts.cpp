// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/MapFacts.h"

namespace quorin::cli {

std::vector<MapFact> InfoFacts(const MapState& map) {
    using Shown = MapFact::Shown;
    const auto count = [](std::size_t size) { return static_cast<std::int64_t>(size); };
    return {
        {"version", Shown::Decimal, map.version, {}},
        {"index offset", Shown::Hexadecimal, map.indexOffset, {}},
        {"magic", Shown::Hexadecimal, map.magic, {}},
        {"scenario name", Shown::Text, 0, map.Scenario.Name},
        {"scenario class", Shown::Text, 0, map.Scenario.Class1},
        {"scenario offset", Shown::Hexadecimal, map.Scenario.Offset, {}},
        {"string table", Shown::Hexadecimal, map.ScriptTableOuter, {}},
        {"scripts", Shown::Decimal, count(map.ScriptHeaderCache.size()), {}},
        {"globals", Shown::Decimal, count(map.GlobalHeaderCache.size()), {}},
        {"syntax nodes", Shown::Decimal, count(map.SyntaxCache.size()), {}},
    };
}

}  // namespace quorin::cli
