// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "database/CommandDatabase.h"
#include "support/HandMap.h"
#include "support/WholeText.h"

namespace quorin {
namespace {

using testing::Node;

// A command node: expression type 9, value type 2.
Syntax Command(std::int32_t engine, const char* name) { return Node(0, engine, 9, 2, 0, -1, -1, name); }

std::string Joined(const testing::CommandDatabaseWholeResult& result) {
    std::string text;
    for (const std::string& line : result.lines) text += line;
    return text;
}

TEST(CommandDatabase, RecordsNewNamesAndNewIdentitiesSortedStably) {
    const std::vector<Syntax> nodes = {
        Command(20, "set"),   Command(20, "set"),  // same identity again: not recorded
        Command(21, "set"),                        // new identity: recorded again
        Command(20, "set"),                        // back to 20: recorded once more
        Command(5, "zeta"),   Command(5, "alpha"), // equal identities keep recording order
        Command(-3, "minus"), Command(-100, "sentinel"), Command(-100, "sentinel"),
        Node(0, 8, 9, 7, 0, -1, -1, "not_a_function"),  // type 9, another value type
        Node(0, 9, 13, 2, 0, -1, -1, "not_type_nine"),  // value type 2, another type
        Command(20, "set"),
    };
    const auto result = testing::CommandDatabaseWhole(nodes);
    EXPECT_EQ(Joined(result),
              "CommandDictionary.value(\"minus\") = -3\n"
              "CommandDictionary.value(\"zeta\") = 5\n"
              "CommandDictionary.value(\"alpha\") = 5\n"
              "CommandDictionary.value(\"set\") = 20\n"
              "CommandDictionary.value(\"set\") = 20\n"
              "CommandDictionary.value(\"set\") = 21\n");
    for (const std::string& line : result.lines) EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(result.processed, static_cast<std::int64_t>(nodes.size()));
    EXPECT_EQ(result.added, 6);
}

TEST(CommandDatabase, StableSortKeepsEachNameBesideItsNumber) {
    // Many equal identities interleaved with others: a sort that is not
    // stable, or that moves identities without names, mixes them up.
    std::vector<Syntax> nodes;
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "cmd" + std::to_string(i);
        nodes.push_back(Command(i % 2 == 0 ? 7 : 300 - i, name.c_str()));
    }
    std::vector<std::pair<int, std::string>> want;
    for (int i = 0; i < 200; i += 2) want.emplace_back(7, "cmd" + std::to_string(i));
    for (int i = 199; i >= 1; i -= 2) want.emplace_back(300 - i, "cmd" + std::to_string(i));
    for (const auto& [identity, name] : want) {
        expected += "CommandDictionary.value(\"" + name + "\") = " + std::to_string(identity) + "\n";
    }
    EXPECT_EQ(Joined(testing::CommandDatabaseWhole(nodes)), expected);
}

TEST(CommandDatabase, EmptyCacheCompletesWithNothing) {
    const auto result = testing::CommandDatabaseWhole({});
    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(result.processed, 0);
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.message().rfind("0 proccessed, and 0 were added. This took ", 0), 0u);
}

TEST(CommandDatabase, MessageGivesCountsAndSeconds) {
    CommandDatabaseResult result;
    result.processed = 54;
    result.added = 9;
    result.ticks = 30;
    EXPECT_EQ(result.message(), "54 proccessed, and 9 were added. This took 0.5 seconds");
    result.ticks = 120;
    EXPECT_EQ(result.message(), "54 proccessed, and 9 were added. This took 2 seconds");
    EXPECT_STREQ(kCommandDatabaseTitle, "Map Script command DataBase");
}

}  // namespace
}  // namespace quorin
