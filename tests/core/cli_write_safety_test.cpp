// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli while it writes, against what a shell or another program does
// meanwhile: a closed standard descriptor, a signal during protect or during
// the backup, and a touch or a cut of the map while protect runs.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "builder/DemoMap.h"
#include "edit/MapProtection.h"
#include "fixtures/MaximalMap.h"
#include "map/MapLoader.h"
#include "support/CliProcess.h"
#include "support/CliRun.h"
#include "support/EditFixture.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using Bytes = std::vector<std::uint8_t>;

// ---- A standard descriptor closed at start ----

struct ClosedDescriptorCase {
    std::string label;
    std::string redirection;         // closes one descriptor
    std::vector<std::string> words;  // MAP and OUT stand for the files
    int exitCode;
    enum class Leaves { Renamed, Unchanged, Protected, Demo } leaves;
};

void PrintTo(const ClosedDescriptorCase& c, std::ostream* os) { *os << c.label; }

class ClosedDescriptor : public ::testing::TestWithParam<ClosedDescriptorCase> {};

TEST_P(ClosedDescriptor, TheFilesGetExactlyTheirBytes) {
    const ClosedDescriptorCase& c = GetParam();
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    const std::string out = dir.path("out.map");
    testing::WriteBytes(out, Bytes(100, 0x55));
    std::vector<std::string> words = c.words;
    for (std::string& word : words) {
        if (word == "MAP") word = fixture.path;
        if (word == "OUT") word = out;
    }

    const testing::CliOutcome run = testing::RunCli(words, "", "/dev/null", c.redirection);

    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    using Leaves = ClosedDescriptorCase::Leaves;
    switch (c.leaves) {
        case Leaves::Renamed: {
            Bytes name(32, 0);
            name[0] = name[1] = 'x';
            EXPECT_EQ(ReadBytes(fixture.path), testing::Patched(fixture.bytes, fixture.layout.scriptEntry(0), name));
            EXPECT_EQ(ReadBytes(fixture.path + ".bak"), fixture.bytes);
            break;
        }
        case Leaves::Unchanged: EXPECT_EQ(ReadBytes(fixture.path), fixture.bytes); break;
        case Leaves::Protected: {
            const testing::EditFixture desktop = testing::WriteEditFixture(dir, "desktop.map");
            MapState state;
            testing::CollectedMessages messages;
            ASSERT_TRUE(testing::Load(state, desktop.path, messages));
            ASSERT_TRUE(testing::Protect(state, messages));
            EXPECT_EQ(ReadBytes(fixture.path), ReadBytes(desktop.path));
            break;
        }
        case Leaves::Demo: EXPECT_EQ(ReadBytes(out), DemoMap().build()); break;
    }
}

const std::vector<std::string> kBackedUpRename = {"--backup", "set", "MAP", "script", "abc", "Name", "xx"};

INSTANTIATE_TEST_SUITE_P(
    Runs, ClosedDescriptor,
    ::testing::Values(
        ClosedDescriptorCase{"SetWithStderrClosed", "2>&-", kBackedUpRename, 0, ClosedDescriptorCase::Leaves::Renamed},
        ClosedDescriptorCase{"SetWithStdoutClosed", ">&-", kBackedUpRename, 0, ClosedDescriptorCase::Leaves::Renamed},
        ClosedDescriptorCase{"SetWithStdinClosed", "<&-", kBackedUpRename, 0, ClosedDescriptorCase::Leaves::Renamed},
        ClosedDescriptorCase{"RefusedSetWithStderrClosed", "2>&-", {"set", "MAP", "script", "nope", "Name", "x"}, 1,
                             ClosedDescriptorCase::Leaves::Unchanged},
        ClosedDescriptorCase{"ProtectWithStderrClosed", "2>&-", {"protect", "MAP"}, 0,
                             ClosedDescriptorCase::Leaves::Protected},
        ClosedDescriptorCase{"DemoWithStderrClosed", "2>&-", {"demo", "OUT", "--force"}, 0,
                             ClosedDescriptorCase::Leaves::Demo}),
    [](const auto& info) { return info.param.label; });

// ---- Protect on the maximal map, disturbed while it runs ----

bool SameFile(const std::string& a, const std::string& b) {
    std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
    std::vector<char> x(1 << 20), y(1 << 20);
    while (first && second) {
        first.read(x.data(), static_cast<std::streamsize>(x.size()));
        second.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (first.gcount() != second.gcount() || !std::equal(x.begin(), x.begin() + first.gcount(), y.begin())) {
            return false;
        }
    }
    return first.eof() && second.eof();
}

// The maximal map before and after a whole protect, written once.
class MaximalProtect : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing::TempDir;
        ASSERT_TRUE(MaximalMap().writeTo(original()));
        fs::copy_file(original(), protectedCopy());
        MapState state;
        testing::CollectedMessages messages;
        ASSERT_TRUE(testing::Load(state, protectedCopy(), messages));
        ASSERT_TRUE(testing::Protect(state, messages));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string original() { return dir_->path("original.map"); }
    static std::string protectedCopy() { return dir_->path("protected.map"); }

    // A fresh copy of the map in a folder of its own.
    std::string freshMap() {
        fs::remove_all(runs_.path("run"));
        fs::create_directory(runs_.path("run"));
        const std::string map = runs_.path("run/maximal.map");
        fs::copy_file(original(), map);
        return map;
    }
    // Waits for the load to end, then a random moment within window.
    void waitAfterLoad(testing::CliProcess& run, int windowMs) {
        ASSERT_TRUE(run.waitForErr(kMapLoaded));
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, windowMs * 1000)(random_)));
    }

    static testing::TempDir* dir_;
    testing::TempDir runs_;
    std::mt19937 random_{20261209};
};

