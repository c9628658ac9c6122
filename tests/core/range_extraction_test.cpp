// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "extract/RangeExtraction.h"
#include "support/HandMap.h"

namespace quorin {
namespace {

using testing::FooNodes;
using testing::FooScript;
using testing::HandMap;
using testing::Node;

TEST(ScriptRangeText, WorkedExampleByteForByte) {
    const MapState map = HandMap(FooNodes(), {FooScript()});
    EXPECT_EQ(ScriptRangeText(map, 0, 0),
              "(script static void foo)\n"
              "(begin\n"
              "( sleep 30)\n"
              "( set 0( abs 5))\n"
              "))\n"
              "\n");
}

TEST(ScriptRangeText, BlocksUseTheRangeRulesAndCloseTheHeader) {
    // engine -1 opens a group here; a root child of another type follows ")".
    const MapState map = HandMap({Node(1, -1, 8, 4, 0, -1, -1, "seq"), Node(2, 7, 13, 7, 3, -1, -1, "x"),
                                  Node(3, 0, 8, 4, 0, -1, 4), Node(4, 7, 13, 5, 0, 1, 0, "flag")},
                                 {{"a", 2, 7, 3, 0}, {"b", 1, 4, 3, 0}});
    EXPECT_EQ(ScriptRangeText(map, 0, 1),
              "(script continuous a)( 3))\n"
              "\n"
              "(script dormant void b)( 3))\n"
              "\n");
}

ScriptHeader Named(const char* name) { return {name, 0, 4, 99, 0}; }
GlobalHeader Global(const char* name) { return {name, 7, 1, 0}; }

TEST(RangeText, ExtractsThePositionsThatExist) {
    const MapState map = HandMap({Node(1, 7, 13, 7, 5, -1, -1)}, {Named("s0"), Named("s1"), Named("s2")},
                                 {Global("g0"), Global("g1"), Global("g2")});
    struct Case {
        std::int64_t first, last;
        const char* scripts;
        const char* globals;
    };
    const Case cases[] = {
        {0, 1, "(script startup s0)))\n\n(script startup s1)))\n\n", "(global short g0 5)\n(global short g1 5)\n"},
        {1, 2, "(script startup s1)))\n\n(script startup s2)))\n\n", "(global short g1 5)\n(global short g2 5)\n"},
        {2, 9, "(script startup s2)))\n\n", "(global short g2 5)\n"},
        {1, 1, "(script startup s1)))\n\n", "(global short g1 5)\n"},
        {3, 4, "", ""},
        {2, 1, "", ""},
        {-1, 1, "", ""},
        {-5, -1, "", ""},
        {INT64_MAX - 1, INT64_MAX, "", ""},
        {0, INT64_MAX, "(script startup s0)))\n\n(script startup s1)))\n\n(script startup s2)))\n\n",
         "(global short g0 5)\n(global short g1 5)\n(global short g2 5)\n"},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(ScriptRangeText(map, row.first, row.last), row.scripts) << row.first << ".." << row.last;
        EXPECT_EQ(GlobalRangeText(map, row.first, row.last), row.globals) << row.first << ".." << row.last;
    }
}

TEST(GlobalRangeText, LinesAreTheDeclarationsWithLineEnds) {
    const MapState map = HandMap({Node(1, 7, 9, 5, -255, -1, -1), Node(2, 7, 9, 5, -256, -1, -1),
                                  Node(3, 7, 9, 8, -1200, -1, -1)},
                                 {}, {{"on", 5, 1, 0}, {"off", 5, 2, 0}, {"code", 8, 3, 0}, {"other", 5, 3, 0}});
    EXPECT_EQ(GlobalRangeText(map, 0, 3),
              "(global boolean on true)\n"
              "(global boolean off false)\n"
              "(global long code -1200)\n"
              "(global boolean other false)\n");
}

TEST(RangeText, NothingLoadedGivesEmptyText) {
    const MapState map;
    EXPECT_EQ(ScriptRangeText(map, 0, 1), "");
    EXPECT_EQ(GlobalRangeText(map, 0, 1), "");
}

}  // namespace
}  // namespace quorin
