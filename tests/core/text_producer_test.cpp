// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "base/TextFormat.h"
#include "builder/DemoMap.h"
#include "map/MapLoader.h"
#include "map/TypeTables.h"
#include "script/Decompiler.h"
#include "script/TextProducer.h"
#include "support/HandMap.h"
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

// A text's parts written out: fixed bytes as they are, each token as
// <KIND:BYTES>, or <KIND:BYTES@POSITION> with positions.
std::string Described(const PartedText& text, bool positions = false) {
    static constexpr const char* kKinds[] = {"",     "type",   "return", "script", "gtype",
                                             "global", "text", "number", "truth",  "value"};
    std::string out;
    for (const TextPart& part : text.parts()) {
        if (!IsToken(part.kind)) {
            out += text.bytesOf(part);
            continue;
        }
        out += std::string("<") + kKinds[static_cast<int>(part.kind)] + ":";
        out += text.bytesOf(part);
        if (positions) out += "@" + std::to_string(part.position);
        out += ">";
    }
    return out;
}

// The parts one node adds to a walk under rules.
std::string NodeParts(const Syntax& node, NodeTextRules rules) {
    const MapState map = HandMap({node});
    PartedText text;
    TextProducer(map, rules).node(text, 0);
    return Described(text);
}

struct NodeTextCase {
    const char* what;
    Syntax node;
    const char* selection;
    const char* range;
    const char* all;
};

TEST(NodeText, EachRuleSetTakesTheFirstRuleThatHolds) {
    // Sibling and child links that close no group.
    const NodeTextCase cases[] = {
        {"engine -1 on a group opener", Node(1, -1, 8, 4, 0, 5, 0, "seq"), " <text:seq>", "(", " <text:seq>"},
        {"engine -1 on a number", Node(1, -1, 9, 7, 12, 5, 0, "twelve"), " <text:twelve>", " <number:12>",
         " <text:twelve>"},
        {"type 13 short", Node(1, 7, 13, 7, 0, 5, 0, "x"), " <text:x>", " <number:0>", " <number:0>"},
        {"type 13 true boolean", Node(1, 7, 13, 5, -255, 5, 0, "flag"), " <text:flag>", " <truth:true>",
         " <truth:true>"},
        {"type 13 string", Node(1, 7, 13, 9, 0, 5, 0, "name"), " <text:name>", " <text:name>", " <text:name>"},
        {"group opener", Node(1, 12, 8, 7, 3, 5, 0, "ignored"), "(", "(", "("},
        {"real", Node(1, 7, 9, 6, -2, 5, 0, "-2.5"), " <number:-2>", " <number:-2>", " <number:-2>"},
        {"short", Node(1, 7, 9, 7, 30, 5, 0, "30"), " <number:30>", " <number:30>", " <number:30>"},
        {"negative long", Node(1, 7, 9, 8, -1200, 5, 0, "-1200"), " <number:-1200>", " <number:-1200>",
         " <number:-1200>"},
        {"boolean true", Node(1, 7, 9, 5, -255, 5, 0, "t"), " <truth:true>", " <truth:true>", " <truth:true>"},
        {"boolean false", Node(1, 7, 9, 5, -256, 5, 0, "f"), " <truth:false>", " <truth:false>", " <truth:false>"},
        {"boolean of another value", Node(1, 7, 9, 5, 7, 5, 0, "maybe"), " <text:maybe>", " <text:maybe>",
         " <text:maybe>"},
        {"boolean 1 is not true", Node(1, 7, 9, 5, 1, 5, 0, "one"), " <text:one>", " <text:one>", " <text:one>"},
        {"string with spaces and parentheses", Node(1, 7, 9, 9, 0, 5, 0, "hello, world (again)"),
         " <text:hello, world (again)>", " <text:hello, world (again)>", " <text:hello, world (again)>"},
        {"function name", Node(1, 12, 9, 2, 0, 5, 0, "sleep"), " <text:sleep>", " <text:sleep>", " <text:sleep>"},
        {"negative value type", Node(1, 7, 9, -3, 4, 5, 0, "odd"), " <text:odd>", " <text:odd>", " <text:odd>"},
    };
    for (const NodeTextCase& row : cases) {
        const std::pair<NodeTextRules, const char*> expected[] = {
            {NodeTextRules::SelectionDisplay, row.selection},
            {NodeTextRules::RangeExtraction, row.range},
            {NodeTextRules::ExtractAll, row.all},
        };
        for (const auto& [rules, text] : expected) {
            EXPECT_EQ(NodeParts(row.node, rules), text) << row.what << ", rule set " << static_cast<int>(rules);
        }
    }
}

