// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CliProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace quorin::testing {

CliProcess::CliProcess(const std::vector<std::string>& args, int stdoutDescriptor) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::vector<std::string> words = {QUORIN_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "QUORIN_MAP_NAMES=", 17) != 0) envp.push_back(*entry);
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (stdoutDescriptor >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stdoutDescriptor, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    err_ = pipe[0];
    if (spawned != 0) throw std::runtime_error("posix_spawn failed");
}

CliProcess::~CliProcess() {
    if (!ended_) {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
    ::close(err_);
}

void CliProcess::readErr(int timeoutMs) {
    pollfd ready{err_, POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0) return;
    char buffer[4096];
    const ssize_t got = ::read(err_, buffer, sizeof buffer);
    if (got > 0) errText_.append(buffer, static_cast<std::size_t>(got));
    if (got == 0) reap(true);  // stderr closed: the process is ending
}

void CliProcess::reap(bool wait) {
    if (ended_) return;
    if (::waitpid(pid_, &status_, wait ? 0 : WNOHANG) == pid_) ended_ = true;
}

bool CliProcess::waitForErr(std::string_view text, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (errText_.find(text) == std::string::npos) {
        if (ended_) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        readErr(static_cast<int>(left.count()));
    }
    return true;
}

bool CliProcess::running() {
    reap(false);
    return !ended_;
}

void CliProcess::signal(int number) { ::kill(pid_, number); }

ProcessEnd CliProcess::finish() {
    while (!ended_) readErr(-1);
    // What is left in the pipe after the end.
    ::fcntl(err_, F_SETFL, O_NONBLOCK);
    char buffer[4096];
    for (ssize_t got; (got = ::read(err_, buffer, sizeof buffer)) > 0;) errText_.append(buffer, static_cast<std::size_t>(got));
    ProcessEnd end;
    end.err = errText_;
    if (WIFEXITED(status_)) end.exitCode = WEXITSTATUS(status_);
    if (WIFSIGNALED(status_)) end.signal = WTERMSIG(status_);
    return end;
}

}  // namespace quorin::testing
