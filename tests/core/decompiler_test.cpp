// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "map/MapLoader.h"
#include "script/Decompiler.h"
#include "support/HandMap.h"
#include "support/WholeText.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using testing::FooNodes;
using testing::FooScript;
using testing::HandMap;
using testing::Node;

TEST(DecompileScript, WorkedExampleByteForByte) {
    const MapState map = HandMap(FooNodes(), {FooScript()});
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[0]),
              "(script static void foo\n"
              "(begin\n"
              "( sleep 30)\n"
              "( set x( abs 5))\n"
              "))");
}

struct NodeTextCase {
    const char* what;
    Syntax node;
    const char* selection;
    const char* range;
    const char* all;
};

TEST(NodeText, EachRuleSetTakesTheFirstRuleThatHolds) {
    const NodeTextCase cases[] = {
        {"engine -1 on a group opener", Node(1, -1, 8, 4, 0, -1, -1, "seq"), " seq", "(", " seq"},
        {"engine -1 on a number", Node(1, -1, 9, 7, 12, -1, -1, "twelve"), " twelve", " 12", " twelve"},
        {"type 13 short", Node(1, 7, 13, 7, 0, -1, -1, "x"), " x", " 0", " 0"},
        {"type 13 true boolean", Node(1, 7, 13, 5, -255, -1, -1, "flag"), " flag", " true", " true"},
        {"type 13 string", Node(1, 7, 13, 9, 0, -1, -1, "name"), " name", " name", " name"},
        {"group opener", Node(1, 12, 8, 7, 3, -1, -1, "ignored"), "(", "(", "("},
        {"real", Node(1, 7, 9, 6, -2, -1, -1, "-2.5"), " -2", " -2", " -2"},
        {"short", Node(1, 7, 9, 7, 30, -1, -1, "30"), " 30", " 30", " 30"},
        {"negative long", Node(1, 7, 9, 8, -1200, -1, -1, "-1200"), " -1200", " -1200", " -1200"},
        {"boolean true", Node(1, 7, 9, 5, -255, -1, -1, "t"), " true", " true", " true"},
        {"boolean false", Node(1, 7, 9, 5, -256, -1, -1, "f"), " false", " false", " false"},
        {"boolean of another value", Node(1, 7, 9, 5, 7, -1, -1, "maybe"), " maybe", " maybe", " maybe"},
        {"boolean 1 is not true", Node(1, 7, 9, 5, 1, -1, -1, "one"), " one", " one", " one"},
        {"string with spaces and parentheses", Node(1, 7, 9, 9, 0, -1, -1, "hello, world (again)"),
         " hello, world (again)", " hello, world (again)", " hello, world (again)"},
        {"function name", Node(1, 12, 9, 2, 0, -1, -1, "sleep"), " sleep", " sleep", " sleep"},
        {"negative value type", Node(1, 7, 9, -3, 4, -1, -1, "odd"), " odd", " odd", " odd"},
    };
    for (const NodeTextCase& row : cases) {
        const std::pair<NodeTextRules, const char*> expected[] = {
            {NodeTextRules::SelectionDisplay, row.selection},
            {NodeTextRules::RangeExtraction, row.range},
            {NodeTextRules::ExtractAll, row.all},
        };
        for (const auto& [rules, text] : expected) {
            const std::string out = "<" + testing::Written([&](TextOutput& to) { AppendNodeText(to, row.node, rules); });
            EXPECT_EQ(out, std::string("<") + text) << row.what << ", rule set " << static_cast<int>(rules);
        }
    }
}

TEST(Closer, AtMostOneCloserAndOnlyAfterTypeNine) {
    struct Case {
        std::int32_t kid, sibling, expType;
        const char* text;
    };
    const Case cases[] = {
        {-1, -1, 9, "))\n"},  // A
        {0, -1, 9, ")\n"},    // B
        {107, -1, 9, ")\n"},  // B
        {-1, 5, 9, ")"},      // C
        {0, 5, 9, ""},
        {-1, -1, 8, ""},
        {-1, -1, 13, ""},
        {-2, -2, 9, ""},  // only -1 means no link
    };
    for (const Case& row : cases) {
        const std::string out = testing::Written(
            [&](TextOutput& to) { AppendCloser(to, Node(1, 7, row.expType, 7, 0, row.sibling, row.kid, "n")); });
        EXPECT_EQ(out, row.text) << "kid " << row.kid << " sibling " << row.sibling << " type " << row.expType;
    }
}

TEST(ScriptHeader, ReturnTypeOnlyForDormantStaticAndStub) {
    struct Case {
        std::int32_t type, returnType;
        const char* text;
    };
    const Case cases[] = {
        {0, 4, "(script startup foo"},
        {1, 4, "(script dormant void foo"},
        {2, 6, "(script continuous foo"},
        {3, 48, "(script static scenery_name foo"},
        {4, 5, "(script stub boolean foo"},
        {5, 7, "(script 5 short foo"},
        {-1, 49, "(script -1 49 foo"},
        {1, -7, "(script dormant -7 foo"},
    };
    for (const Case& row : cases) {
        const std::string out =
            testing::Written([&](TextOutput& to) { AppendScriptHeader(to, {"foo", row.type, row.returnType, 0, 0}); });
        EXPECT_EQ(out, row.text);
    }
}

TEST(DecompileScript, RootChildOfAnotherTypeGivesNoChildLine) {
    // The first walked node follows the name on the header line.
    const MapState map = HandMap({Node(1, 7, 9, 7, 4, -1, -1, "4"), Node(2, 0, 8, 4, 0, -1, 3),
                                  Node(3, 7, 13, 5, 0, 1, 0, "debug_enabled")},
                                 {{"hook", 4, 5, 2, 0}});
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[0]), "(script stub boolean hook 4))\n))");
}