TEST(Closer, AtMostOneCloserAndOnlyAfterTypeNine) {
    struct Case {
        std::int32_t kid, sibling, expType;
        const char* text;  // under the range rules, which print the value 0
    };
    const Case cases[] = {
        {-1, -1, 9, " <number:0>))\n"},  // A
        {0, -1, 9, " <number:0>)\n"},    // B
        {107, -1, 9, " <number:0>)\n"},  // B
        {-1, 5, 9, " <number:0>)"},      // C
        {0, 5, 9, " <number:0>"},
        {-1, -1, 8, "("},
        {-1, -1, 13, " <number:0>"},
        {-2, -2, 9, " <number:0>"},  // only -1 means no link
    };
    for (const Case& row : cases) {
        EXPECT_EQ(NodeParts(Node(1, 7, row.expType, 7, 0, row.sibling, row.kid, "n"), NodeTextRules::RangeExtraction),
                  row.text)
            << "kid " << row.kid << " sibling " << row.sibling << " type " << row.expType;
    }
}

TEST(ScriptHeader, ReturnTypeOnlyForDormantStaticAndStub) {
    struct Case {
        std::int32_t type, returnType;
        const char* text;
    };
    const Case cases[] = {
        {0, 4, "(script <type:startup> <script:foo>))"},
        {1, 4, "(script <type:dormant> <return:void> <script:foo>))"},
        {2, 6, "(script <type:continuous> <script:foo>))"},
        {3, 48, "(script <type:static> <return:scenery_name> <script:foo>))"},
        {4, 5, "(script <type:stub> <return:boolean> <script:foo>))"},
        {5, 7, "(script <type:5> <return:short> <script:foo>))"},
        {-1, 49, "(script <type:-1> <return:49> <script:foo>))"},
        {1, -7, "(script <type:dormant> <return:-7> <script:foo>))"},
    };
    for (const Case& row : cases) {
        // No nodes: the header and the closing only.
        const MapState map = HandMap({}, {{"foo", row.type, row.returnType, 0, 0}});
        EXPECT_EQ(Described(ScriptTextParts(map, 0)), row.text);
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

TEST(TextParts, EveryTokenNamesItsRecordOrNode) {
    std::vector<Syntax> nodes = FooNodes();
    nodes.push_back(Node(111, 7, 9, 7, 11, -1, -1, "eleven"));
    const MapState map = HandMap(nodes, {FooScript()}, {{"count", 7, 111, 0}, {"flag", 5, 111, 0}});
    // The root (position 9) is never printed; its child (10) has the line
    // after the header; the walk is positions 0 to 8.
    EXPECT_EQ(Described(ScriptTextParts(map, 0), true),
              "(script <type:static@0> <return:void@0> <script:foo@0>\n"
              "(<text:begin@10>\n"
              "( <text:sleep@1> <number:30@2>)\n"
              "( <text:set@4> <text:x@5>( <text:abs@7> <number:5@8>))\n"
              "))");
    EXPECT_EQ(Described(GlobalTextParts(map, 0), true), "(global <gtype:short@0> <global:count@0> <value:11@11>)");
    EXPECT_EQ(Described(GlobalTextParts(map, 1), true), "(global <gtype:boolean@1> <global:flag@1> <value:false@11>)");
}

TEST(TextParts, ACutTextKeepsThePartsThatFit) {
    const MapState map = HandMap(FooNodes(), {FooScript()});
    const PartedText cut = ScriptTextParts(map, 0, 28);
    EXPECT_EQ(cut.text(), DecompileScript(map, map.ScriptHeaderCache[0], 28));
    ASSERT_FALSE(cut.parts().empty());
    EXPECT_EQ(cut.parts().back().from + cut.parts().back().size, 28u);
    // "(begin" is cut after "beg".
    EXPECT_EQ(cut.bytesOf(cut.parts().back()), "beg");
}

// The contract of a token's field: where it lies and how wide it is.
// Types, numbers and truth words are int16, node texts an int32 offset into
// the string table, names a 32-byte field ending in a zero byte.
TEST(TextParts, EachTokensFieldInTheFileHoldsWhatTheTokenShows) {
    const MapBuilder builder = DemoMap();
    testing::TempDir dir;
    const std::string path = testing::WriteMap(dir, builder);
    const std::vector<std::uint8_t> file = testing::ReadBytes(path);
    MapState map;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(map, path, messages));

    auto number = [&](std::int64_t at, std::int32_t width) {
        std::uint32_t value = 0;
        for (std::int32_t i = width - 1; i >= 0; --i) value = value << 8 | file.at(static_cast<std::size_t>(at + i));
        return width == 2 ? static_cast<std::int16_t>(value) : static_cast<std::int32_t>(value);
    };
    auto zeroEnded = [&](std::int64_t at, std::int64_t most) {
        std::string text;
        for (; text.size() < static_cast<std::size_t>(most) && file.at(static_cast<std::size_t>(at)) != 0; ++at) {
            text += static_cast<char>(file[static_cast<std::size_t>(at)]);
        }
        return text;
    };
    // What the field's bytes show as the token's kind.
    auto shown = [&](PartKind kind, const PartField& where, std::string_view token) -> std::string {
        const std::int32_t width = where.field.width;
        switch (kind) {
        case PartKind::ScriptType: return ScriptTypeName(number(where.offset, width));
        case PartKind::ReturnType:
        case PartKind::GlobalType: return ValueTypeName(number(where.offset, width));
        case PartKind::ScriptName:
        case PartKind::GlobalName: return zeroEnded(where.offset, width - 1);
        case PartKind::NodeText: return zeroEnded(builder.layout().stringTable + number(where.offset, width), 1 << 20);
        case PartKind::NodeNumber: return Decimal(number(where.offset, width));
        case PartKind::NodeTruth:
            return number(where.offset, width) == -255 ? "true" : number(where.offset, width) == -256 ? "false" : "?";
        case PartKind::GlobalValue:
            if (token == "true" || token == "false") return number(where.offset, width) == -255 ? "true" : "false";
            return Decimal(number(where.offset, width));
        case PartKind::Fixed: break;
        }
        return "?";
    };
    std::set<PartKind> kinds;
    auto check = [&](const PartedText& text, const char* record) {
        for (const TextPart& part : text.parts()) {
            const auto where = FieldOfPart(map, part);
            ASSERT_EQ(where.has_value(), IsToken(part.kind)) << record;
            if (!where) continue;
            kinds.insert(part.kind);
            EXPECT_EQ(shown(part.kind, *where, text.bytesOf(part)), text.bytesOf(part)) << record << " at " << part.from;
        }
    };
    for (std::size_t i = 0; i < map.ScriptHeaderCache.size(); ++i) check(ScriptTextParts(map, i), "script");
    for (std::size_t i = 0; i < map.GlobalHeaderCache.size(); ++i) check(GlobalTextParts(map, i), "global");
    EXPECT_EQ(kinds.size(), 9u) << "the demo map shows every kind of token";
}

}  // namespace
}  // namespace quorin
