// SPDX-License-Identifier: GPL-3.0-or-later
// What every command shares. Apart from main, so that build tools (the shell
// completion) read the same table quorin-cli runs.

#include "app/cli/CliCommand.h"

#include <charconv>
#include <memory>
#include <ostream>
#include <utility>

#include "app/cli/OutputLimit.h"
#include "map/MapNames.h"
#include "session/MapSession.h"

namespace quorin::cli {

bool CliContext::hasFlag(std::string_view flag) const {
    for (const std::string& given : flags) {
        if (given == flag) return true;
    }
    return false;
}

CommandRun JsonRunOf(std::string_view command) {
    for (const CliCommandInfo& info : CommandTable()) {
        if (info.name == command) return info.json;
    }
    return nullptr;
}

std::vector<std::string> JsonCommands() {
    std::vector<std::string> names;
    for (const CliCommandInfo& info : CommandTable()) {
        if (info.json) names.push_back(info.name);
    }
    return names;
}

MapSession* OpenForCommand(CliContext& context, const std::string& path, OpenMode mode) {
    // Kept for the rest of the run; main ends the process without freeing it.
    static std::vector<std::unique_ptr<MapSession>> loaded;
    auto session = std::make_unique<MapSession>();
    session->setBackupBeforeFirstWrite(context.options.backup);
    if (auto opened = session->open(path, context.mapNames, mode); !opened) {
        context.err << MessageOf(opened.error()) << '\n';
        return nullptr;
    }
    context.err << kMapLoaded << '\n';
    loaded.push_back(std::move(session));
    return loaded.back().get();
}

const MapState* LoadForCommand(CliContext& context, const std::string& path, OpenMode mode) {
    const MapSession* session = OpenForCommand(context, path, mode);
    return session ? &session->map() : nullptr;
}

int StdoutStopped(CliContext& context) {
    if (context.outputLimit && context.outputLimit->sayReached(context.err)) return kRefused;
    context.err << "quorin-cli: writing the text to stdout failed; what was written is incomplete.\n";
    return kRefused;
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

}  // namespace quorin::cli
