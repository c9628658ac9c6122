// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test support: a MapState filled by hand, without a file, for texts that
// only read the caches.

#include <vector>

#include "map/MapState.h"

namespace quorin::testing {

// A node: identity, engine identity, expression type, value type, value,
// sibling identity, child identity, text.
Syntax Node(std::int32_t identity, std::int32_t engine, std::int32_t expType, std::int32_t valueType,
            std::int32_t value, std::int32_t sibling, std::int32_t kid, std::string text = {});

// Sets the three caches and builds the three dictionaries as the loader does
// (later records win).
MapState HandMap(std::vector<Syntax> nodes, std::vector<ScriptHeader> scripts = {},
                 std::vector<GlobalHeader> globals = {});

// The nodes of the script foo (static void, root identity 109) used in the
// examples: (begin (sleep 30) (set x (abs 5))).
std::vector<Syntax> FooNodes();
ScriptHeader FooScript();

}  // namespace quorin::testing
