// SPDX-License-Identifier: GPL-3.0-or-later
// The browse layer on loaded maps: the tree's rows and their keys, the
// record a row or a name leads to, and what the editor page shows for it.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "browse/PageFill.h"
#include "browse/RecordSelection.h"
#include "browse/RowText.h"
#include "browse/TreeRows.h"
#include "builder/DemoMap.h"
#include "edit/FieldWriteBack.h"
#include "script/Decompiler.h"
#include "support/EdgeMaps.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using Texts = std::vector<std::string>;

class Browse : public ::testing::Test {
protected:
    // Writes the map to a file and loads it through the real load chain.
    void loadInto(MapState& state, const MapBuilder& builder) {
        testing::CollectedMessages messages;
        const bool loaded = testing::Load(state, testing::WriteMap(dir_, builder), messages);
        ASSERT_TRUE(loaded) << messages.messages.back();
    }
    MapState load(const MapBuilder& builder) {
        MapState state;
        loadInto(state, builder);
        return state;
    }

    testing::TempDir dir_;
};

Texts RowTexts(const std::vector<TreeRow>& rows) {
    Texts texts;
    for (const TreeRow& row : rows) texts.push_back(row.text);
    return texts;
}

using Positions = std::vector<std::size_t>;

Positions RowPositions(const std::vector<TreeRow>& rows) {
    Positions positions;
    for (const TreeRow& row : rows) positions.push_back(row.key.position);
    return positions;
}

constexpr RowKey kScripts{RowKind::ScriptsFolder, 0};
constexpr RowKey kGlobals{RowKind::GlobalsFolder, 0};
constexpr RowKey ScriptRow(std::size_t position) { return {RowKind::Script, position}; }
constexpr RowKey GlobalRow(std::size_t position) { return {RowKind::Global, position}; }
constexpr RowKey NodeRow(std::size_t position) { return {RowKind::Node, position}; }

// The fields each page has; a fill that skips one leaves the previous
// record's value on screen.
const std::map<EditorPage, std::set<EditField>> kPageFields = {
    {EditorPage::Script,
     {EditField::ScriptName, EditField::ScriptType, EditField::ScriptReturn, EditField::ScriptExpPointer}},
    {EditorPage::Global, {EditField::GlobalName, EditField::GlobalType, EditField::GlobalExpPointer}},
    {EditorPage::Syntax,
     {EditField::SyntaxExpIdent, EditField::SyntaxEngineIdent, EditField::SyntaxType, EditField::SyntaxExpType,
      EditField::SyntaxSibExp, EditField::SyntaxScriptTableOffset, EditField::SyntaxScriptValue,
      EditField::SyntaxKidExp}},
};

// The value the fill gives a field; fails the test when there is none.
FieldValue ValueOf(const PageFill& fill, EditField field) {
    for (const FieldValue& value : fill.fields) {
        if (value.field == field) return value;
    }
    ADD_FAILURE() << "no value for field " << static_cast<int>(field);
    return {field, "<none>", -2};
}

TEST_F(Browse, TopRowsAreTheFoldersThatHaveRecords) {
    struct Case {
        int scripts, globals;
        Texts rows;
        std::vector<RowKey> keys;
    };
    const Case cases[] = {
        {2, 3, {"scripts", "globals"}, {kScripts, kGlobals}},
        {2, 0, {"scripts"}, {kScripts}},
        {0, 3, {"globals"}, {kGlobals}},
        {0, 0, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.scripts << " scripts, " << c.globals << " globals");
        // A second map after a first leaves only its own rows.
        MapState state = load(DemoMap());
        loadInto(state, testing::CountsMap(c.scripts, c.globals));
        const std::vector<TreeRow> rows = TopRows(state);
        EXPECT_EQ(RowTexts(rows), c.rows);
        std::vector<RowKey> keys;
        for (const TreeRow& row : rows) {
            EXPECT_TRUE(row.folder) << row.text;
            keys.push_back(row.key);
        }
        EXPECT_EQ(keys, c.keys);
    }
}

