// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grammar of quorin-cli's words:
//   quorin-cli [GLOBAL OPTION...] [--] COMMAND ARGUMENT... [COMMAND OPTION...]
// An option counts only where the usage shows it: quorin-cli's own before
// COMMAND, a command's own after its arguments. Every other word is an
// argument, even one that begins with "-" (a name "-h", a number "-5"), and
// after the first "--" every word is one. Both kinds of option are rows of a
// table, so a new option is one row.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/CliCommand.h"
#include "base/Result.h"

namespace quorin::cli {

struct GlobalOption {
    std::string_view name;   // "--map-names"
    std::string_view value;  // what follows it ("FILE"); empty for a switch
    std::string_view what;   // its line in the usage text
    // Sets the option; an error when the value is not one it takes.
    Status (*apply)(GlobalOptions& options, const std::string& value);
};

const std::vector<GlobalOption>& GlobalOptionTable();

struct CommandLine {
    GlobalOptions options;
    const CliCommandInfo* command = nullptr;  // nullptr when only --help or --version was asked
    std::vector<std::string> args;
    std::vector<std::string> flags;
};

// words: what follows the program name. An error is a usage error; its
// message says what is wrong with which word.
[[nodiscard]] Result<CommandLine> ParseCommandLine(const std::vector<std::string>& words);

// The whole usage text, from the two tables.
std::string UsageText();

// A byte count as --max-output takes it: decimal digits, then K, M or G for
// KiB, MiB or GiB; nullopt for anything else.
std::optional<std::int64_t> ParseSize(std::string_view text);
// A byte count as a person reads it: "1 GiB", "64 KiB", "1000 bytes".
std::string SizeText(std::int64_t bytes);

}  // namespace quorin::cli
