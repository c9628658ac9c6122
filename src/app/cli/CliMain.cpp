// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli: the core in batch. stdout carries only a command's result,
// byte for byte; every message goes to stderr, one per line.

#include <charconv>
#include <memory>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <utility>

#include "app/cli/BatchProcess.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CommandLine.h"
#include "app/cli/OutputLimit.h"
#include "app/cli/TerminalOutput.h"
#include "base/Version.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "file/SystemFile.h"

namespace quorin::cli {

namespace {

int Usage(std::ostream& err, const std::string& problem) {
    err << "quorin-cli: " << problem << '\n' << UsageText();
    return kUsage;
}

}  // namespace

int Run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    auto line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line) return Usage(err, MessageOf(line.error()));
    if (line->options.help) {
        out << UsageText();
        return kSuccess;
    }
    if (line->options.version) {
        out << VersionText();
        return kSuccess;
    }

    const CliCommandInfo& command = *line->command;
    std::vector<std::string> mapNames;
    if (command.readsMaps) {
        auto resolved = ResolveMapNames(line->options.mapNamesFile, std::getenv("QUORIN_MAP_NAMES"));
        if (!resolved) {
            err << "quorin-cli: " << MessageOf(resolved.error()) << '\n';
            return kUsage;
        }
        mapNames = std::move(*resolved);
    }

    const CommandRun run = line->options.json ? JsonRunOf(command.name) : command.run;
    // A JSON document is UTF-8: on a terminal its characters stay whole.
    if (auto* escaping = dynamic_cast<ControlEscapingBuffer*>(out.rdbuf()); escaping && line->options.json) {
        escaping->carryUtf8();
    }
    OutputLimit limit(out, line->options.maxOutput);
    CliContext context{std::move(line->args), std::move(line->flags), std::move(line->options),
                       std::move(mapNames), out, err, &limit};
    const int code = run(context);
    // A command that does not look at its writes is stopped all the same;
    // one that did has said so with its own status (diff's trouble is 2).
    return limit.sayReached(err) && code == kSuccess ? kRefused : code;
}

}  // namespace quorin::cli

int main(int argc, char** argv) {
    // Before anything is opened: a map opened on a closed descriptor 2
    // would take the messages.
    quorin::OpenClosedStandardDescriptors();
    quorin::HandleEndingSignals();
    quorin::cli::TuneMemoryForBatchRun();
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
