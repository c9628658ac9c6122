// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/HandMap.h"

namespace quorin::testing {

Syntax Node(std::int32_t identity, std::int32_t engine, std::int32_t expType, std::int32_t valueType,
            std::int32_t value, std::int32_t sibling, std::int32_t kid, std::string text) {
    Syntax node;
    node.ExpIdentity = identity;
    node.EngineIdentity = engine;
    node.ExpType = expType;
    node.ValueType = valueType;
    node.ScriptValue = value;
    node.SibExpPointer = sibling;
    node.KidExpPointer = kid;
    node.Command = std::move(text);
    return node;
}

MapState HandMap(std::vector<Syntax> nodes, std::vector<ScriptHeader> scripts, std::vector<GlobalHeader> globals) {
    MapState map;
    map.SyntaxCache = std::move(nodes);
    map.ScriptHeaderCache = std::move(scripts);
    map.GlobalHeaderCache = std::move(globals);
    for (std::size_t i = 0; i < map.SyntaxCache.size(); ++i) {
        map.SyntaxByIdentity[map.SyntaxCache[i].ExpIdentity] = static_cast<std::int32_t>(i);
    }
    for (std::size_t i = 0; i < map.ScriptHeaderCache.size(); ++i) {
        map.ScriptsByName[map.ScriptHeaderCache[i].Name] = static_cast<std::int32_t>(i);
    }
    for (std::size_t i = 0; i < map.GlobalHeaderCache.size(); ++i) {
        map.GlobalsByName[map.GlobalHeaderCache[i].Name] = static_cast<std::int32_t>(i);
    }
    return map;
}

std::vector<Syntax> FooNodes() {
    return {
        Node(100, 12, 8, 4, 0, 103, 101),
        Node(101, 12, 9, 2, 0, 102, 0, "sleep"),
        Node(102, 7, 9, 7, 30, -1, 0, "30"),
        Node(103, 20, 8, 4, 0, -1, 104),
        Node(104, 20, 9, 2, 0, 105, 0, "set"),
        Node(105, 7, 13, 7, 0, 106, 0, "x"),
        Node(106, 30, 8, 7, 0, -1, 107),
        Node(107, 30, 9, 2, 0, 108, 0, "abs"),
        Node(108, 7, 9, 7, 5, -1, -1, "5"),
        Node(109, 0, 8, 4, 0, -1, 110),
        Node(110, 0, 9, 2, 0, 100, 0, "begin"),
    };
}

ScriptHeader FooScript() { return {"foo", 3, 4, 109, 0}; }

}  // namespace quorin::testing
