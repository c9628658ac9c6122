// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/EdgeMaps.h"

namespace quorin::testing {

namespace {

void Node(MapBuilder& map, std::int32_t expType, std::int32_t valueType, std::int32_t value, std::int32_t sibling,
          std::int32_t kid, const char* text) {
    Syntax node;
    node.ExpIdentity = 10 + static_cast<std::int32_t>(map.nodes.size());
    node.EngineIdentity = expType == 8 ? 20 : 7;
    node.ExpType = expType;
    node.ValueType = valueType;
    node.ScriptValue = value;
    node.SibExpPointer = sibling;
    node.KidExpPointer = kid;
    node.Command = text;
    map.nodes.push_back(node);
}

}  // namespace

MapBuilder EdgeMap() {
    MapBuilder map;
    Node(map, 9, 5, -255, -1, 0, "true");     // 0, id 10: value of flag
    Node(map, 8, 4, 0, -1, 12, "");           // 1, id 11: ( print hi )
    Node(map, 9, 2, 0, 13, 0, "print");       // 2, id 12
    Node(map, 9, 9, 0, -1, -1, "hi");         // 3, id 13
    Node(map, 8, 4, 0, -1, 15, "");           // 4, id 14: root of the first "twice"
    Node(map, 9, 2, 0, 11, 0, "begin");       // 5, id 15
    Node(map, 9, 7, 5, -1, -1, "5");          // 6, id 16: body of the second "twice", value of g1
    Node(map, 8, 4, 0, -1, 18, "");           // 7, id 17: root of the second "twice"
    Node(map, 9, 2, 0, 16, 0, "begin");       // 8, id 18
    Node(map, 8, 4, 0, -1, 20, "");           // 9, id 19: root of "late"
    Node(map, 9, 2, 0, 21, 0, "begin");       // 10, id 20
    Node(map, 9, 7, 1, -1, -1, "1");          // 11, id 21
    map.scripts = {
        {"twice", 3, 4, 14, 0}, {"twice", 1, 5, 17, 0}, {"late", 0, 4, 19, 0},
        {"lost", 4, 7, 999, 0}, {"a: b", 2, 4, 14, 0}, {"caf\xe9", 1, 6, 19, 0},
    };
    map.globals = {{"g1", 7, 16, 0}, {"flag", 5, 10, 0}, {"odd", 60, 16, 0}};
    return map;
}

MapBuilder SearchMap() {
    MapBuilder map;
    Node(map, 9, 9, 0, -1, 0, "Fallback_Text");        // 0, id 10 (the builder writes its sibling as the count)
    Node(map, 8, 4, 0, 14, 12, "");                    // 1, id 11: ( ai_attach unit_Alpha )
    Node(map, 9, 2, 0, 13, 0, "ai_attach");            // 2, id 12
    Node(map, 9, 38, 0, -1, -1, "unit_Alpha");         // 3, id 13
    Node(map, 8, 4, 0, -1, 15, "");                    // 4, id 14: ( set vault_open true )
    Node(map, 9, 2, 0, 16, 0, "set");                  // 5, id 15
    Node(map, 13, 5, 0, 17, 0, "vault_open");          // 6, id 16
    Node(map, 9, 5, -255, -1, -1, "true");             // 7, id 17
    Node(map, 8, 4, 0, -1, 19, "");                    // 8, id 18: root of AI_Attach_Loop
    Node(map, 9, 2, 0, 11, 0, "begin");                // 9, id 19
    Node(map, 8, 4, 0, -1, 21, "");                    // 10, id 20: root of beta
    Node(map, 9, 2, 0, 14, 0, "begin");                // 11, id 21
    Node(map, 9, 2, 0, -1, -1, "sleep");               // 12, id 22
    Node(map, 8, 4, 0, -1, 24, "");                    // 13, id 23: root of gamma
    Node(map, 8, 2, 0, 22, 0, "ai_attach_group");      // 14, id 24
    Node(map, 9, 9, 0, -1, -1, "path\\to\tthe\nend\r");  // 15, id 25
    Node(map, 8, 4, 0, -1, 27, "");                    // 16, id 26: root of delta
    Node(map, 9, 2, 0, 25, 0, "print");                // 17, id 27
    map.scripts = {
        {"AI_Attach_Loop", 3, 4, 18, 0}, {"beta", 1, 4, 20, 0}, {"gamma", 0, 4, 23, 0},
        {"lost", 4, 4, 999, 0},          {"caf\xe9", 3, 4, 23, 0}, {"delta", 2, 4, 26, 0},
    };
    map.globals = {{"vault_open", 5, 17, 0}, {"tab\tname\\x", 7, 13, 0}};
    return map;
}

MapBuilder CountsMap(int scripts, int globals) {
    MapBuilder map;
    Node(map, 9, 7, 3, -1, -1, "3");    // 0, id 10
    Node(map, 8, 4, 0, -1, 12, "");     // 1, id 11: root
    Node(map, 9, 2, 0, 10, 0, "begin"); // 2, id 12
    for (int i = 0; i < scripts; ++i) map.scripts.push_back({"script_" + std::to_string(i), 3, 4, 11, 0});
    for (int i = 0; i < globals; ++i) map.globals.push_back({"global_" + std::to_string(i), 7, 10, 0});
    return map;
}

}  // namespace quorin::testing
