#pragma once
// The command table of quorin-cli. Each command lives in its own file and
// registers itself with a static CommandRegistration, so commands can be
// added without touching the dispatcher.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "map/MapLoader.h"
#include "map/MapState.h"

namespace quorin::cli {

enum ExitCode : int { kSuccess = 0, kRefused = 1, kUsage = 2 };

struct CliContext {
    std::vector<std::string> args;       // the command's arguments, options removed
    std::vector<std::string> mapNames;   // the stock map names in force
    bool force = false;                  // --force was given
    bool backup = false;                 // --backup: copy MAP to MAP.bak before writing it
    std::ostream& out;                   // the command's result, byte for byte
    std::ostream& err;                   // every message, one per line
};

struct CliCommandInfo {
    std::string name;
    std::string usage;  // e.g. "script MAP NAME"
    std::size_t leastArgs = 0;
    std::size_t mostArgs = 0;
    int (*run)(CliContext& context) = nullptr;
};

struct CommandRegistration {
    explicit CommandRegistration(CliCommandInfo info);
};

const std::vector<CliCommandInfo>& RegisteredCommands();

// Runs the load chain on path; the message a desktop box would show goes to
// stderr ("Map loaded!", or why the map was refused). Returns the loaded
// state, or nullopt after a refusal (the caller exits with kRefused).
// A command that writes loads with OpenMode::HoldForWriting, so it writes
// through the descriptor it read.
std::optional<MapState> LoadForCommand(CliContext& context, const std::string& path, OpenMode mode = OpenMode::Edit);

// Parses a whole decimal number for a cache position argument.
std::optional<long long> ParseWholeNumber(const std::string& text);

}  // namespace quorin::cli
