// info, list and demo: what a map holds, and the built-in demo map.

#include <filesystem>
#include <ostream>

#include "app/cli/CliCommand.h"
#include "browse/RowText.h"
#include "map/DemoMap.h"
#include "map/TextFormat.h"

namespace quorin::cli {

namespace {

std::string Hex(std::int64_t value) { return "0x" + Hexadecimal(static_cast<std::int32_t>(value)); }

int Info(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const MapState& map = *state;
    std::ostream& out = context.out;
    out << "version: " << map.version << '\n'
        << "index offset: " << Hex(map.indexOffset) << '\n'
        << "magic: " << Hex(map.magic) << '\n'
        << "scenario name: " << map.Scenario.Name << '\n'
        << "scenario class: " << map.Scenario.Class1 << '\n'
        << "scenario offset: " << Hex(map.Scenario.Offset) << '\n'
        << "string table: " << Hex(map.ScriptTableOuter) << '\n'
        << "scripts: " << map.ScriptHeaderCache.size() << '\n'
        << "globals: " << map.GlobalHeaderCache.size() << '\n'
        << "syntax nodes: " << map.SyntaxCache.size() << '\n';
    return kSuccess;
}

int List(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    // The rows the tree shows under the two folders.
    for (const ScriptHeader& script : state->ScriptHeaderCache) context.out << ScriptRowText(script.Name) << '\n';
    for (const GlobalHeader& global : state->GlobalHeaderCache) context.out << GlobalRowText(global.Name) << '\n';
    return kSuccess;
}

int Demo(CliContext& context) {
    const std::string& path = context.args[0];
    std::error_code code;
    if (std::filesystem::exists(path, code) && !context.force) {
        context.err << "\"" << path << "\" exists already; give --force to replace it.\n";
        return kRefused;
    }
    if (auto written = DemoMap().writeTo(path); !written) {
        context.err << written.error().message << '\n';
        return kRefused;
    }
    return kSuccess;
}

const CommandRegistration info({"info", "info MAP", 1, 1, Info});
const CommandRegistration list({"list", "list MAP", 1, 1, List});
const CommandRegistration demo({"demo", "demo OUT [--force]", 1, 1, Demo});

}  // namespace

}  // namespace quorin::cli
