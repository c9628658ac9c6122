// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs quorin-cli as a separate process and captures what it printed.

#include <string>
#include <vector>

namespace quorin::testing {

struct CliOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// word in single quotes for the shell, its own quotes escaped.
std::string ShellQuoted(const std::string& word);

// Runs quorin-cli with args (each quoted for the shell); environment is a
// prefix such as "QUORIN_MAP_NAMES=/x " or empty; standard input reads the
// file at input; redirections come after the usual ones, so "2>&-" runs it
// with descriptor 2 closed.
CliOutcome RunCli(const std::vector<std::string>& args, const std::string& environment = "",
                  const std::string& input = "/dev/null", const std::string& redirections = "");

}  // namespace quorin::testing
