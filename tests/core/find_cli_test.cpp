// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli find: the lines it prints and its exit status.

#include <gtest/gtest.h>

#include "builder/DemoMap.h"
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

}  // namespace
}  // namespace quorin
