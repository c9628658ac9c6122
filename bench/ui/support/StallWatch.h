// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The longest stall of the event loop: a 1 ms timer ticks while the loop
// runs, and the longest gap between two ticks is the longest time the
// user-interface thread kept the loop from running. The gap is taken both
// as the thread's own processor time (which other work on a shared machine
// does not stretch) and as wall-clock time.

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <ctime>

namespace quorin::bench {

// Runs the event loop for ms milliseconds.
inline void RunFor(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 1);
}

inline std::int64_t ThreadCpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

class StallWatch {
public:
    StallWatch() {
        ticker_.setTimerType(Qt::PreciseTimer);
        ticker_.setInterval(1);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const std::int64_t cpu = ThreadCpuNanoseconds();
            longestWall_ = std::max(longestWall_, now - lastWall_);
            longestCpu_ = std::max(longestCpu_, cpu - lastCpu_);
            lastWall_ = now;
            lastCpu_ = cpu;
        });
    }
    void start() {
        longestWall_ = longestCpu_ = 0;
        clock_.start();
        lastWall_ = 0;
        lastCpu_ = ThreadCpuNanoseconds();
        ticker_.start();
    }
    void stop() { ticker_.stop(); }
    double longestCpuSeconds() const { return static_cast<double>(longestCpu_) / 1e9; }
    double longestWallMs() const { return static_cast<double>(longestWall_) / 1e6; }

private:
    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 lastWall_ = 0;
    qint64 longestWall_ = 0;
    std::int64_t lastCpu_ = 0;
    std::int64_t longestCpu_ = 0;
};

}  // namespace quorin::bench
