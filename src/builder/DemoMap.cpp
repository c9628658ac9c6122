// SPDX-License-Identifier: GPL-3.0-or-later
#include "builder/DemoMap.h"

#include "map/FileLayout.h"

namespace quorin {

namespace {

// Node identities of the demo are 100 + position, so the walk of each script
// (every position from its first statement up to its root) is easy to follow.
constexpr std::int32_t kNone = layout::kNoLink;
constexpr std::int32_t kGroup = layout::expType::kGroup;
constexpr std::int32_t kLeaf = layout::expType::kCommand;  // function name or constant
constexpr std::int32_t kRef = layout::expType::kVariable;
constexpr std::int32_t kFunctionName = layout::valueType::kFunctionName;

std::int32_t Id(int position) { return 100 + position; }

class NodeList {
public:
    explicit NodeList(std::vector<Syntax>& nodes) : nodes_(nodes) {}
    // Appends a node; links are given as positions (kNone for none).
    void add(std::int32_t engine, std::int32_t expType, std::int32_t valueType, std::int32_t value,
             std::int32_t siblingPosition, std::int32_t kidPosition, std::string text = {}) {
        Syntax node;
        node.ExpIdentity = Id(static_cast<int>(nodes_.size()));
        node.EngineIdentity = engine;
        node.ExpType = expType;
        node.ValueType = valueType;
        node.ScriptValue = value;
        node.SibExpPointer = siblingPosition == kNone ? kNone : Id(siblingPosition);
        node.KidExpPointer = kidPosition == kNone ? kNone : kidPosition == kZeroKid ? 0 : Id(kidPosition);
        node.Command = std::move(text);
        nodes_.push_back(std::move(node));
    }
    static constexpr std::int32_t kZeroKid = -2;  // the value field's upper half is 0

private:
    std::vector<Syntax>& nodes_;
};

}  // namespace

MapBuilder DemoMap() {
    MapBuilder map;
    map.mapName = "saltmarsh";
    map.tagName = "levels\\saltmarsh\\saltmarsh";
    NodeList n(map.nodes);
    constexpr std::int32_t z = NodeList::kZeroKid;

    // 0: value of alarm_raised (true). Node 0's sibling field holds the count.
    n.add(7, kLeaf, 5, -255, kNone, z, "true");

    // 1-11: patrol_loop, static void: (begin (sleep 30) (set x (abs 5))).
    n.add(12, kGroup, 4, 0, 4, 2);
    n.add(12, kLeaf, kFunctionName, 0, 3, z, "sleep");
    n.add(7, kLeaf, 7, 30, kNone, z, "30");
    n.add(20, kGroup, 4, 0, kNone, 5);
    n.add(20, kLeaf, kFunctionName, 0, 6, z, "set");
    n.add(7, kRef, 7, 0, 7, z, "x");
    n.add(30, kGroup, 7, 0, kNone, 8);
    n.add(30, kLeaf, kFunctionName, 0, 9, z, "abs");
    n.add(7, kLeaf, 7, 5, kNone, kNone, "5");
    n.add(0, kGroup, 4, 0, kNone, 11);
    n.add(0, kLeaf, kFunctionName, 0, 1, z, "begin");

    // 12-20: intro, startup: a string with spaces and parentheses, a
    // variable reference and a false boolean.
    n.add(40, kGroup, 4, 0, 15, 13);
    n.add(40, kLeaf, kFunctionName, 0, 14, z, "print");
    n.add(7, kLeaf, 9, 0, kNone, z, "hello, world (again)");
    n.add(20, kGroup, 4, 0, kNone, 16);
    n.add(20, kLeaf, kFunctionName, 0, 17, z, "set");
    n.add(7, kRef, 5, 0, 18, z, "alarm_raised");
    n.add(7, kLeaf, 5, -256, kNone, kNone, "false");
    n.add(0, kGroup, 4, 0, kNone, 20);
    n.add(0, kLeaf, kFunctionName, 0, 12, z, "begin");

    // 21-28: watch_gate, continuous: a nested group closed on its line.
    n.add(42, kGroup, 4, 0, kNone, 22);
    n.add(42, kLeaf, kFunctionName, 0, 23, z, "sleep_until");
    n.add(43, kGroup, 5, 0, 26, 24);
    n.add(43, kLeaf, kFunctionName, 0, 25, z, "volume_test");
    n.add(7, kLeaf, 11, 0, 26, kNone, "gate_volume");
    n.add(7, kLeaf, 7, 30, kNone, z, "30");
    n.add(0, kGroup, 4, 0, kNone, 28);
    n.add(0, kLeaf, kFunctionName, 0, 21, z, "begin");

    // 29-38: open_vault, dormant void: a negative long, and a node with
    // engine identity -1 that prints its text instead of opening a group.
    n.add(20, kGroup, 4, 0, 33, 30);
    n.add(20, kLeaf, kFunctionName, 0, 31, z, "set");
    n.add(7, kRef, 8, 0, 32, z, "vault_code");
    n.add(7, kLeaf, 8, -1200, kNone, z, "-1200");
    n.add(-1, kGroup, 4, 0, 34, z, "vault_open_sequence");
    n.add(45, kGroup, 4, 0, kNone, 35);
    n.add(45, kLeaf, kFunctionName, 0, 36, z, "object_create");
    n.add(7, kLeaf, 43, 0, kNone, z, "vault_door");
    n.add(0, kGroup, 4, 0, kNone, 38);
    n.add(0, kLeaf, kFunctionName, 0, 29, z, "begin");

    // 39-44: difficulty_bonus, static real: true, a negative real and a
    // boolean whose value is neither true nor false (printed as its text).
    n.add(46, kGroup, 6, 0, kNone, 40);
    n.add(46, kLeaf, kFunctionName, 0, 41, z, "if");
    n.add(7, kLeaf, 5, -255, 42, z, "true");
    n.add(7, kLeaf, 6, -2, 43, z, "-2");
    n.add(7, kLeaf, 5, 7, kNone, z, "maybe");
    n.add(0, kGroup, 6, 0, kNone, 45);
    n.add(0, kLeaf, kFunctionName, 0, 39, z, "begin");

    // 46-48: debug_hook, stub boolean: the root's first child is a variable
    // reference, so there is no line of its own for it.
    n.add(7, kLeaf, 5, -255, kNone, z, "true");
    n.add(0, kGroup, 5, 0, kNone, 48);
    n.add(7, kRef, 5, 0, 46, z, "debug_enabled");

    // 49-53: values of the remaining globals.
    n.add(7, kLeaf, 5, -256, kNone, z, "false");
    n.add(7, kLeaf, 7, 4, kNone, z, "4");
    n.add(7, kLeaf, 6, -2, kNone, z, "-2");
    n.add(7, kLeaf, 8, 1200, kNone, z, "1200");
    n.add(7, kLeaf, 9, 0, kNone, z, "Commander Vey");

    map.scripts = {
        {"patrol_loop", 3, 4, Id(10), 0},
        {"intro", 0, 4, Id(19), 0},
        {"watch_gate", 2, 4, Id(27), 0},
        {"open_vault", 1, 4, Id(37), 0},
        {"difficulty_bonus", 3, 6, Id(44), 0},
        {"debug_hook", 4, 5, Id(47), 0},
    };
    map.globals = {
        {"alarm_raised", 5, Id(0), 0},   {"vault_open", 5, Id(49), 0},    {"guard_count", 7, Id(50), 0},
        {"gravity_scale", 6, Id(51), 0}, {"vault_code", 8, Id(52), 0},    {"briefing_line", 9, Id(53), 0},
    };
    return map;
}

}  // namespace quorin
