// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli: the core in batch. stdout carries only a command's result,
// byte for byte; every message goes to stderr, one per line.

#include <charconv>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <utility>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandLine.h"
#include "app/cli/TerminalOutput.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "file/SystemFile.h"

namespace quorin::cli {

namespace {

std::vector<CliCommandInfo>& Table() {
    static std::vector<CliCommandInfo> table;
    return table;
}

std::vector<std::pair<std::string, CommandRun>>& JsonTable() {
    static std::vector<std::pair<std::string, CommandRun>> table;
    return table;
}

int Usage(std::ostream& err, const std::string& problem) {
    err << "quorin-cli: " << problem << '\n' << UsageText();
    return kUsage;
}

}  // namespace

bool CliContext::hasFlag(std::string_view flag) const {
    for (const std::string& given : flags) {
        if (given == flag) return true;
    }
    return false;
}

CommandRegistration::CommandRegistration(CliCommandInfo info) { Table().push_back(std::move(info)); }

const std::vector<CliCommandInfo>& RegisteredCommands() { return Table(); }

JsonRegistration::JsonRegistration(std::string command, CommandRun run) {
    JsonTable().emplace_back(std::move(command), run);
}

CommandRun JsonRunOf(std::string_view command) {
    for (const auto& [name, run] : JsonTable()) {
        if (name == command) return run;
    }
    return nullptr;
}

std::vector<std::string> JsonCommands() {
    std::vector<std::string> names;
    for (const auto& entry : JsonTable()) names.push_back(entry.first);
    return names;
}

MapState* LoadForCommand(CliContext& context, const std::string& path, OpenMode mode) {
    // Kept for the rest of the run; main ends the process without freeing it.
    static std::vector<std::unique_ptr<MapState>> loaded;
    auto state = std::make_unique<MapState>();
    state->backupBeforeFirstWrite = context.options.backup;
    if (auto opened = OpenMap(*state, path, context.mapNames, mode); !opened) {
        context.err << opened.error().message << '\n';
        return nullptr;
    }
    context.err << kMapLoaded << '\n';
    loaded.push_back(std::move(state));
    return loaded.back().get();
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
    auto line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line) return Usage(err, line.error().message);
    if (line->options.help) {
        out << UsageText();
        return kSuccess;
    }

    auto mapNames = ResolveMapNames(line->options.mapNamesFile, std::getenv("QUORIN_MAP_NAMES"));
    if (!mapNames) {
        err << "quorin-cli: " << mapNames.error().message << '\n';
        return kUsage;
    }

    const CliCommandInfo& command = *line->command;
    const CommandRun run = line->options.json ? JsonRunOf(command.name) : command.run;
    CliContext context{std::move(line->args), std::move(line->flags), std::move(line->options),
                       std::move(*mapNames), out, err};
    return run(context);
}

}  // namespace quorin::cli

int main(int argc, char** argv) {
    // Before anything is opened: a map opened on a closed descriptor 2
    // would take the messages.
    quorin::OpenClosedStandardDescriptors();
    quorin::HandleEndingSignals();
#ifdef __GLIBC__
    // A run is short and its peak is bounded by the map: memory the loader
    // frees is kept for what follows rather than handed back and faulted in
    // again, and large blocks come from the heap instead of fresh mappings.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
    std::ios::sync_with_stdio(false);
    int code = 0;
    bool outputFailed = false;
    {
        const quorin::cli::TerminalEscaping out(std::cout, quorin::IsTerminal(1));
        const quorin::cli::TerminalEscaping err(std::cerr, quorin::IsTerminal(2));
        code = quorin::cli::Run(argc, argv, std::cout, std::cerr);
        // Asked before the escaping ends: handing the stream its own buffer
        // back clears the state that says a write failed.
        outputFailed = !std::cout.flush();
    }
    // The last buffered output leaves here; a failure then is still a failure.
    if ((!std::cout.flush() || outputFailed) && code == quorin::cli::kSuccess) {
        std::cerr << "quorin-cli: writing to stdout failed; what was written is incomplete.\n";
        code = quorin::cli::kRefused;
    }
    std::cerr.flush();
    // The process ends here without running destructors: the system takes
    // the loaded map's memory back at once, where freeing its tens of
    // thousands of records one by one would cost a fifth of a whole run.
    std::_Exit(code);
}
