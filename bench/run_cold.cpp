// SPDX-License-Identifier: GPL-3.0-or-later
// Runs commands as fresh processes again and again, their output going to
// /dev/null, and prints for each the median wall time and the median peak
// memory of its runs: "MEDIAN_MS PEAK_KIB MIN_MS MAX_MS", one line per
// command. Several commands (separated by "--") take turns run by run, so
// that other work on a shared machine slows each of them alike. A command
// must exit with 0, or with the status N a leading --status=N gives (diff
// exits with 1 when the maps differ).
//   run_cold RUNS [--status=N] COMMAND ARGS... [-- [--status=N] COMMAND ARGS...]...

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Command {
    int status = 0;           // the exit status of a run that succeeded
    std::vector<char*> argv;  // ends with nullptr
    std::vector<double> milliseconds;
    std::vector<long> peaks;
};

// One run of command; false when it could not run or failed.
bool RunOnce(Command& command) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(command.argv[0], command.argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return false;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != command.status) {
        std::fprintf(stderr, "run_cold: %s failed\n", command.argv[0]);
        return false;
    }
    command.milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    command.peaks.push_back(usage.ru_maxrss);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: run_cold RUNS [--status=N] COMMAND ARGS... [-- [--status=N] COMMAND ARGS...]...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Command> commands(1);
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            commands.emplace_back();
            continue;
        }
        if (commands.back().argv.empty() && std::strncmp(argv[i], "--status=", 9) == 0) {
            commands.back().status = std::atoi(argv[i] + 9);
            continue;
        }
        commands.back().argv.push_back(argv[i]);
    }
    for (Command& command : commands) {
        if (command.argv.empty()) {
            std::fprintf(stderr, "run_cold: an empty command\n");
            return 2;
        }
        command.argv.push_back(nullptr);
    }
    for (int run = 0; run < runs; ++run) {
        for (Command& command : commands) {
            if (!RunOnce(command)) return 1;
        }
    }
    for (const Command& command : commands) {
        std::printf("%.2f %ld %.2f %.2f\n", Median(command.milliseconds), Median(command.peaks),
                    *std::min_element(command.milliseconds.begin(), command.milliseconds.end()),
                    *std::max_element(command.milliseconds.begin(), command.milliseconds.end()));
    }
    return 0;
}
