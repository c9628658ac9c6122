// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MaximalMap.h"

#include "map/FileLayout.h"
#include "map/TextFormat.h"

namespace quorin {

namespace {

constexpr std::int32_t kGroup = layout::expType::kGroup;
constexpr std::int32_t kLeaf = layout::expType::kCommand;
constexpr std::int32_t kRef = layout::expType::kVariable;
constexpr std::int32_t kFunctionName = layout::valueType::kFunctionName;

// Identities are position + 1, so every identity is positive and distinct.
std::int32_t Id(std::size_t position) { return static_cast<std::int32_t>(position) + 1; }

// Appends a node; links are positions, or -1 for none.
void Add(std::vector<Syntax>& nodes, std::int32_t engine, std::int32_t expType, std::int32_t valueType,
         std::int32_t value, std::int64_t sibling, std::int64_t kid, std::string text) {
    Syntax node;
    node.ExpIdentity = Id(nodes.size());
    node.EngineIdentity = engine;
    node.ExpType = expType;
    node.ValueType = valueType;
    node.ScriptValue = value;
    node.SibExpPointer = sibling < 0 ? -1 : Id(static_cast<std::size_t>(sibling));
    node.KidExpPointer = kid < 0 ? static_cast<std::int32_t>(kid) : Id(static_cast<std::size_t>(kid));
    node.Command = std::move(text);
    nodes.push_back(std::move(node));
}

std::string Text(const char* stem, std::size_t position) {
    std::string text = stem;
    AppendDecimal(text, static_cast<std::int64_t>(position));
    return text;
}

}  // namespace

MapBuilder MaximalMap() {
    MapBuilder map;
    map.padTo = kMaximalFileSize;
    std::vector<Syntax>& nodes = map.nodes;
    nodes.reserve(kMaximalNodes);
    // Node 0's sibling field holds the count, so it starts no script.
    Add(nodes, 7, kLeaf, 7, 0, -1, 0, "maximal_value_node_0");

    for (int script = 0; script < kMaximalScripts; ++script) {
        const int statements = script == 0 ? 400 : 3;
        const std::size_t first = nodes.size();
        for (int statement = 0; statement < statements; ++statement) {
            // ( set variable value ) in four nodes
            const std::size_t group = nodes.size();
            const bool last = statement + 1 == statements;
            Add(nodes, 20, kGroup, 4, 0, last ? -1 : static_cast<std::int64_t>(group + 4), group + 1, "");
            Add(nodes, 20, kLeaf, kFunctionName, 0, group + 2, 0, Text("maximal_command_set_", group + 1));
            Add(nodes, 7, kRef, 7, 0, group + 3, 0, Text("maximal_variable_name_", group + 2));
            Add(nodes, 7, kLeaf, 7 + statement % 2, -(statement % 300), -1, statement % 2 ? -1 : 0,
                Text("maximal_constant_text_", group + 3));
        }
        const std::size_t root = nodes.size();
        Add(nodes, 0, kGroup, 4, 0, -1, root + 1, "");
        Add(nodes, 0, kLeaf, kFunctionName, 0, static_cast<std::int64_t>(first), 0, Text("maximal_begin_command_", root + 1));
        ScriptHeader header;
        header.Name = Text("maximal_script_", static_cast<std::size_t>(script));
        header.Type = script % 5;
        header.ReturnType = script % 49;
        header.ExpPointer = Id(root);
        map.scripts.push_back(std::move(header));
    }
    const std::size_t valuesFrom = nodes.size();
    while (nodes.size() < static_cast<std::size_t>(kMaximalNodes)) {
        const std::size_t at = nodes.size();
        Add(nodes, 7, kLeaf, 5 + static_cast<std::int32_t>(at % 4), -255 - static_cast<std::int32_t>(at % 2), -1, 0,
            Text("maximal_global_value_", at));
    }
    for (int global = 0; global < kMaximalGlobals; ++global) {
        GlobalHeader header;
        header.Name = Text("maximal_global_", static_cast<std::size_t>(global));
        header.Type = 5 + global % 4;
        header.ExpPointer = Id(valuesFrom + static_cast<std::size_t>(global) % (nodes.size() - valuesFrom));
        map.globals.push_back(std::move(header));
    }
    return map;
}

}  // namespace quorin
