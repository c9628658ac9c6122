// SPDX-License-Identifier: GPL-3.0-or-later
// Editing a script's or global's text on the demo map: each kind of token
// writes its one field (bytes worked out here from the layout), every way a
// text leaves its shape is refused with its place and nothing written, and
// an apply is one step of the write history.

#include <gtest/gtest.h>

#include <cctype>

#include "builder/DemoMap.h"
#include "edit/WriteHistory.h"
#include "map/FileLayout.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/EditFixture.h"
#include "support/HandMap.h"
#include "support/TempMap.h"
#include "session/TextEditApply.h"
#include "textedit/TextEditPlan.h"

namespace quorin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An edit of the shown text: the first `from` becomes `to`.
struct Replace {
    const char* from;
    const char* to;
};

std::string Edited(std::string text, const std::vector<Replace>& edits) {
    for (const Replace& edit : edits) {
        const std::size_t at = text.find(edit.from);
        EXPECT_NE(at, std::string::npos) << edit.from;
        if (at != std::string::npos) text.replace(at, std::string_view(edit.from).size(), edit.to);
    }
    return text;
}

enum class Where { Script, Global, Node };

// One field a row expects written: its record, the field's offset in it and
// the bytes.
struct Field {
    Where where;
    int index;
    int at;
    std::string bytes;
};

std::string Short(int value) { return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)}; }
std::string Long(std::int64_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}
std::string NameBytes(std::string name) { return name + std::string(32 - name.size(), '\0'); }

// Where the demo map's builder stores node i's text, counted from the string
// table: an empty text at 0, then each node's text in node order.
std::int64_t DemoTextOffset(int node) {
    std::int64_t at = 1;
    const MapBuilder demo = DemoMap();
    for (int i = 0; i < node; ++i) {
        if (!demo.nodes[static_cast<std::size_t>(i)].Command.empty()) at += demo.nodes[static_cast<std::size_t>(i)].Command.size() + 1;
    }
    return at;
}

struct Demo {
    testing::TempDir dir;
    MapBuilder builder = DemoMap();
    std::string path = testing::WriteMap(dir, builder, "demo.map");
    MapLayout layout = builder.layout();
    Bytes bytes = testing::ReadBytes(path);
    MapState map;
    WriteHistory history;

    Demo() { EXPECT_TRUE(OpenMap(map, path, BuiltInMapNames())); }

    TextRecord record(const std::string& which) const {
        const bool script = which.starts_with("s:");
        const std::string name = which.substr(2);
        return script ? TextRecord{RecordKind::Script, *map.scriptPosition(name)}
                      : TextRecord{RecordKind::Global, *map.globalPosition(name)};
    }
    std::string text(const std::string& which) const { return RecordText(map, record(which)).text(); }
    std::int64_t offsetOf(const Field& field) const {
        switch (field.where) {
        case Where::Script: return layout.scriptEntry(field.index) + field.at;
        case Where::Global: return layout.globalEntry(field.index) + field.at;
        case Where::Node: break;
        }
        return layout.node(field.index) + field.at;
    }
    Bytes expected(const std::vector<Field>& fields) const {
        Bytes image = bytes;
        for (const Field& field : fields) {
            std::copy(field.bytes.begin(), field.bytes.end(), image.begin() + offsetOf(field));
        }
        return image;
    }
};

struct TokenRow {
    const char* what;
    const char* record;
    std::vector<Replace> edits;
    std::vector<Field> writes;
};