testing::TempDir* MaximalProtect::dir_ = nullptr;

constexpr int kRuns = 5;

struct InterruptCase {
    std::string label;
    bool backup;
    int signal;
    int windowMs;  // the moments after the load the signal may come in
};

void PrintTo(const InterruptCase& c, std::ostream* os) { *os << c.label; }

class InterruptedProtect : public MaximalProtect, public ::testing::WithParamInterface<InterruptCase> {};

// A protect once begun is finished before the signal ends the run; a backup
// cut off leaves no file behind.
TEST_P(InterruptedProtect, LeavesTheMapWholeAndNoTemporaryFile) {
    const InterruptCase& c = GetParam();
    for (int i = 0; i < kRuns; ++i) {
        const std::string map = freshMap();
        std::vector<std::string> args = {"protect", map};
        if (c.backup) args.insert(args.begin(), "--backup");
        testing::CliProcess run(args);
        waitAfterLoad(run, c.windowMs);
        run.signal(c.signal);
        const testing::ProcessEnd end = run.finish();

        const bool finished = end.exitCode == 0 && end.err.find(kProtectedMessage) != std::string::npos;
        EXPECT_TRUE(end.signal == c.signal || finished) << "run " << i << ": " << end.err;
        for (const auto& entry : fs::directory_iterator(runs_.path("run"))) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "maximal.map" || name == "maximal.map.bak") << "run " << i << " left " << name;
        }
        if (fs::exists(map + ".bak")) {
            EXPECT_TRUE(SameFile(map + ".bak", original())) << "run " << i;
        }
        // Nothing waits for SIGKILL: only the backup is sure to be whole.
        if (c.signal != SIGKILL) {
            EXPECT_TRUE(SameFile(map, original()) || SameFile(map, protectedCopy())) << "run " << i << " half protected";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedProtect,
                         ::testing::Values(InterruptCase{"ProtectSIGINT", false, SIGINT, 4},
                                           InterruptCase{"ProtectSIGTERM", false, SIGTERM, 4},
                                           InterruptCase{"BackupSIGINT", true, SIGINT, 20},
                                           InterruptCase{"BackupSIGTERM", true, SIGTERM, 20},
                                           InterruptCase{"BackupSIGKILL", true, SIGKILL, 20}),
                         [](const auto& info) { return info.param.label; });

struct DisturbCase {
    std::string label;
    // Changes the map as another program would, then checks what is left.
    std::function<void(const std::string& map)> disturb;
    std::function<void(const std::string& map, const testing::ProcessEnd& end)> check;
};

void PrintTo(const DisturbCase& c, std::ostream* os) { *os << c.label; }

class DisturbedProtect : public MaximalProtect, public ::testing::WithParamInterface<DisturbCase> {};

// Every write of protect checks the file first: none lands after the change.
TEST_P(DisturbedProtect, NoWriteFollowsTheChange) {
    for (int i = 0; i < kRuns; ++i) {
        const std::string map = freshMap();
        testing::CliProcess run({"protect", map});
        waitAfterLoad(run, 4);
        GetParam().disturb(map);
        const testing::ProcessEnd end = run.finish();
        SCOPED_TRACE("run " + std::to_string(i) + ": " + end.err);
        EXPECT_TRUE(end.exitCode == 0 || end.err.find("changed on disk") != std::string::npos ||
                    end.err.find("cut short") != std::string::npos);
        GetParam().check(map, end);
    }
}

constexpr time_t kTouchedAt = 1'000'000'000;
// Inside the node table, whose fields protect writes first.
const std::int64_t kCutTo = MaximalMap().layout().node(kMaximalNodes / 2) + 6;

INSTANTIATE_TEST_SUITE_P(
    Changes, DisturbedProtect,
    ::testing::Values(
        // A write after the touch would give the file a new modification time.
        DisturbCase{"Touched",
                    [](const std::string& map) {
                        const timespec times[2] = {{kTouchedAt, 0}, {kTouchedAt, 0}};
                        ASSERT_EQ(::utimensat(AT_FDCWD, map.c_str(), times, 0), 0);
                    },
                    [](const std::string& map, const testing::ProcessEnd&) {
                        struct stat status {};
                        ASSERT_EQ(::stat(map.c_str(), &status), 0);
                        EXPECT_EQ(status.st_mtim.tv_sec, kTouchedAt) << "protect wrote after the touch";
                    }},
        DisturbCase{"CutShort",
                    [](const std::string& map) { ASSERT_EQ(::truncate(map.c_str(), kCutTo), 0); },
                    [](const std::string& map, const testing::ProcessEnd&) {
                        EXPECT_LE(static_cast<std::int64_t>(fs::file_size(map)), kCutTo);
                    }}),
    [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace quorin
