// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What quorin-cli's commands share: the context a command runs in, the row
// a command has in the command table (CommandTable.cpp), and the load every
// command that reads a map starts with.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/MapLoader.h"
#include "map/MapState.h"

namespace quorin {
class MapSession;
}

namespace quorin::cli {

enum ExitCode : int { kSuccess = 0, kRefused = 1, kUsage = 2 };

// What stdout takes unless --max-output says otherwise: far more than any
// real map makes, and far less than a disk, which a small hostile map could
// otherwise fill.
inline constexpr std::int64_t kDefaultMaxOutput = std::int64_t{1} << 30;

// What quorin-cli's own options (before COMMAND) asked for.
struct GlobalOptions {
    std::optional<std::string> mapNamesFile;  // --map-names FILE
    bool json = false;                        // --json
    bool backup = false;                      // --backup: copy MAP to MAP.bak before set, protect or apply writes it
    std::int64_t maxOutput = kDefaultMaxOutput;  // --max-output SIZE: bytes stdout takes; 0 for no limit
    bool help = false;                        // --help, -h
    bool version = false;                     // --version
};

class OutputLimit;

struct CliContext {
    std::vector<std::string> args;       // the command's arguments, options removed
    std::vector<std::string> flags;      // the command's own options given, e.g. "--force"
    GlobalOptions options;
    std::vector<std::string> mapNames;   // the stock map names in force
    std::ostream& out;                   // the command's result, byte for byte
    std::ostream& err;                   // every message, one per line
    OutputLimit* outputLimit = nullptr;  // what stops out at --max-output, when there is a limit

    bool hasFlag(std::string_view flag) const;
};

using CommandRun = int (*)(CliContext& context);

struct CliCommandInfo {
    std::string name;
    std::string usage;  // e.g. "script MAP NAME"; own options follow the arguments
    std::size_t leastArgs = 0;
    std::size_t mostArgs = 0;
    CommandRun run = nullptr;
    // Options of this command alone, taken only after its arguments.
    std::vector<std::string> flags = {};
    // --json COMMAND runs this instead of run: one JSON document on stdout,
    // messages on stderr as the plain run prints them. nullptr: no --json.
    CommandRun json = nullptr;
    // False for a command that reads no map, and so no stock map names.
    bool readsMaps = true;
};

// Every command, in the order the usage text lists them.
const std::vector<CliCommandInfo>& CommandTable();

// The JSON run of a command, or nullptr when it has none.
CommandRun JsonRunOf(std::string_view command);
// The commands that have a JSON run, in the table's order.
std::vector<std::string> JsonCommands();

// Opens a session on path with the stock names in force and the --backup
// choice; the message a desktop box would show goes to stderr ("Map
// loaded!", or why the map was refused). Returns the session, or nullptr
// after a refusal (the caller exits with kRefused). A command that writes
// opens with OpenMode::HoldForWriting, so it writes through the descriptor
// it read. The session lives to the end of the process, which ends without
// freeing it (see main).
MapSession* OpenForCommand(CliContext& context, const std::string& path, OpenMode mode = OpenMode::Edit);
// OpenForCommand for a command that only reads the map.
const MapState* LoadForCommand(CliContext& context, const std::string& path, OpenMode mode = OpenMode::Edit);

// For a command whose result stopped going to stdout: says why (the output
// limit, or a write that failed) and gives the exit code.
int StdoutStopped(CliContext& context);

// Parses a whole decimal number for a cache position argument.
std::optional<long long> ParseWholeNumber(const std::string& text);

}  // namespace quorin::cli