// One row per kind of token (grouped as the table of token kinds), then the
// rule that a field showing the asked value is left alone.
const std::vector<TokenRow>& TokenRows() {
    static const std::vector<TokenRow> rows = {
        // script type: within {startup, continuous} and within {dormant, static, stub}
        {"script type static to stub", "s:patrol_loop", {{"static", "stub"}}, {{Where::Script, 0, 32, Short(4)}}},
        {"script type startup to continuous", "s:intro", {{"startup", "continuous"}}, {{Where::Script, 1, 32, Short(2)}}},
        // return type, a name with a space included
        {"return type", "s:patrol_loop", {{"void", "short"}}, {{Where::Script, 0, 34, Short(7)}}},
        {"return type with a space", "s:patrol_loop", {{"void", "special form"}}, {{Where::Script, 0, 34, Short(1)}}},
        // script and global names: the whole 32-byte field
        {"script name", "s:patrol_loop", {{"patrol_loop", "patrol_2"}}, {{Where::Script, 0, 0, NameBytes("patrol_2")}}},
        {"global name", "g:vault_code", {{"vault_code", "vault_key"}}, {{Where::Global, 4, 0, NameBytes("vault_key")}}},
        // global type; its value is then read under the new type
        {"global type, value shown alike", "g:guard_count", {{"short", "long"}}, {{Where::Global, 2, 32, Short(8)}}},
        {"global type and value as a truth word", "g:guard_count", {{"short", "boolean"}, {" 4)", " true)"}},
         {{Where::Global, 2, 32, Short(5)}, {Where::Node, 50, 16, Short(-255)}}},
        // node text: the smallest stored offset of a node with that text
        {"node text in the walk", "s:patrol_loop", {{"sleep", "set"}}, {{Where::Node, 2, 12, Long(DemoTextOffset(5))}}},
        {"node text of the child line", "s:patrol_loop", {{"(begin", "(print"}},
         {{Where::Node, 11, 12, Long(DemoTextOffset(13))}}},
        // node numbers: two bytes, the child identity beside them untouched
        {"node number", "s:patrol_loop", {{"sleep 30", "sleep 60"}}, {{Where::Node, 3, 16, Short(60)}}},
        {"node number with a sign and zeros", "s:patrol_loop", {{"abs 5", "abs +007"}}, {{Where::Node, 9, 16, Short(7)}}},
        {"negative node number", "s:open_vault", {{"-1200", "-32768"}}, {{Where::Node, 32, 16, Short(-32768)}}},
        // truth words
        {"node truth word", "s:intro", {{"raised false", "raised true"}}, {{Where::Node, 18, 16, Short(-255)}}},
        {"boolean global value", "g:vault_open", {{"false", "true"}}, {{Where::Node, 49, 16, Short(-255)}}},
        {"number global value", "g:guard_count", {{" 4)", " -7)"}}, {{Where::Node, 50, 16, Short(-7)}}},
        // a field that shows the asked value keeps what it holds: the value 0
        // shows as false under boolean
        {"value already shown as false", "g:briefing_line", {{"string", "boolean"}, {" 0)", " false)"}},
         {{Where::Global, 5, 32, Short(5)}}},
        {"nothing changed", "s:difficulty_bonus", {}, {}},
        {"several tokens in text order", "s:patrol_loop",
         {{"static void patrol_loop", "dormant real patrol"}, {"sleep 30", "sleep 1"}},
         {{Where::Script, 0, 32, Short(1)},
          {Where::Script, 0, 34, Short(6)},
          {Where::Script, 0, 0, NameBytes("patrol")},
          {Where::Node, 3, 16, Short(1)}}},
    };
    return rows;
}

class TokenTable : public ::testing::TestWithParam<TokenRow> {};

TEST_P(TokenTable, WritesTheFieldTheTokenRenders) {
    const TokenRow& row = GetParam();
    Demo demo;
    const TextRecord record = demo.record(row.record);
    const std::string edited = Edited(demo.text(row.record), row.edits);
    const TextPlan plan = PlanEditedFile(demo.map, record, edited);
    ASSERT_FALSE(plan.refused()) << plan.refusals.front().message;
    ASSERT_EQ(plan.writes.size(), row.writes.size());
    for (std::size_t i = 0; i < row.writes.size(); ++i) {
        EXPECT_EQ(plan.writes[i].offset, demo.offsetOf(row.writes[i])) << i;
    }
    ASSERT_TRUE(ApplyTextPlan(demo.map, plan, &demo.history));
    EXPECT_EQ(testing::ReadBytes(demo.path), demo.expected(row.writes));
    // The records follow, so the text shows what was typed (numbers as the
    // tool prints them).
    MapState reloaded;
    ASSERT_TRUE(OpenMap(reloaded, demo.path, BuiltInMapNames()));
    EXPECT_EQ(RecordText(demo.map, record).text(), RecordText(reloaded, record).text());
}

