// quorin-cli: the core in batch. stdout carries only a command's result,
// byte for byte; every message goes to stderr, one per line.

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "app/cli/CliCommand.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"

namespace quorin::cli {

namespace {

std::vector<CliCommandInfo>& Table() {
    static std::vector<CliCommandInfo> table;
    return table;
}

void PrintUsage(std::ostream& to) {
    to << "usage: quorin-cli [--map-names FILE] [--backup] COMMAND ARGS...\n"
          "commands:\n";
    for (const CliCommandInfo& command : RegisteredCommands()) to << "  " << command.usage << '\n';
    to << "The map names file holds exactly eleven stock map names, one a line;\n"
          "QUORIN_MAP_NAMES may name it instead of --map-names.\n"
          "--backup copies MAP to MAP.bak before set or protect writes it.\n";
}

int Usage(std::ostream& err, const std::string& problem) {
    err << "quorin-cli: " << problem << '\n';
    PrintUsage(err);
    return kUsage;
}

}  // namespace

CommandRegistration::CommandRegistration(CliCommandInfo info) { Table().push_back(std::move(info)); }

const std::vector<CliCommandInfo>& RegisteredCommands() { return Table(); }

std::optional<MapState> LoadForCommand(CliContext& context, const std::string& path, OpenMode mode) {
    MapState state;
    state.backupBeforeFirstWrite = context.backup;
    if (auto opened = OpenMap(state, path, context.mapNames, mode); !opened) {
        context.err << opened.error().message << '\n';
        return std::nullopt;
    }
    context.err << kMapLoaded << '\n';
    return state;
}

std::optional<long long> ParseWholeNumber(const std::string& text) {
    // Leading blanks, an optional sign, then decimal digits and nothing else.
    const char* from = text.data();
    const char* end = text.data() + text.size();
    while (from != end && (*from == ' ' || (*from >= '\t' && *from <= '\r'))) ++from;
    if (from != end && *from == '+') {
        ++from;
        if (from != end && *from == '-') return std::nullopt;
    }
    long long value = 0;
    const auto [stop, error] = std::from_chars(from, end, value, 10);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

int Run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words(argv + 1, argv + argc);
    std::optional<std::string> namesFile;
    bool force = false;
    bool backup = false;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--map-names") {
            if (i + 1 >= words.size()) return Usage(err, "--map-names needs a file");
            namesFile = words[++i];
        } else if (words[i] == "--force") {
            force = true;
        } else if (words[i] == "--backup") {
            backup = true;
        } else if (words[i] == "--help" || words[i] == "-h") {
            PrintUsage(out);
            return kSuccess;
        } else {
            rest.push_back(words[i]);
        }
    }
    if (rest.empty()) return Usage(err, "no command given");

    auto mapNames = ResolveMapNames(namesFile, std::getenv("QUORIN_MAP_NAMES"));
    if (!mapNames) return Usage(err, mapNames.error().message);

    const std::string name = rest.front();
    rest.erase(rest.begin());
    for (const CliCommandInfo& command : RegisteredCommands()) {
        if (command.name != name) continue;
        if (rest.size() < command.leastArgs || rest.size() > command.mostArgs) {
            return Usage(err, "usage: quorin-cli " + command.usage);
        }
        CliContext context{std::move(rest), std::move(*mapNames), force, backup, out, err};
        return command.run(context);
    }
    return Usage(err, "unknown command \"" + name + "\"");
}

}  // namespace quorin::cli

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const int code = quorin::cli::Run(argc, argv, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
