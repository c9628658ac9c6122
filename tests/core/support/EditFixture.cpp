// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/EditFixture.h"

#include "support/HandMap.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace quorin::testing {


MapBuilder EditFixtureBuilder() {
    MapBuilder map;
    map.scripts = {
        {"abc", 0, 4, 11, 0},
        {"twin", 2, 5, 12, 0},
        {"twin", 3, 7, 13, 0},
        {"a_much_longer_script_name", 1, 9, 10, 0},
    };
    map.globals = {
        {"longer_global_name", 5, 12, 0},
        {"g_short", 7, 13, 0},
    };
    // Node 0's sibling field is the node count.
    map.nodes = {
        Node(10, 1, 8, 4, 0, 0, 11, "begin"),
        Node(11, 22, 9, 5, 300, 12, 12, "set"),
        Node(12, 33, 9, 7, 77, 13, -1, "abs"),
        Node(13, 44, 13, 6, -5, -1, 11, "x"),
    };
    map.stringTableAt = kFixtureStringTable;
    return map;
}

EditFixture WriteEditFixture(const TempDir& dir, const std::string& name) {
    const MapBuilder builder = EditFixtureBuilder();
    EditFixture fixture;
    fixture.layout = builder.layout();
    fixture.bytes = builder.build();
    fixture.path = dir.path(name);
    WriteBytes(fixture.path, fixture.bytes);
    return fixture;
}

std::string FileImage(const std::string& path) {
    if (std::filesystem::is_directory(path)) return "directory";
    if (!std::filesystem::exists(path)) return "missing";
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string StateImage(const MapState& state) {
    std::string image = "T " + std::to_string(state.ScriptTableOuter) + "\n";
    for (const ScriptHeader& s : state.ScriptHeaderCache) {
        image += "script " + s.Name + " " + std::to_string(s.Type) + " " + std::to_string(s.ReturnType) + " " +
                 std::to_string(s.ExpPointer) + " @" + std::to_string(s.Offset) + "\n";
    }
    for (const GlobalHeader& g : state.GlobalHeaderCache) {
        image += "global " + g.Name + " " + std::to_string(g.Type) + " " + std::to_string(g.ExpPointer) + " @" +
                 std::to_string(g.Offset) + "\n";
    }
    for (const Syntax& n : state.SyntaxCache) {
        image += "node " + std::to_string(n.ExpIdentity) + " " + std::to_string(n.EngineIdentity) + " " +
                 std::to_string(n.ValueType) + " " + std::to_string(n.ExpType) + " " +
                 std::to_string(n.SibExpPointer) + " " + std::to_string(n.ScriptTableOffset) + " " +
                 std::to_string(n.ScriptValue) + " " + std::to_string(n.KidExpPointer) + " @" +
                 std::to_string(n.offset) + " " + n.Command + "\n";
    }
    for (const auto& [name, position] : std::map(state.ScriptsByName.begin(), state.ScriptsByName.end())) {
        image += "ScriptsByName " + name + " " + std::to_string(position) + "\n";
    }
    for (const auto& [name, position] : std::map(state.GlobalsByName.begin(), state.GlobalsByName.end())) {
        image += "GlobalsByName " + name + " " + std::to_string(position) + "\n";
    }
    for (const auto& [identity, position] : state.SyntaxByIdentity.entries()) {
        image += "SyntaxByIdentity " + std::to_string(identity) + " " + std::to_string(position) + "\n";
    }
    return image;
}

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::int64_t at,
                                  const std::vector<std::uint8_t>& patch) {
    std::copy(patch.begin(), patch.end(), bytes.begin() + at);
    return bytes;
}

}  // namespace quorin::testing
