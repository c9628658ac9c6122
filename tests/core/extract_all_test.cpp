// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "extract/ExtractAll.h"
#include "support/HandMap.h"
#include "support/WholeText.h"

namespace quorin {
namespace {

using testing::FooNodes;
using testing::FooScript;
using testing::HandMap;
using testing::Node;

constexpr const char* kFooBlock =
    "(script static void foo)\n(begin\n( sleep 30)\n( set 0( abs 5))\n))\n\n";

TEST(ExtractAll, LayoutIsGlobalsFiveLineEndsScripts) {
    const GlobalHeader count{"count", 7, 102, 0};
    struct Case {
        const char* what;
        std::vector<ScriptHeader> scripts;
        std::vector<GlobalHeader> globals;
        std::vector<Syntax> nodes;
        std::string text;
    };
    const Case cases[] = {
        {"nothing loaded", {}, {}, {}, "\n\n\n\n\n"},
        {"globals only", {}, {count, count}, FooNodes(), "(global short count 30)\n(global short count 30)\n\n\n\n\n\n"},
        {"scripts only", {FooScript()}, {}, FooNodes(), std::string("\n\n\n\n\n") + kFooBlock},
        {"both", {FooScript(), FooScript()}, {count}, FooNodes(),
         std::string("(global short count 30)\n\n\n\n\n\n") + kFooBlock + kFooBlock},
    };
    for (const Case& row : cases) {
        const MapState map = HandMap(row.nodes, row.scripts, row.globals);
        const auto result = testing::ExtractAllWhole(ExtractionSnapshot(map));
        EXPECT_EQ(result.text, row.text) << row.what;
        EXPECT_EQ(result.globals, static_cast<std::int64_t>(row.globals.size())) << row.what;
        EXPECT_EQ(result.scripts, static_cast<std::int64_t>(row.scripts.size())) << row.what;
        EXPECT_GE(result.ticks, 0) << row.what;
    }
}

TEST(ExtractAll, SyntaxPartsAreGlobalsPlusTwoPerScriptPlusWalkedPositions) {
    // foo walks 9 positions; idle's child sibling lies after its root, so it
    // walks none; lost falls back to root 0 and walks none either.
    std::vector<Syntax> nodes = FooNodes();
    nodes.push_back(Node(111, 0, 8, 4, 0, -1, 112));
    nodes.push_back(Node(112, 0, 9, 2, 0, 112, 0, "begin"));
    const MapState map = HandMap(nodes, {FooScript(), {"idle", 0, 4, 111, 0}, {"lost", 0, 4, 4040, 0}},
                                 {{"a", 7, 102, 0}, {"b", 7, 108, 0}});
    const auto result = testing::ExtractAllWhole(ExtractionSnapshot(map));
    EXPECT_EQ(result.globals, 2);
    EXPECT_EQ(result.scripts, 3);
    EXPECT_EQ(result.syntaxParts, 2 + 2 * 3 + 9);
}

TEST(ExtractAll, EngineIdentityMinusOnePrintsTextButTypeThirteenPrintsValue) {
    std::vector<Syntax> nodes = FooNodes();
    nodes[3].EngineIdentity = -1;  // the group around set
    nodes[3].Command = "grp";
    const MapState map = HandMap(nodes, {FooScript()});
    EXPECT_EQ(testing::ExtractAllWhole(ExtractionSnapshot(map)).text,
              "\n\n\n\n\n(script static void foo)\n(begin\n( sleep 30)\n grp set 0( abs 5))\n))\n\n");
}

TEST(ExtractAll, SnapshotIsNotDisturbedByLaterChanges) {
    MapState map = HandMap(FooNodes(), {FooScript()});
    const ExtractionSnapshot snapshot = ExtractionSnapshot(map);
    map.SyntaxCache[2].ScriptValue = 99;
    map = HandMap({}, {}, {});
    EXPECT_EQ(testing::ExtractAllWhole(snapshot).text, std::string("\n\n\n\n\n") + kFooBlock);
}

TEST(ExtractAll, MessageHasThreeLinesWithCountsAndSeconds) {
    ExtractAllResult result;
    result.globals = 6;
    result.scripts = 2;
    result.syntaxParts = 31;
    result.ticks = 30;
    EXPECT_EQ(result.message(),
              "The extraction is done.\n"
              "6 globals were extracted, 2 scripts were extracted, and 31 syntax parts extracted.\n"
              "This proccess took 0.5 seconds.");
    result.ticks = 150;
    EXPECT_NE(result.message().find("took 2.5 seconds."), std::string::npos);
}

}  // namespace
}  // namespace quorin
