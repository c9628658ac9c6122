// quorin-cli find: the lines it prints and its exit status.

#include <gtest/gtest.h>

#include <algorithm>

#include "map/DemoMap.h"
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

    // A refused map is status 1 too, but says why.
    const std::string bad = dir.path("bad.map");
    testing::WriteBytes(bad, {1, 2, 3});
    const testing::CliOutcome refused = RunCli({"find", bad, "x"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err, "");
    EXPECT_EQ(refused.err.find("Map loaded!"), std::string::npos);

    // The demo's scripts call sleep; each hit is a line of four fields.
    const testing::CliOutcome sleep = RunCli({"find", map, "sleep"});
    EXPECT_EQ(sleep.exitCode, 0);
    ASSERT_FALSE(sleep.out.empty());
    std::size_t lines = 0;
    for (std::size_t at = 0; at < sleep.out.size(); at = sleep.out.find('\n', at) + 1, ++lines) {
        const std::string line = sleep.out.substr(at, sleep.out.find('\n', at) - at);
        EXPECT_EQ(line.rfind("u\t", 0), 0u) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 3) << line;
        EXPECT_NE(line.substr(line.rfind('\t') + 1).find("sleep"), std::string::npos) << line;
    }
    EXPECT_GE(lines, 2u);
}

}  // namespace
}  // namespace quorin
