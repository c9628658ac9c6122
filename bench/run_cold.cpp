// Runs a command as a fresh process again and again, its output going to
// /dev/null, and prints the median wall time and the median peak memory of
// the runs: "MEDIAN_MS PEAK_KIB MIN_MS MAX_MS".
//   run_cold RUNS COMMAND ARGS...

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: run_cold RUNS COMMAND ARGS...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<double> milliseconds;
    std::vector<long> peaks;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child < 0) return 1;
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            execv(argv[2], argv + 2);
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (wait4(child, &status, 0, &usage) != child) return 1;
        const auto end = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "run_cold: %s failed\n", argv[2]);
            return 1;
        }
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        peaks.push_back(usage.ru_maxrss);
    }
    std::printf("%.2f %ld %.2f %.2f\n", Median(milliseconds), Median(peaks),
                *std::min_element(milliseconds.begin(), milliseconds.end()),
                *std::max_element(milliseconds.begin(), milliseconds.end()));
    return 0;
}