INSTANTIATE_TEST_SUITE_P(Demo, TokenTable, ::testing::ValuesIn(TokenRows()),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

struct RefusalRow {
    const char* what;
    const char* record;
    std::vector<Replace> edits;
    std::size_t line;
    std::size_t column;
    const char* says;  // part of the message
};

const std::vector<RefusalRow>& RefusalRows() {
    static const std::vector<RefusalRow> rows = {
        {"fixed text changed", "s:patrol_loop", {{"( sleep", "(sleep"}}, 3, 2, "fixed text changed: expected \" \""},
        {"fixed text cut short", "s:patrol_loop", {{"\n))", "\n)"}}, 5, 2, "expected \")\""},
        {"text after the end", "s:patrol_loop", {{"\n))", "\n)) x"}}, 5, 3, "goes on after the end"},
        {"script type across the groups", "s:patrol_loop", {{"static", "startup"}}, 1, 9, "drop the return type"},
        {"script type into the return group", "s:intro", {{"startup", "stub"}}, 1, 9, "add the return type"},
        {"no script type", "s:patrol_loop", {{"static", "sometimes"}}, 1, 9, "\"sometimes\" is not a script type"},
        {"no value type", "s:patrol_loop", {{"void", "vacuum"}}, 1, 16, "\"vacuum\" is not a value type name"},
        {"name too long", "s:patrol_loop", {{"patrol_loop", "a_name_of_thirty_two_bytes_long!"}}, 1, 21, "at most 31"},
        {"name with a control byte", "g:vault_code", {{"vault_code", "vault\tcode"}}, 1, 14, "control byte \\x09"},
        {"node text no node has", "s:patrol_loop", {{"sleep", "snooze"}}, 3, 3, "no node of the map has the text \"snooze\""},
        {"number out of range", "s:patrol_loop", {{"30", "32768"}}, 3, 9, "not a number from -32768 to 32767"},
        {"number with letters", "s:patrol_loop", {{"30", "3O"}}, 3, 9, "not a number"},
        {"truth word", "s:intro", {{"raised false", "raised nope"}}, 4, 20, "\"nope\" is not a truth word"},
        {"boolean global value", "g:vault_open", {{"false", "0"}}, 1, 28, "\"0\" is not a truth word"},
        {"value left under a new type", "g:guard_count", {{"short", "boolean"}}, 1, 29, "\"4\" is not a truth word"},
        {"spaced node text from a file", "s:intro", {{"(again)", "(once)"}}, 3, 9, "holds a space, a parenthesis"},
    };
    return rows;
}

class RefusalTable : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(RefusalTable, SaysWhereAndWritesNothing) {
    const RefusalRow& row = GetParam();
    Demo demo;
    const std::string edited = Edited(demo.text(row.record), row.edits);
    const TextPlan plan = PlanEditedFile(demo.map, demo.record(row.record), edited);
    ASSERT_TRUE(plan.refused());
    const Refusal& refusal = plan.refusals.front();
    const TextPlace place = PlaceFinder(edited).placeOf(refusal.at);
    EXPECT_EQ(place.line, row.line) << refusal.message;
    EXPECT_EQ(place.column, row.column) << refusal.message;
    EXPECT_NE(refusal.message.find(row.says), std::string::npos) << refusal.message;
    EXPECT_FALSE(ApplyTextPlan(demo.map, plan, &demo.history));
    EXPECT_EQ(testing::ReadBytes(demo.path), demo.bytes);
    EXPECT_FALSE(demo.history.canUndo(demo.map));
}

INSTANTIATE_TEST_SUITE_P(Demo, RefusalTable, ::testing::ValuesIn(RefusalRows()),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// A node that the child line and the walk both pass through: its two tokens
// must ask for the same text, which is then written once.
TEST(TextEdit, NodeOnTheChildLineAndInTheWalkAsksOnce) {
    // identity, engine, expression type, value type, value, sibling, child, text
    MapBuilder builder;
    builder.nodes = {
        testing::Node(1, 7, 9, 7, 0, -1, -1, "zero"),
        testing::Node(2, 12, 9, 2, 0, 2, -1, "go"),  // the child; its sibling is itself, so the walk starts there
        testing::Node(3, 0, 8, 4, 0, -1, 2, ""),
        testing::Node(4, 12, 9, 2, 0, -1, -1, "stop"),
    };
    builder.scripts = {{"twice", 3, 4, 3, 0}};
    testing::TempDir dir;
    const std::string path = testing::WriteMap(dir, builder);
    MapState map;
    ASSERT_TRUE(OpenMap(map, path, BuiltInMapNames()));
    const TextRecord record{RecordKind::Script, 0};
    const std::string text = RecordText(map, record).text();
    ASSERT_EQ(text, "(script static void twice\n(go\n go)))");

    const TextPlan both = PlanEditedFile(map, record, "(script static void twice\n(stop\n stop)))");
    ASSERT_FALSE(both.refused());
    ASSERT_EQ(both.writes.size(), 1u);
    EXPECT_EQ(both.writes[0].offset, builder.layout().node(1) + 12);

    const TextPlan one = PlanEditedFile(map, record, "(script static void twice\n(go\n stop)))");
    ASSERT_TRUE(one.refused());
    EXPECT_EQ(one.refusals.front().at, text.find(" go)") + 1);
    EXPECT_NE(one.refusals.front().message.find("node 2 appears twice"), std::string::npos);
}

// Undo Last Write takes back every field of an apply and the records with
// them; redo writes them all again.
TEST(TextEdit, UndoOfAnApplyPutsBackEveryField) {
    Demo demo;
    const std::string before = testing::StateImage(demo.map);
    const TextRecord record = demo.record("s:patrol_loop");
    const std::string edited =
        Edited(demo.text("s:patrol_loop"), {{"patrol_loop", "patrol"}, {"sleep 30", "print 31"}, {"abs", "set"}});
    const TextPlan plan = PlanEditedFile(demo.map, record, edited);
    ASSERT_EQ(plan.writes.size(), 4u);
    ASSERT_TRUE(ApplyTextPlan(demo.map, plan, &demo.history));
    const Bytes applied = testing::ReadBytes(demo.path);
    const std::string after = testing::StateImage(demo.map);
    EXPECT_EQ(RecordText(demo.map, record).text(), edited);
    EXPECT_EQ(demo.map.scriptPosition("patrol"), record.position);

    auto undone = demo.history.undo(demo.map);
    ASSERT_TRUE(undone) << MessageOf(undone.error());
    EXPECT_EQ(testing::ReadBytes(demo.path), demo.bytes);
    EXPECT_EQ(RecordText(demo.map, record).text(), demo.text("s:patrol_loop"));
    // Every record as loaded; the new name keeps its dictionary entry, as
    // after any undone rename.
    std::string image = testing::StateImage(demo.map);
    const std::string kept = "ScriptsByName patrol 0\n";
    ASSERT_NE(image.find(kept), std::string::npos);
    EXPECT_EQ(image.erase(image.find(kept), kept.size()), before);
    // The name, two node texts with their offsets and a value.
    EXPECT_EQ(undone->size(), 6u);

    auto redone = demo.history.redo(demo.map);
    ASSERT_TRUE(redone) << MessageOf(redone.error());
    EXPECT_EQ(testing::ReadBytes(demo.path), applied);
    EXPECT_EQ(testing::StateImage(demo.map), after);
}

TEST(TextEdit, NothingToWriteMakesNoBackupAndNoStep) {
    Demo demo;
    demo.map.backupBeforeFirstWrite = true;
    const TextRecord record = demo.record("s:intro");
    const TextPlan plan = PlanEditedFile(demo.map, record, demo.text("s:intro"));
    ASSERT_FALSE(plan.refused());
    EXPECT_TRUE(plan.writes.empty());
    ASSERT_TRUE(ApplyTextPlan(demo.map, plan, &demo.history));
    EXPECT_FALSE(demo.history.canUndo(demo.map));
    EXPECT_EQ(testing::FileImage(demo.path + ".bak"), "missing");
}

}  // namespace
}  // namespace quorin
