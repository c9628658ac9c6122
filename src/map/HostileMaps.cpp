// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/HostileMaps.h"

#include <algorithm>
#include <string>

#include "map/FileLayout.h"

namespace quorin {

namespace {

// Identities are position + 1, so no node has identity 0 or -1.
std::int32_t Id(int position) { return position + 1; }

// Nodes 0 .. count-3 are walked leaves, count-2 is the root's first child
// (its sibling is node 0, where the walk starts) and count-1 the root.
MapBuilder WalkedNodes(int count, std::int32_t leafValueType, bool leafTexts) {
    MapBuilder map;
    map.nodes.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Syntax node;
        node.ExpIdentity = Id(i);
        node.ExpType = layout::expType::kCommand;
        node.ValueType = leafValueType;
        node.EngineIdentity = i % 30000;
        if (leafTexts) node.Command = "x";
        map.nodes.push_back(std::move(node));
    }
    Syntax& child = map.nodes[static_cast<std::size_t>(count - 2)];
    child.SibExpPointer = Id(0);
    Syntax& root = map.nodes.back();
    root.ExpType = layout::expType::kGroup;
    root.KidExpPointer = Id(count - 2);
    return map;
}

ScriptHeader Walker(int i, int nodes) {
    ScriptHeader script;
    script.Name = "walker_" + std::to_string(i);
    script.Type = 1;
    script.ReturnType = 4;
    script.ExpPointer = Id(nodes - 1);
    return script;
}

}  // namespace

MapBuilder LongNodeTextsMap(int nodes, std::int64_t runBytes) {
    MapBuilder map = WalkedNodes(nodes, layout::valueType::kFunctionName, true);
    map.scripts.push_back(Walker(0, nodes));
    // The texts were placed two bytes apart; the run overwrites their zero
    // bytes and reaches the end of the file.
    runBytes = std::max<std::int64_t>(runBytes, 2 * std::int64_t{nodes} + 1);
    const std::int64_t run = map.layout().stringTable;
    map.padTo = run + runBytes;
    map.overwrites.push_back({run, std::string(static_cast<std::size_t>(runBytes), 'x')});
    return map;
}

MapBuilder WideWalkMap(int scripts, int nodes) {
    MapBuilder map = WalkedNodes(nodes, layout::valueType::kShort, false);
    for (int i = 0; i < scripts; ++i) map.scripts.push_back(Walker(i, nodes));
    return map;
}

MapBuilder RunOnNamesMap(int entries) {
    MapBuilder map = WalkedNodes(3, layout::valueType::kShort, false);
    for (int i = 0; i < entries; ++i) {
        map.scripts.push_back(Walker(i, 3));
        GlobalHeader global;
        global.Name = "runs_on_" + std::to_string(i);
        global.Type = 7;
        global.ExpPointer = Id(0);
        map.globals.push_back(std::move(global));
    }
    // Every byte of both tables, padding included, up to the syntax block.
    const MapLayout at = map.layout();
    map.overwrites.push_back({at.scriptTable, std::string(static_cast<std::size_t>(at.syntaxBlock - at.scriptTable), 'n')});
    return map;
}

}  // namespace quorin
