// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CliRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/TempMap.h"

namespace quorin::testing {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

CliOutcome RunCli(const std::vector<std::string>& args, const std::string& environment, const std::string& input,
                  const std::string& redirections) {
    TempDir dir;
    const std::string out = dir.path("out"), err = dir.path("err");
    std::string command = environment + ShellQuoted(QUORIN_CLI_PATH);
    for (const std::string& arg : args) command += " " + ShellQuoted(arg);
    command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " <" + ShellQuoted(input) + " " + redirections;
    const int status = std::system(command.c_str());
    CliOutcome outcome;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = Slurp(out);
    outcome.err = Slurp(err);
    return outcome;
}

}  // namespace quorin::testing
