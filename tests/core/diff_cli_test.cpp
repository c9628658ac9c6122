// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli diff: its exit status, what goes to stdout and stderr, and the
// shapes of --stat and --json. The sections themselves belong to the
// comparison's own tests.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "builder/DemoMap.h"
#include "support/CliRun.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using testing::RunCli;

// The demo map with intro's type changed, patrol_loop renamed to a name
// holding a tab, and the global alarm_raised renamed.
MapBuilder ChangedDemo() {
    MapBuilder map = DemoMap();
    map.scripts[0].Name = "tab\there";
    map.scripts[1].Type = 3;
    map.globals[0].Name = "alarm_sounded";
    return map;
}

class DiffCommand : public ::testing::Test {
protected:
    testing::TempDir dir;
    const std::string oldMap = testing::WriteMap(dir, DemoMap(), "old.map");
    const std::string copy = testing::WriteMap(dir, DemoMap(), "copy.map");
    const std::string newMap = testing::WriteMap(dir, ChangedDemo(), "new.map");
};

TEST_F(DiffCommand, ExitsAsDiffDoes) {
    testing::WriteBytes(dir.path("junk.map"), {'n', 'o', 't', ' ', 'a', ' ', 'm', 'a', 'p'});
    struct Case {
        const char* why;
        std::vector<std::string> args;
        int exitCode;
        bool printsSections;
        std::string errHas;
    };
    const Case cases[] = {
        {"a map with itself", {"diff", oldMap, oldMap}, 0, false, "0 records differ: 0 changed, 0 added, 0 removed.\n"},
        {"a map with its copy", {"diff", oldMap, copy}, 0, false, "Map loaded!\nMap loaded!\n"},
        {"maps that differ", {"diff", oldMap, newMap}, 1, true, "5 records differ: 1 changed, 2 added, 2 removed.\n"},
        {"OLD cannot be loaded", {"diff", dir.path("missing.map"), newMap}, 2, false, "missing.map"},
        {"NEW is not a map", {"diff", oldMap, dir.path("junk.map")}, 2, false, "junk.map"},
        {"NEW missing", {"diff", oldMap}, 2, false, "usage: quorin-cli diff OLD NEW [--stat]"},
        {"--stat before the maps", {"diff", "--stat", oldMap, newMap}, 2, false, "--stat goes after the arguments"},
        {"--stat with --json", {"--json", "diff", oldMap, newMap, "--stat"}, 2, false, "do not go together"},
    };
    for (const Case& c : cases) {
        const testing::CliOutcome run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.why << "\n" << run.err;
        EXPECT_EQ(!run.out.empty(), c.printsSections) << c.why;
        EXPECT_NE(run.err.find(c.errHas), std::string::npos) << c.why << "\n" << run.err;
    }
}

// A comparison whose output is lost says nothing about the maps: trouble.
TEST_F(DiffCommand, OutputThatCannotBeWrittenIsTrouble) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full here";
    const std::string err = dir.path("full.err");
    const std::string line = testing::ShellQuoted(QUORIN_CLI_PATH) + " diff " + testing::ShellQuoted(oldMap) + " " +
                             testing::ShellQuoted(newMap) + " >/dev/full 2>" + testing::ShellQuoted(err) + " </dev/null";
    const int status = std::system(line.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    const std::vector<std::uint8_t> said = testing::ReadBytes(err);
    EXPECT_NE(std::string(said.begin(), said.end()).find("stdout failed"), std::string::npos);
}

TEST_F(DiffCommand, SectionsNameTheRecordsAndHoldTheirScriptText) {
    const testing::CliOutcome run = RunCli({"diff", oldMap, newMap});
    const std::string added = "--- /dev/null\n+++ b/script/tab\\there\n@@ -0,0 +1,5 @@\n";
    const std::size_t at = run.out.find(added);
    ASSERT_NE(at, std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("--- a/script/patrol_loop\n+++ /dev/null\n"), 0u) << "the old map's order first";
    // The added lines are the script's text as `quorin-cli script` prints it.
    std::string lines;
    for (std::size_t from = at + added.size(); from < run.out.size() && run.out[from] == '+';) {
        const std::size_t end = run.out.find('\n', from);
        lines += run.out.substr(from + 1, end - from);
        from = end + 1;
    }
    EXPECT_EQ(lines, RunCli({"script", newMap, "tab\there"}).out);
}

TEST_F(DiffCommand, StatCountsLinesPerRecord) {
    const testing::CliOutcome run = RunCli({"diff", oldMap, newMap, "--stat"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "script patrol_loop | +0 -5\n"
              "script intro | +1 -1\n"
              "script tab\\there | +5 -0\n"
              "global alarm_raised | +0 -1\n"
              "global alarm_sounded | +1 -0\n"
              "5 records differ: 1 changed, 2 added, 2 removed.\n");
    EXPECT_EQ(RunCli({"diff", oldMap, copy, "--stat"}).out, "") << "nothing differs, nothing to count";
}

TEST_F(DiffCommand, JsonHoldsEachRecordWithItsSection) {
    const testing::CliOutcome run = RunCli({"--json", "diff", oldMap, newMap});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.find("{\"records\":[{\"kind\":\"script\",\"name\":\"patrol_loop\",\"change\":\"removed\","
                           "\"compared\":true,\"section\":\"--- a/script/patrol_loop\\n+++ /dev/null\\n@@ -1,5 +0,0 @@\\n"),
              0u)
        << run.out;
    const std::string intro =
        "{\"kind\":\"script\",\"name\":\"intro\",\"change\":\"changed\",\"compared\":true,\"section\":"
        "\"--- a/script/intro\\n+++ b/script/intro\\n@@ -1,4 +1,4 @@\\n-(script startup intro\\n"
        "+(script static void intro\\n (begin\\n ( print hello, world (again))\\n ( set alarm_raised false))\\n\"}";
    EXPECT_NE(run.out.find(intro), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"kind\":\"script\",\"name\":\"tab\\there\",\"change\":\"added\""), std::string::npos);
    EXPECT_NE(run.out.find("{\"kind\":\"global\",\"name\":\"alarm_sounded\",\"change\":\"added\""), std::string::npos);
    EXPECT_EQ(run.out.substr(run.out.size() - 4), "}]}\n");
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line";
    EXPECT_EQ(RunCli({"--json", "diff", oldMap, copy}).out, "{\"records\":[]}\n");
}

}  // namespace
}  // namespace quorin
