// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs quorin-cli as a child process that a test watches while it runs: it
// waits for a message on stderr, sends signals, and reads how it ended.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::testing {

struct ProcessEnd {
    int exitCode = -1;  // when it exited
    int signal = 0;     // when a signal ended it
    std::string err;
};

class CliProcess {
public:
    // Starts quorin-cli with args and without QUORIN_MAP_NAMES; stdin is
    // /dev/null, stdout goes to stdoutDescriptor (/dev/null when -1).
    explicit CliProcess(const std::vector<std::string>& args, int stdoutDescriptor = -1);
    // Kills and reaps a process still running.
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // True once stderr holds text; false when the process ended or timeout
    // passed first.
    bool waitForErr(std::string_view text, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Whether the process has not ended yet.
    bool running();
    void signal(int number);
    // Waits for the end.
    ProcessEnd finish();

private:
    void readErr(int timeoutMs);
    void reap(bool wait);

    pid_t pid_ = -1;
    int err_ = -1;
    std::string errText_;
    bool ended_ = false;
    int status_ = 0;
};

}  // namespace quorin::testing
