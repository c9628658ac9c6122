// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli find: the lines it prints and its exit status.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "builder/DemoMap.h"
#include "fixtures/HostileMaps.h"
#include "support/CliProcess.h"
#include "support/CliRun.h"
#include "support/EdgeMaps.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using testing::RunCli;

TEST(FindCommand, LinesAndExitStatus) {
    testing::TempDir dir;
    const std::string map = testing::WriteMap(dir, testing::SearchMap(), "search.map");
    struct Case {
        const char* why;
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    };
    const Case cases[] = {
        {"name and use", {"find", map, "AI_ATTACH"}, 0, "s\tAI_Attach_Loop\nu\tAI_Attach_Loop\t12\tai_attach\n"},
        {"escapes, and a tab typed as the query", {"find", map, "\t"}, 0,
         "g\ttab\\tname\\\\x\nu\tdelta\t25\tpath\\\\to\\tthe\\nend\\r\n"},
        {"a byte above 127 as given", {"find", map, "\xe9"}, 0, "s\tcaf\xe9\n"},
        {"nothing found, as grep", {"find", map, "no_such_text"}, 1, ""},
        {"an empty query is a usage error", {"find", map, ""}, 2, ""},
        {"the map is not read before the query is checked", {"find", dir.path("missing.map"), ""}, 2, ""},
        {"QUERY missing", {"find", map}, 2, ""},
        {"one word too many", {"find", map, "a", "b"}, 2, ""},
    };
    for (const Case& c : cases) {
        const testing::CliOutcome run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.why << "\n" << run.err;
        EXPECT_EQ(run.out, c.out) << c.why;
    }
}

TEST(FindCommand, NothingFoundIsNoRefusal) {
    testing::TempDir dir;
    const std::string map = testing::WriteMap(dir, DemoMap(), "demo.map");
    const testing::CliOutcome none = RunCli({"find", map, "no_such_text"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "Map loaded!\n") << "only the load's own message";
}

// More hits than one buffer of output holds, so writes fail while the hits
// are written, not only at the last flush.
TEST(FindCommand, StdoutThatCannotBeWrittenIsAFailure) {
    testing::TempDir dir;
    const std::string map = testing::WriteMap(dir, testing::CountsMap(6000, 0), "many.map");
    struct Case {
        const char* why;
        bool json;
        bool fullDevice;  // else a pipe nobody reads, with SIGPIPE ignored
    };
    const Case cases[] = {{"a full device", false, true}, {"a full device, as JSON", true, true},
                          {"a closed pipe", false, false}, {"a closed pipe, as JSON", true, false}};
    for (const Case& c : cases) {
        int out = -1;
        int ends[2] = {-1, -1};
        if (c.fullDevice) {
            out = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
            if (out < 0) GTEST_SKIP() << "no /dev/full here";
        } else {
            ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
            ::close(ends[0]);
            out = ends[1];
        }
        // The child starts with SIGPIPE ignored, as a shell's trap '' PIPE leaves it.
        const auto before = ::signal(SIGPIPE, SIG_IGN);
        std::vector<std::string> args = {"find", map, "script"};
        if (c.json) args.insert(args.begin(), "--json");
        testing::CliProcess run(args, out);
        ::signal(SIGPIPE, before);
        ::close(out);
        const testing::ProcessEnd end = run.finish();
        EXPECT_EQ(end.exitCode, 1) << c.why << "\n" << end.err;
        EXPECT_NE(end.err.find("to stdout failed"), std::string::npos) << c.why << "\n" << end.err;
    }
}

// A search a limit stopped printed what it found: it succeeds and says
// which limit it reached.
TEST(FindCommand, ARunALimitStoppedNamesTheLimit) {
    testing::TempDir dir;
    // Thirty scripts walk 4000 nodes whose texts are "x": 120000 uses.
    MapBuilder manyUses = LongNodeTextsMap(4000, 0);
    manyUses.overwrites.clear();
    manyUses.padTo = 0;
    for (int i = 1; i < 30; ++i) {
        manyUses.scripts.push_back({"walker_" + std::to_string(i), 1, 4, manyUses.scripts[0].ExpPointer, 0});
    }
    struct Case {
        const char* why;
        MapBuilder map;
        std::string message;
    };
    const Case cases[] = {
        {"the hit count", manyUses, "Map loaded!\nthe search stopped after 100000 hits: it reached its limit of 100000 hits\n"},
        // Each node's text runs on for a megabyte.
        {"the bytes the hits copy", LongNodeTextsMap(100, 1 << 20),
         "Map loaded!\nthe search stopped after 64 hits: the names and texts of its hits reached its limit of 64 MiB\n"},
    };
    for (const Case& c : cases) {
        const std::string map = testing::WriteMap(dir, c.map, "limit.map");
        testing::CliProcess run({"find", map, "x"});
        const testing::ProcessEnd end = run.finish();
        EXPECT_EQ(end.exitCode, 0) << c.why;
        EXPECT_EQ(end.err, c.message) << c.why;
    }
}

}  // namespace
}  // namespace quorin