TEST(DecompileScript, SiblingAtOrAfterRootWalksNothing) {
    for (std::int32_t sibling : {2, 3}) {
        const MapState map = HandMap({Node(1, 7, 9, 7, 4, -1, -1, "4"), Node(2, 0, 8, 4, 0, -1, 3),
                                      Node(3, 0, 9, 2, 0, sibling, 0, "begin")},
                                     {{"idle", 0, 4, 2, 0}});
        EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[0]), "(script startup idle\n(begin\n))") << sibling;
    }
}

TEST(DecompileScript, WalkPrintsPositionsOfOtherScripts) {
    // The second script's first statement links back to position 0, so its
    // walk covers the whole of foo as well.
    std::vector<Syntax> nodes = FooNodes();
    nodes.push_back(Node(111, 7, 9, 7, 9, -1, -1, "9"));
    nodes.push_back(Node(112, 0, 8, 4, 0, -1, 113));
    nodes.push_back(Node(113, 0, 9, 2, 0, 100, 0, "begin"));
    const MapState map = HandMap(nodes, {FooScript(), {"bar", 0, 4, 112, 0}});
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[1]),
              "(script startup bar\n(begin\n( sleep 30)\n( set x( abs 5))\n( begin 9))\n))");
}

TEST(DecompileScript, MissingIdentitiesFallBackToPositionZero) {
    // The root names a child nobody has: position 0 becomes the child, so the
    // walk starts at the child's sibling, position 1.
    const std::vector<Syntax> nodes = {Node(50, 0, 9, 2, 0, 51, 0, "begin"), Node(51, 7, 9, 7, -3, -1, -1, "-3"),
                                       Node(52, 7, 9, 7, 8, -1, -1, "8"), Node(53, 0, 8, 4, 0, -1, 999)};
    const MapState map = HandMap(nodes, {{"lost_child", 3, 7, 53, 0}, {"lost_root", 3, 7, 777, 0}});
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[0]), "(script static short lost_child\n(begin\n -3))\n 8))\n))");
    // A missing root is position 0 too, so nothing lies before it.
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[1]), "(script static short lost_root\n(begin\n))");
}

TEST(DecompileScript, DictionaryPositionsOutsideTheCacheStayInside) {
    MapState map = HandMap(FooNodes(), {FooScript()});
    // The root's position is gone: the root is position 0, whose child is
    // sleep; nothing lies before position 0.
    map.SyntaxByIdentity[109] = 5000;
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[0]), "(script static void foo\n(sleep\n))");
    // A negative position for the child falls back to position 0 as well.
    map = HandMap(FooNodes(), {FooScript()});
    map.SyntaxByIdentity[110] = -4;
    map.SyntaxCache[0].ExpType = 9;
    map.SyntaxCache[0].Command = "zero";
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[0]), "(script static void foo\n(zero\n( set x( abs 5))\n))");
}

TEST(DecompileScript, EmptyCacheGivesHeaderAndClosing) {
    const MapState map = HandMap({}, {FooScript()}, {{"g", 7, 3, 0}});
    EXPECT_EQ(DecompileScript(map, map.ScriptHeaderCache[0]), "(script static void foo))");
    EXPECT_EQ(DecompileGlobal(map, map.GlobalHeaderCache[0]), "(global short g)");
}

TEST(DecompileGlobal, ValueFromTheValueNode) {
    const std::vector<Syntax> nodes = {Node(1, 7, 9, 7, 11, -1, -1, "first"), Node(2, 7, 9, 5, -255, -1, -1),
                                       Node(3, 7, 9, 5, -256, -1, -1), Node(4, 7, 9, 5, 7, -1, -1),
                                       Node(5, 7, 9, 6, -2, -1, -1), Node(6, 7, 9, 9, 0, -1, -1, "Commander Vey")};
    struct Case {
        GlobalHeader global;
        const char* text;
    };
    const Case cases[] = {
        {{"on", 5, 2, 0}, "(global boolean on true)"},
        {{"off", 5, 3, 0}, "(global boolean off false)"},
        {{"seven", 5, 4, 0}, "(global boolean seven false)"},
        {{"scale", 6, 5, 0}, "(global real scale -2)"},
        {{"count", 7, 1, 0}, "(global short count 11)"},
        {{"line", 9, 6, 0}, "(global string line 0)"},
        {{"missing", 8, 404, 0}, "(global long missing 11)"},
        {{"odd", 99, 5, 0}, "(global 99 odd -2)"},
        {{"negative", -1, 2, 0}, "(global -1 negative -255)"},
    };
    const MapState map = HandMap(nodes);
    for (const Case& row : cases) EXPECT_EQ(DecompileGlobal(map, row.global), row.text);
}

TEST(DecompileGlobal, RealFromAFileShowsTheLowSixteenBits) {
    // The value field 0x4000FFFE splits into -2 (low half) and 0x4000.
    MapBuilder builder;
    builder.nodes = {Node(1, 7, 9, 7, 0, -1, 0, "pad"), Node(2, 7, 9, 6, -2, -1, 0x4000, "2.0")};
    builder.globals = {{"gravity", 6, 2, 0}};
    testing::TempDir dir;
    MapState map;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(map, testing::WriteMap(dir, builder), messages));
    ASSERT_EQ(map.SyntaxCache.at(1).KidExpPointer, 0x4000);
    EXPECT_EQ(DecompileGlobal(map, map.GlobalHeaderCache.at(0)), "(global real gravity -2)");
}

}  // namespace
}  // namespace quorin