TEST_F(Browse, ChildRowsOfEachKindOfRow) {
    const MapState demo = load(DemoMap());
    const MapState edge = load(testing::EdgeMap());
    struct Case {
        const char* name;
        const MapState& map;
        RowKey row;
        Texts rows;
        RowKind kind;         // of every child row
        Positions positions;  // the records the child rows reach
    };
    const Case cases[] = {
        {"demo scripts in order", demo, kScripts,
         {"s: patrol_loop", "s: intro", "s: watch_gate", "s: open_vault", "s: difficulty_bonus", "s: debug_hook"},
         RowKind::Script, {0, 1, 2, 3, 4, 5}},
        {"demo globals in order", demo, kGlobals,
         {"g: alarm_raised", "g: vault_open", "g: guard_count", "g: gravity_scale", "g: vault_code", "g: briefing_line"},
         RowKind::Global, {0, 1, 2, 3, 4, 5}},
        // Root, its first child, then the nodes the decompiler walks.
        {"demo script", demo, ScriptRow(0), {"110", "111", "101", "102", "103", "104", "105", "106", "107", "108", "109"},
         RowKind::Node, {10, 11, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"root child not a group", demo, ScriptRow(5), {"147", "148", "146"}, RowKind::Node, {47, 48, 46}},
        // Two scripts named alike: each row expands its own script.
        {"first of a shared name", edge, ScriptRow(0), {"14", "15", "11", "12", "13"}, RowKind::Node, {4, 5, 1, 2, 3}},
        {"second of a shared name", edge, ScriptRow(1), {"17", "18", "16"}, RowKind::Node, {7, 8, 6}},
        {"sibling after root", edge, ScriptRow(2), {"19", "20"}, RowKind::Node, {9, 10}},
        // A root the dictionary does not hold shows as it is and reaches node 0.
        {"root not a node", edge, ScriptRow(3), {"999"}, RowKind::Node, {0}},
        {"name holding the separator", edge, ScriptRow(4), {"14", "15", "11", "12", "13"}, RowKind::Node,
         {4, 5, 1, 2, 3}},
        {"edge scripts", edge, kScripts, {"s: twice", "s: twice", "s: late", "s: lost", "s: a: b", "s: caf\xe9"},
         RowKind::Script, {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildRows children = ChildRowsFor(c.map, c.row);
        EXPECT_TRUE(children.known);
        EXPECT_EQ(RowTexts(children.rows), c.rows);
        EXPECT_EQ(RowPositions(children.rows), c.positions);
        for (const TreeRow& row : children.rows) {
            EXPECT_EQ(row.key.kind, c.kind) << row.text;
            EXPECT_EQ(row.folder, c.kind != RowKind::Node) << row.text;
        }
    }
}

// A global row's children: its name row, which reaches the global too, and
// its value node.
TEST_F(Browse, GlobalRowHasItsNameRowAndValueNode) {
    const MapState demo = load(DemoMap());
    const ChildRows children = ChildRowsFor(demo, GlobalRow(2));
    ASSERT_EQ(children.rows.size(), 2u);
    EXPECT_EQ(children.rows[0].text, "g: guard_count");
    EXPECT_EQ(children.rows[0].key, GlobalRow(2));
    EXPECT_FALSE(children.rows[0].folder);
    EXPECT_EQ(children.rows[1].text, "150");
    EXPECT_EQ(children.rows[1].key, NodeRow(50));
}

TEST_F(Browse, NodeRowIsNotAFolder) {
    const ChildRows children = ChildRowsFor(load(DemoMap()), NodeRow(1));
    EXPECT_FALSE(children.known);
    EXPECT_TRUE(children.rows.empty());
}

TEST_F(Browse, RowShowsItsRecordOnItsPage) {
    const MapState demo = load(DemoMap());
    struct Case {
        const char* name;
        RowKey row;
        EditorPage page;
        RecordKind kind;
        std::size_t position;
        std::vector<FieldValue> fields;  // a popup's value is its item index
        const char* text;                // nullptr: not checked
    };
    const Case cases[] = {
        {"s: patrol_loop", ScriptRow(0), EditorPage::Script, RecordKind::Script, 0,
         {{EditField::ScriptName, "patrol_loop"}, {EditField::ScriptExpPointer, "110"},
          {EditField::ScriptType, {}, 3}, {EditField::ScriptReturn, {}, 4}},
         "(script static void patrol_loop\n(begin\n( sleep 30)\n( set x( abs 5))\n))"},
        // A startup script keeps its stored return type.
        {"s: intro", ScriptRow(1), EditorPage::Script, RecordKind::Script, 1,
         {{EditField::ScriptName, "intro"}, {EditField::ScriptExpPointer, "119"}, {EditField::ScriptType, {}, 0},
          {EditField::ScriptReturn, {}, 4}},
         nullptr},
        {"g: guard_count", GlobalRow(2), EditorPage::Global, RecordKind::Global, 2,
         {{EditField::GlobalName, "guard_count"}, {EditField::GlobalExpPointer, "150"}, {EditField::GlobalType, {}, 7}},
         "(global short guard_count 4)"},
        {"g: vault_open", GlobalRow(1), EditorPage::Global, RecordKind::Global, 1,
         {{EditField::GlobalName, "vault_open"}, {EditField::GlobalExpPointer, "149"}, {EditField::GlobalType, {}, 5}},
         "(global boolean vault_open false)"},
        {"101", NodeRow(1), EditorPage::Syntax, RecordKind::Syntax, 1,
         {{EditField::SyntaxExpIdent, "101"}, {EditField::SyntaxEngineIdent, "12"}, {EditField::SyntaxExpType, "8"},
          {EditField::SyntaxSibExp, "104"}, {EditField::SyntaxScriptValue, "0"}, {EditField::SyntaxKidExp, "102"},
          {EditField::SyntaxType, {}, 4}},
         ""},
        {"132", NodeRow(32), EditorPage::Syntax, RecordKind::Syntax, 32,
         {{EditField::SyntaxExpIdent, "132"}, {EditField::SyntaxSibExp, "-1"}, {EditField::SyntaxScriptValue, "-1200"},
          {EditField::SyntaxKidExp, "0"}, {EditField::SyntaxType, {}, 8}},
         "-1200"},
        // A global's value node.
        {"153", NodeRow(53), EditorPage::Syntax, RecordKind::Syntax, 53,
         {{EditField::SyntaxExpIdent, "153"}, {EditField::SyntaxType, {}, 9}}, "Commander Vey"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fill = PageForRow(demo, c.row);
        ASSERT_TRUE(fill);
        EXPECT_EQ(fill->page, c.page);
        EXPECT_EQ(fill->record.kind, c.kind);
        EXPECT_EQ(fill->record.position, c.position);
        std::set<EditField> filled;
        for (const FieldValue& value : fill->fields) filled.insert(value.field);
        EXPECT_EQ(filled, kPageFields.at(c.page));
        for (const FieldValue& expected : c.fields) {
            const FieldValue shown = ValueOf(*fill, expected.field);
            EXPECT_EQ(shown.text, expected.text) << static_cast<int>(expected.field);
            EXPECT_EQ(shown.index, expected.index) << static_cast<int>(expected.field);
        }
        if (c.text) {
            EXPECT_EQ(fill->text, c.text);
        }
    }
}

TEST_F(Browse, StringOffsetShowsInHexadecimal) {
    MapBuilder builder = DemoMap();
    builder.stringTableAt = 4096;
    ASSERT_EQ(builder.layout().stringTable, 4096);
    const MapState map = load(builder);
    // An empty node text sits at the table's start: 4096, shown as 1000.
    // "sleep" follows the empty text and "true": 4096 + 1 + 5.
    struct Case {
        std::size_t node;
        const char* offset;
        const char* text;
    };
    for (const Case& c : {Case{1, "1000", ""}, Case{2, "1006", "sleep"}}) {
        const auto fill = PageForRow(map, NodeRow(c.node));
        ASSERT_TRUE(fill) << c.node;
        EXPECT_EQ(ValueOf(*fill, EditField::SyntaxScriptTableOffset).text, c.offset) << c.node;
        EXPECT_EQ(fill->text, c.text) << c.node;
    }
}

TEST_F(Browse, ScriptAndGlobalTextIsTheDecompilersText) {
    const MapState map = load(DemoMap());
    for (std::size_t i = 0; i < map.ScriptHeaderCache.size(); ++i) {
        const auto fill = PageForRow(map, ScriptRow(i));
        ASSERT_TRUE(fill) << i;
        EXPECT_EQ(fill->text, DecompileScript(map, map.ScriptHeaderCache[i])) << i;
    }
    for (std::size_t i = 0; i < map.GlobalHeaderCache.size(); ++i) {
        const auto fill = PageForRow(map, GlobalRow(i));
        ASSERT_TRUE(fill) << i;
        EXPECT_EQ(fill->text, DecompileGlobal(map, map.GlobalHeaderCache[i])) << i;
    }
}

// The core of a rename: intro takes the name watch_gate, which the name
// dictionary then gives for intro. The two rows that read "s: watch_gate"
// still each reach their own script, and only intro's row changes its text.
TEST_F(Browse, RenamedRecordLeavesEveryOtherReachable) {
    MapState demo = load(DemoMap());
    ShowRecord(demo, {RecordKind::Script, 1});
    ASSERT_TRUE(CommitField(demo, EditField::ScriptName, "watch_gate"));
    ASSERT_EQ(demo.scriptPosition("watch_gate"), 1u);

    const std::vector<TreeRow> rows = ChildRowsFor(demo, kScripts).rows;
    EXPECT_EQ(rows[1].text, "s: watch_gate");
    EXPECT_EQ(rows[2].text, "s: watch_gate");
    for (const std::size_t position : {1u, 2u}) {
        const auto fill = PageForRow(demo, ScriptRow(position));
        ASSERT_TRUE(fill);
        EXPECT_EQ(fill->record.position, position);
        EXPECT_EQ(fill->text, DecompileScript(demo, demo.ScriptHeaderCache[position]));
    }
    // watch_gate's own nodes, not intro's.
    EXPECT_EQ(RowTexts(ChildRowsFor(demo, ScriptRow(2)).rows)[0], "127");

    const SelectedRecord renamed{RecordKind::Script, 1};
    EXPECT_EQ(RowTextAfterChange(demo, ScriptRow(1), renamed), std::optional<std::string>("s: watch_gate"));
    for (const RowKey other : {ScriptRow(2), kScripts, GlobalRow(1), NodeRow(1)}) {
        EXPECT_FALSE(RowTextAfterChange(demo, other, renamed)) << static_cast<int>(other.kind) << other.position;
    }
}

// A node's new identity shows in the rows that reach it, at once and on
// the next expansion, though the dictionary keeps the old identity too.
TEST_F(Browse, NodeRowsShowTheNodesOwnIdentity) {
    MapState demo = load(DemoMap());
    ShowRecord(demo, {RecordKind::Syntax, 10});  // patrol_loop's root, 110
    ASSERT_TRUE(CommitField(demo, EditField::SyntaxExpIdent, "150"));
    EXPECT_EQ(RowTextAfterChange(demo, NodeRow(10), {RecordKind::Syntax, 10}), std::optional<std::string>("150"));
    const std::vector<TreeRow> rows = ChildRowsFor(demo, ScriptRow(0)).rows;
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].text, "150");
    EXPECT_EQ(rows[0].key, NodeRow(10));
}

TEST_F(Browse, EmptyCacheAndFolderRowsGiveNoPage) {
    MapBuilder noNodes = testing::CountsMap(1, 1);
    noNodes.syntaxCount = 0;  // scripts and globals load, no node does
    const MapState nodeless = load(noNodes);
    ASSERT_TRUE(nodeless.SyntaxCache.empty());
    // The root is not a node: its row stays, selecting it shows nothing.
    const std::vector<TreeRow> roots = ChildRowsFor(nodeless, ScriptRow(0)).rows;
    EXPECT_EQ(RowTexts(roots), Texts{"11"});
    ASSERT_TRUE(PageForRow(nodeless, ScriptRow(0)));
    ASSERT_TRUE(PageForRow(nodeless, GlobalRow(0)));

    const MapState scriptless = load(testing::CountsMap(0, 1));
    const MapState globalless = load(testing::CountsMap(1, 0));
    const MapState demo = load(DemoMap());
    struct Case {
        const char* name;
        const MapState& map;
        RowKey row;
    };
    const Case cases[] = {
        {"root of no node", nodeless, roots.front().key},
        {"no scripts", scriptless, ScriptRow(0)},
        {"no globals", globalless, GlobalRow(0)},
        {"scripts folder", demo, kScripts},
        {"globals folder", demo, kGlobals},
        {"past the scripts", demo, ScriptRow(demo.ScriptHeaderCache.size())},
        {"past the nodes", demo, NodeRow(demo.SyntaxCache.size())},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(RecordForRow(c.map, c.row)) << c.name;
        EXPECT_FALSE(PageForRow(c.map, c.row)) << c.name;
    }
}

TEST_F(Browse, RecordNamedFindsExactNamesOnly) {
    const MapState demo = load(DemoMap());
    // Nodes whose identities differ only in sign, to tell key forms apart.
    MapBuilder signedBuilder = testing::CountsMap(0, 0);
    signedBuilder.nodes[1].ExpIdentity = 2;
    signedBuilder.nodes[2].ExpIdentity = -2;
    const MapState signedIds = load(signedBuilder);
    struct Case {
        const MapState& map;
        RecordKind kind;
        const char* key;
        std::optional<std::size_t> position;
    };
    const Case cases[] = {
        {demo, RecordKind::Script, "patrol_loop", 0},
        {demo, RecordKind::Script, "debug_hook", 5},
        {demo, RecordKind::Script, "nothing", std::nullopt},
        {demo, RecordKind::Script, "s: patrol_loop", std::nullopt},  // a row's text is not a name
        {demo, RecordKind::Script, "guard_count", std::nullopt},     // a global's name
        {demo, RecordKind::Global, "guard_count", 2},
        {demo, RecordKind::Global, "patrol_loop", std::nullopt},
        {demo, RecordKind::Syntax, "101", 1},
        {demo, RecordKind::Syntax, "4242", std::nullopt},  // no fallback to position 0
        {signedIds, RecordKind::Syntax, "-2", 2},
        {signedIds, RecordKind::Syntax, "2", 1},
        {signedIds, RecordKind::Syntax, "02", std::nullopt},
        {signedIds, RecordKind::Syntax, " 2", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const auto record = RecordNamed(c.map, c.kind, c.key);
        ASSERT_EQ(record.has_value(), c.position.has_value());
        if (!record) continue;
        EXPECT_EQ(record->kind, c.kind);
        EXPECT_EQ(record->position, *c.position);
    }
}

TEST_F(Browse, DictionaryPositionOutsideTheCacheNamesNothing) {
    MapState map = load(DemoMap());
    // As a dictionary built from a damaged count could hold.
    map.ScriptsByName["ghost"] = static_cast<std::int32_t>(map.ScriptHeaderCache.size());
    map.GlobalsByName["ghost"] = -1;
    map.SyntaxByIdentity[7] = static_cast<std::int32_t>(map.SyntaxCache.size());
    EXPECT_FALSE(RecordNamed(map, RecordKind::Script, "ghost"));
    EXPECT_FALSE(RecordNamed(map, RecordKind::Global, "ghost"));
    EXPECT_FALSE(RecordNamed(map, RecordKind::Syntax, "7"));
}

TEST_F(Browse, ShowRecordSetsOnlyItsOwnPropertyForThisLoad) {
    MapState map = load(DemoMap());
    loadInto(map, DemoMap());  // a second load: generation 2
    ASSERT_EQ(map.generation(), 2u);
    using Property = std::optional<LoadedRecord> MapState::*;
    struct Case {
        RecordKind kind;
        Property own;
    };
    const Case cases[] = {
        {RecordKind::Script, &MapState::LoadedScript},
        {RecordKind::Global, &MapState::LoadedGlobal},
        {RecordKind::Syntax, &MapState::LoadedSyntax},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        map.LoadedScript.reset();
        map.LoadedGlobal.reset();
        map.LoadedSyntax.reset();
        ShowRecord(map, {c.kind, 3});
        for (Property property : {&MapState::LoadedScript, &MapState::LoadedGlobal, &MapState::LoadedSyntax}) {
            const std::optional<LoadedRecord>& shown = map.*property;
            ASSERT_EQ(shown.has_value(), property == c.own);
            if (!shown) continue;
            EXPECT_EQ(shown->position, 3u);
            EXPECT_EQ(shown->generation, map.generation());
        }
    }
    EXPECT_EQ(map.loadedSyntax(), &map.SyntaxCache[3]);
}

}  // namespace
}  // namespace quorin
