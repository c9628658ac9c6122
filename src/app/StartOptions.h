// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of the desktop tool: quorin [--map-names FILE] [--read-only] [--] [MAP].
// The stock map names come from --map-names, else from the file named by
// QUORIN_MAP_NAMES, else the built-in list; a file must hold exactly eleven.

#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace quorin::app {

inline constexpr int kUsageExit = 2;

struct StartOptions {
    std::vector<std::string> mapNames;
    std::optional<std::string> mapPath;  // opened at start as File > Open would
    bool readOnly = false;  // every map of the run opens read-only
    bool help = false;
    bool version = false;
    // Why the names file cannot be used (mapNames is then empty). Not a
    // usage error: a launcher shows no terminal, so start-up shows it in a box.
    std::optional<Error> namesProblem;
};

// arguments: what follows the program name, after the toolkit has taken its
// own options. namesFromEnvironment: the value of QUORIN_MAP_NAMES, if set.
// An error is a usage error; the names file is not read when help or the
// version is asked.
[[nodiscard]] Result<StartOptions> ParseStartOptions(const std::vector<std::string>& arguments,
                                                     const char* namesFromEnvironment);

std::string StartUsage();

// What --help or --version prints, when arguments ask for one of them. It
// needs no window, so start-up answers before the toolkit looks for a
// display (the manual page is made from it at build time).
std::optional<std::string> StartAnswer(const std::vector<std::string>& arguments);

}  // namespace quorin::app
