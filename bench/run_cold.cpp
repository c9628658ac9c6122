// SPDX-License-Identifier: GPL-3.0-or-later
// Runs commands as fresh processes again and again and prints, one line per
// command, the medians of its runs:
//   "WALL_MS PEAK_KIB MIN_MS MAX_MS CPU_MS FAULTS RATIO"
// wall time (with its least and most), peak memory, processor time (user and
// system) and page faults, and RATIO, the median of the run-by-run ratios of
// its wall time to the first command's. Several commands (separated by "--")
// take turns run by run, so that other work on a shared machine slows each
// of them alike, and each ratio pairs runs made one after the other. What a
// command writes on stdout is read through a pipe and thrown away, as a
// program reading its output would; stderr goes to /dev/null. With --pin CPU
// every run is kept on that one processor. A command must exit with 0, or
// with the status N a leading --status=N gives (diff exits with 1 when the
// maps differ).
//   run_cold [--pin CPU] RUNS [--status=N] COMMAND ARGS... [-- [--status=N] COMMAND ARGS...]...

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
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
    std::vector<double> processorMilliseconds;
    std::vector<long> peaks;
    std::vector<long> faults;
    std::vector<double> ratios;  // to the first command's run of the same turn
};

double Milliseconds(const timeval& time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; }

// One run of command; false when it could not run or failed.
bool RunOnce(Command& command) {
    int output[2];
    if (pipe(output) != 0) return false;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(output[1], STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        close(output[0]);
        close(output[1]);
        execv(command.argv[0], command.argv.data());
        _exit(127);
    }
    close(output[1]);
    static char drained[1 << 16];
    while (read(output[0], drained, sizeof drained) > 0) {
    }
    close(output[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return false;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != command.status) {
        std::fprintf(stderr, "run_cold: %s failed\n", command.argv[0]);
        return false;
    }
    command.milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    command.processorMilliseconds.push_back(Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime));
    command.peaks.push_back(usage.ru_maxrss);
    command.faults.push_back(usage.ru_minflt + usage.ru_majflt);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int at = 1;
    if (argc > 2 && std::strcmp(argv[1], "--pin") == 0) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(std::atoi(argv[2]), &one);
        if (sched_setaffinity(0, sizeof one, &one) != 0) std::perror("run_cold: --pin");
        at = 3;
    }
    if (argc < at + 2) {
        std::fprintf(stderr, "usage: run_cold [--pin CPU] RUNS [--status=N] COMMAND ARGS... [-- [--status=N] COMMAND ARGS...]...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[at]));
    std::vector<Command> commands(1);
    for (int i = at + 1; i < argc; ++i) {
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
    // One turn first, not counted: it brings the files into the page cache.
    for (Command& command : commands) {
        if (!RunOnce(command)) return 1;
        Command fresh;
        fresh.status = command.status;
        fresh.argv = command.argv;
        command = std::move(fresh);
    }
    for (int run = 0; run < runs; ++run) {
        for (Command& command : commands) {
            if (!RunOnce(command)) return 1;
            command.ratios.push_back(command.milliseconds.back() / commands.front().milliseconds.back());
        }
    }
    for (const Command& command : commands) {
        std::printf("%.2f %ld %.2f %.2f %.2f %ld %.2f\n", Median(command.milliseconds), Median(command.peaks),
                    *std::min_element(command.milliseconds.begin(), command.milliseconds.end()),
                    *std::max_element(command.milliseconds.begin(), command.milliseconds.end()),
                    Median(command.processorMilliseconds), Median(command.faults), Median(command.ratios));
    }
    return 0;
}
