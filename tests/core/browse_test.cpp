// SPDX-License-Identifier: GPL-3.0-or-later
// The browse layer on loaded maps: the tree's rows, the record a row or a
// name leads to, and what the editor page shows for it.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "browse/PageFill.h"
#include "browse/RecordSelection.h"
#include "browse/RowText.h"  // ScriptRowText, GlobalRowText
#include "browse/TreeRows.h"
#include "builder/DemoMap.h"
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
    };
    const Case cases[] = {
        {2, 3, {"scripts", "globals"}},
        {2, 0, {"scripts"}},
        {0, 3, {"globals"}},
        {0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.scripts << " scripts, " << c.globals << " globals");
        // A second map after a first leaves only its own rows.
        MapState state = load(DemoMap());
        loadInto(state, testing::CountsMap(c.scripts, c.globals));
        const std::vector<TreeRow> rows = TopRows(state);
        EXPECT_EQ(RowTexts(rows), c.rows);
        for (const TreeRow& row : rows) EXPECT_TRUE(row.folder) << row.text;
    }
}

TEST_F(Browse, ChildRowsOfEachKindOfRow) {
    const MapState demo = load(DemoMap());
    const MapState edge = load(testing::EdgeMap());
    struct Case {
        const char* name;
        const MapState& map;
        const char* row;
        Texts rows;
        bool folders;  // whether those rows can be expanded
    };
    const Case cases[] = {
        {"demo scripts in order", demo, "scripts",
         {"s: patrol_loop", "s: intro", "s: watch_gate", "s: open_vault", "s: difficulty_bonus", "s: debug_hook"}, true},
        {"demo globals in order", demo, "globals",
         {"g: alarm_raised", "g: vault_open", "g: guard_count", "g: gravity_scale", "g: vault_code", "g: briefing_line"},
         true},
        // Root, its first child, then the nodes the decompiler walks.
        {"demo script", demo, "s: patrol_loop", {"110", "111", "101", "102", "103", "104", "105", "106", "107", "108", "109"},
         false},
        {"root child not a group", demo, "s: debug_hook", {"147", "148", "146"}, false},
        {"global", demo, "g: guard_count", {"g: guard_count", "150"}, false},
        // Two scripts named alike: both rows lead to the later one.
        {"shared name", edge, "s: twice", {"17", "18", "16"}, false},
        {"sibling after root", edge, "s: late", {"19", "20"}, false},
        {"root not a node", edge, "s: lost", {"999"}, false},
        {"name cut at separator", edge, "s: a: b", {}, false},
        {"edge globals", edge, "globals", {"g: g1", "g: flag", "g: odd"}, true},
        {"edge scripts", edge, "scripts", {"s: twice", "s: twice", "s: late", "s: lost", "s: a: b", "s: caf\xe9"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildRows children = ChildRowsFor(c.map, c.row);
        EXPECT_TRUE(children.known);
        EXPECT_EQ(RowTexts(children.rows), c.rows);
        for (const TreeRow& row : children.rows) EXPECT_EQ(row.folder, c.folders) << row.text;
    }
}

TEST_F(Browse, UnknownFolderRowIsNotKnownAndHasNoChildren) {
    const ChildRows children = ChildRowsFor(load(DemoMap()), "x: stray");
    EXPECT_FALSE(children.known);
    EXPECT_TRUE(children.rows.empty());
}

TEST_F(Browse, RowShowsItsRecordOnItsPage) {
    const MapState demo = load(DemoMap());
    struct Case {
        const char* row;
        EditorPage page;
        RecordKind kind;
        std::size_t position;
        std::vector<FieldValue> fields;  // a popup's value is its item index
        const char* text;                // nullptr: not checked
    };
    const Case cases[] = {
        {"s: patrol_loop", EditorPage::Script, RecordKind::Script, 0,
         {{EditField::ScriptName, "patrol_loop"}, {EditField::ScriptExpPointer, "110"},
          {EditField::ScriptType, {}, 3}, {EditField::ScriptReturn, {}, 4}},
         "(script static void patrol_loop\n(begin\n( sleep 30)\n( set x( abs 5))\n))"},
        // A startup script keeps its stored return type.
        {"s: intro", EditorPage::Script, RecordKind::Script, 1,
         {{EditField::ScriptName, "intro"}, {EditField::ScriptExpPointer, "119"}, {EditField::ScriptType, {}, 0},
          {EditField::ScriptReturn, {}, 4}},
         nullptr},
        {"g: guard_count", EditorPage::Global, RecordKind::Global, 2,
         {{EditField::GlobalName, "guard_count"}, {EditField::GlobalExpPointer, "150"}, {EditField::GlobalType, {}, 7}},
         "(global short guard_count 4)"},
        // The global's name row under it has the same text.
        {"g: vault_open", EditorPage::Global, RecordKind::Global, 1,
         {{EditField::GlobalName, "vault_open"}, {EditField::GlobalExpPointer, "149"}, {EditField::GlobalType, {}, 5}},
         "(global boolean vault_open false)"},
        {"101", EditorPage::Syntax, RecordKind::Syntax, 1,
         {{EditField::SyntaxExpIdent, "101"}, {EditField::SyntaxEngineIdent, "12"}, {EditField::SyntaxExpType, "8"},
          {EditField::SyntaxSibExp, "104"}, {EditField::SyntaxScriptValue, "0"}, {EditField::SyntaxKidExp, "102"},
          {EditField::SyntaxType, {}, 4}},
         ""},
        {"132", EditorPage::Syntax, RecordKind::Syntax, 32,
         {{EditField::SyntaxExpIdent, "132"}, {EditField::SyntaxSibExp, "-1"}, {EditField::SyntaxScriptValue, "-1200"},
          {EditField::SyntaxKidExp, "0"}, {EditField::SyntaxType, {}, 8}},
         "-1200"},
        // A global's value node.
        {"153", EditorPage::Syntax, RecordKind::Syntax, 53,
         {{EditField::SyntaxExpIdent, "153"}, {EditField::SyntaxType, {}, 9}}, "Commander Vey"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
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
        const char* row;
        const char* offset;
        const char* text;
    };
    for (const Case& c : {Case{"101", "1000", ""}, Case{"102", "1006", "sleep"}}) {
        const auto fill = PageForRow(map, c.row);
        ASSERT_TRUE(fill) << c.row;
        EXPECT_EQ(ValueOf(*fill, EditField::SyntaxScriptTableOffset).text, c.offset) << c.row;
        EXPECT_EQ(fill->text, c.text) << c.row;
    }
}

TEST_F(Browse, ScriptAndGlobalTextIsTheDecompilersText) {
    const MapState map = load(DemoMap());
    for (const ScriptHeader& script : map.ScriptHeaderCache) {
        const auto fill = PageForRow(map, ScriptRowText(script.Name));
        ASSERT_TRUE(fill) << script.Name;
        EXPECT_EQ(fill->text, DecompileScript(map, script)) << script.Name;
    }
    for (const GlobalHeader& global : map.GlobalHeaderCache) {
        const auto fill = PageForRow(map, GlobalRowText(global.Name));
        ASSERT_TRUE(fill) << global.Name;
        EXPECT_EQ(fill->text, DecompileGlobal(map, global)) << global.Name;
    }
}

TEST_F(Browse, UnknownKeyShowsPositionZeroAndSharedNameTheLaterRecord) {
    const MapState edge = load(testing::EdgeMap());
    struct Case {
        const char* row;
        RecordKind kind;
        std::size_t position;
        EditField field;
        const char* shown;
    };
    const Case cases[] = {
        // "s: a: b" is looked up as "a"; no such script.
        {"s: a: b", RecordKind::Script, 0, EditField::ScriptExpPointer, "14"},
        {"s: twice", RecordKind::Script, 1, EditField::ScriptExpPointer, "17"},
        {"g: nothing", RecordKind::Global, 0, EditField::GlobalName, "g1"},
        {"4242", RecordKind::Syntax, 0, EditField::SyntaxExpIdent, "10"},
        {"11", RecordKind::Syntax, 1, EditField::SyntaxExpIdent, "11"},
        {"011", RecordKind::Syntax, 0, EditField::SyntaxExpIdent, "10"},  // not an identity's text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const auto fill = PageForRow(edge, c.row);
        ASSERT_TRUE(fill);
        EXPECT_EQ(fill->record.kind, c.kind);
        EXPECT_EQ(fill->record.position, c.position);
        EXPECT_EQ(ValueOf(*fill, c.field).text, c.shown);
    }
}

TEST_F(Browse, NameAboveByte127LeadsBackToItsRecord) {
    const MapState edge = load(testing::EdgeMap());
    // The row the tree makes from the stored name selects that script again.
    const ChildRows scripts = ChildRowsFor(edge, "scripts");
    ASSERT_EQ(scripts.rows.size(), 6u);
    const auto fill = PageForRow(edge, scripts.rows[5].text);
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->record.position, 5u);
    EXPECT_EQ(ValueOf(*fill, EditField::ScriptName).text, "caf\xe9");
    EXPECT_EQ(ValueOf(*fill, EditField::ScriptExpPointer).text, "19");
}

TEST_F(Browse, EmptyCacheAndFolderRowsGiveNoPage) {
    MapBuilder noNodes = testing::CountsMap(1, 1);
    noNodes.syntaxCount = 0;  // scripts and globals load, no node does
    const MapState nodeless = load(noNodes);
    ASSERT_TRUE(nodeless.SyntaxCache.empty());
    // The root is not a node: its row stays, selecting it shows nothing.
    EXPECT_EQ(RowTexts(ChildRowsFor(nodeless, "s: script_0").rows), Texts{"11"});
    ASSERT_TRUE(PageForRow(nodeless, "s: script_0"));
    ASSERT_TRUE(PageForRow(nodeless, "g: global_0"));

    const MapState scriptless = load(testing::CountsMap(0, 1));
    const MapState globalless = load(testing::CountsMap(1, 0));
    const MapState demo = load(DemoMap());
    struct Case {
        const MapState& map;
        const char* row;
    };
    const Case cases[] = {
        {nodeless, "11"},      {scriptless, "s: script_0"}, {globalless, "g: global_0"},
        {demo, "scripts"},     {demo, "globals"},           {demo, "Scripts"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(RecordForRow(c.map, c.row)) << c.row;
        EXPECT_FALSE(PageForRow(c.map, c.row)) << c.row;
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
    // A row falls back to position 0 instead of reading past the cache.
    for (const char* row : {"s: ghost", "g: ghost", "7"}) {
        const auto fill = PageForRow(map, row);
        ASSERT_TRUE(fill) << row;
        EXPECT_EQ(fill->record.position, 0u) << row;
    }
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
