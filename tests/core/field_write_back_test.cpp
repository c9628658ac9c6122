// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "edit/FieldWriteBack.h"
#include "map/MapLoader.h"
#include "support/EditFixture.h"

namespace quorin {
namespace {

using testing::EditFixture;
using testing::FileImage;
using testing::Patched;
using testing::ReadBytes;
using testing::StateImage;
using Bytes = std::vector<std::uint8_t>;

enum class Page { Script, Global, Node };

std::int64_t PlaceOf(const MapLayout& layout, Page page, int position) {
    switch (page) {
        case Page::Script: return layout.scriptEntry(position);
        case Page::Global: return layout.globalEntry(position);
        case Page::Node: return layout.node(position);
    }
    return 0;
}

void Show(MapState& state, Page page, int position) {
    const LoadedRecord shown = state.recordAt(static_cast<std::size_t>(position));
    if (page == Page::Script) state.LoadedScript = shown;
    if (page == Page::Global) state.LoadedGlobal = shown;
    if (page == Page::Node) state.LoadedSyntax = shown;
}

Bytes Name(const std::string& name) {
    Bytes field(32, 0);
    std::copy(name.begin(), name.end(), field.begin());
    return field;
}

// One commit: the record shown, what is entered, the bytes expected at
// entry/node + at, and the change expected in the map state.
struct FieldCase {
    std::string label;
    EditField field;
    std::string text;
    int item;  // for a popup
    Page page;
    int position;
    int at;
    Bytes bytes;
    std::function<void(MapState&)> change;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.label; }

class FieldCommit : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldCommit, WritesExactlyItsBytesAndUpdatesTheRecord) {
    const FieldCase& c = GetParam();
    testing::TempDir dir;
    const EditFixture fixture = testing::WriteEditFixture(dir);
    MapState state;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(state, fixture.path, messages));
    ASSERT_EQ(state.ScriptTableOuter, testing::kFixtureStringTable);
    Show(state, c.page, c.position);
    MapState expected = state;
    c.change(expected);

    const Status committed =
        c.field >= EditField::ScriptType ? CommitPopup(state, c.field, c.item) : CommitField(state, c.field, c.text);

    ASSERT_TRUE(committed) << MessageOf(committed.error());
    const std::int64_t at = PlaceOf(fixture.layout, c.page, c.position) + c.at;
    ASSERT_NE(Patched(fixture.bytes, at, c.bytes), fixture.bytes) << "the case must change the file";
    EXPECT_EQ(ReadBytes(fixture.path), Patched(fixture.bytes, at, c.bytes));
    EXPECT_EQ(StateImage(state), StateImage(expected));
}

const FieldCase kFieldCases[] = {
    {"ScriptNameAbcToXyz", EditField::ScriptName, "xyz", 0, Page::Script, 0, 0, Name("xyz"),
     [](MapState& m) { m.ScriptHeaderCache[0].Name = "xyz"; m.ScriptsByName["xyz"] = 0; }},
    {"ScriptNameOf31Bytes", EditField::ScriptName, std::string(31, 'n'), 0, Page::Script, 3, 0,
     Name(std::string(31, 'n')),
     [](MapState& m) {
         m.ScriptHeaderCache[3].Name = std::string(31, 'n');
         m.ScriptsByName[std::string(31, 'n')] = 3;
     }},
    {"GlobalNameShorterOverLonger", EditField::GlobalName, "g2", 0, Page::Global, 0, 0, Name("g2"),
     [](MapState& m) { m.GlobalHeaderCache[0].Name = "g2"; m.GlobalsByName["g2"] = 0; }},
    {"ScriptExpPointerKeepsLow16Bits", EditField::ScriptExpPointer, "70000", 0, Page::Script, 0, 38, {0x70, 0x11},
     [](MapState& m) { m.ScriptHeaderCache[0].ExpPointer = 70000; }},
    {"GlobalExpPointerNegative", EditField::GlobalExpPointer, "-2", 0, Page::Global, 1, 42, {0xFE, 0xFF},
     [](MapState& m) { m.GlobalHeaderCache[1].ExpPointer = -2; }},
    {"SyntaxExpIdentAddsKey", EditField::SyntaxExpIdent, "300", 0, Page::Node, 1, 0, {0x2C, 0x01},
     [](MapState& m) { m.SyntaxCache[1].ExpIdentity = 300; m.SyntaxByIdentity[300] = 1; }},
    {"SyntaxEngineIdentHex", EditField::SyntaxEngineIdent, "&h7F", 0, Page::Node, 1, 2, {0x7F, 0x00},
     [](MapState& m) { m.SyntaxCache[1].EngineIdentity = 127; }},
    {"SyntaxExpTypeFractionAndBlanks", EditField::SyntaxExpType, "  -3.9", 0, Page::Node, 1, 6, {0xFD, 0xFF},
     [](MapState& m) { m.SyntaxCache[1].ExpType = -3; }},
    {"SyntaxSibExpLettersGiveZero", EditField::SyntaxSibExp, "letters", 0, Page::Node, 1, 10, {0x00, 0x00},
     [](MapState& m) { m.SyntaxCache[1].SibExpPointer = 0; }},
    {"SyntaxScriptTableOffsetRelative", EditField::SyntaxScriptTableOffset, "1A2B", 0, Page::Node, 1, 12,
     {0x2B, 0x0A, 0x00, 0x00}, [](MapState& m) { m.SyntaxCache[1].ScriptTableOffset = 6699; }},
    {"SyntaxScriptTableOffsetEmpty", EditField::SyntaxScriptTableOffset, "", 0, Page::Node, 1, 12,
     {0x00, 0xF0, 0xFF, 0xFF}, [](MapState& m) { m.SyntaxCache[1].ScriptTableOffset = 0; }},
    {"SyntaxScriptValueFive", EditField::SyntaxScriptValue, "5", 0, Page::Node, 1, 16, {0x05, 0x00, 0x00, 0x00},
     [](MapState& m) { m.SyntaxCache[1].ScriptValue = 5; }},
    {"SyntaxScriptValueMinusOneFillsKidHalf", EditField::SyntaxScriptValue, "-1", 0, Page::Node, 1, 16,
     {0xFF, 0xFF, 0xFF, 0xFF}, [](MapState& m) { m.SyntaxCache[1].ScriptValue = -1; }},
    {"SyntaxKidExpLow16Bits", EditField::SyntaxKidExp, "-32769", 0, Page::Node, 1, 18, {0xFF, 0x7F},
     [](MapState& m) { m.SyntaxCache[1].KidExpPointer = -32769; }},
    {"SyntaxKidExpClamped", EditField::SyntaxKidExp, "99999999999", 0, Page::Node, 3, 18, {0xFF, 0xFF},
     [](MapState& m) { m.SyntaxCache[3].KidExpPointer = 2147483647; }},
    {"PopScriptTypeDormant", EditField::ScriptType, "", 1, Page::Script, 0, 32, {0x01, 0x00},
     [](MapState& m) { m.ScriptHeaderCache[0].Type = 1; }},
    {"PopScriptReturnSceneryName", EditField::ScriptReturn, "", 48, Page::Script, 0, 34, {0x30, 0x00},
     [](MapState& m) { m.ScriptHeaderCache[0].ReturnType = 48; }},
    {"PopGlobalTypeUnparsed", EditField::GlobalType, "", 0, Page::Global, 1, 32, {0x00, 0x00},
     [](MapState& m) { m.GlobalHeaderCache[1].Type = 0; }},
    {"PopSyntaxTypeSceneryName", EditField::SyntaxType, "", 48, Page::Node, 1, 4, {0x30, 0x00},
     [](MapState& m) { m.SyntaxCache[1].ValueType = 48; }},
};

INSTANTIATE_TEST_SUITE_P(EveryField, FieldCommit, ::testing::ValuesIn(kFieldCases),
                         [](const auto& info) { return info.param.label; });

TEST(FieldCommitRules, EveryFieldHasACase) {
    std::set<EditField> covered;
    for (const FieldCase& c : kFieldCases) covered.insert(c.field);
    EXPECT_EQ(covered.size(), static_cast<std::size_t>(kEditFieldCount));
}

// Loads the fixture and shows script 0, global 0 and node 1.
struct Loaded {
    testing::TempDir dir;
    EditFixture fixture = testing::WriteEditFixture(dir);
    MapState state;
    testing::CollectedMessages messages;
    bool load() {
        if (!testing::Load(state, fixture.path, messages)) return false;
        Show(state, Page::Script, 0);
        Show(state, Page::Global, 0);
        Show(state, Page::Node, 1);
        return true;
    }
};

TEST(FieldCommitNames, RenamingOntoAnotherScriptsNameThenEditingAgainFindsTheEditedScript) {
    Loaded map;
    ASSERT_TRUE(map.load());
    const std::string other = "a_much_longer_script_name";  // script 3's name
    ASSERT_TRUE(CommitField(map.state, EditField::ScriptName, other));
    EXPECT_EQ(map.state.scriptPosition(other), 0);
    EXPECT_EQ(map.state.scriptPosition("abc"), 0);
    EXPECT_EQ(map.state.ScriptHeaderCache[3].Name, other);

    ASSERT_TRUE(CommitField(map.state, EditField::ScriptExpPointer, "77"));
    EXPECT_EQ(map.state.ScriptHeaderCache[0].ExpPointer, 77);
    EXPECT_EQ(map.state.ScriptHeaderCache[3].ExpPointer, 10);
    Bytes expected = Patched(map.fixture.bytes, map.fixture.layout.scriptEntry(0), Name(other));
    expected = Patched(expected, map.fixture.layout.scriptEntry(0) + 38, {77, 0});
    EXPECT_EQ(ReadBytes(map.fixture.path), expected);
}

TEST(FieldCommitNames, IdentityEditLeavesLinksAndTakesOverTheKey) {
    Loaded map;
    ASSERT_TRUE(map.load());
    // Node 1 takes node 2's identity; links to 11 stay as they were.
    ASSERT_TRUE(CommitField(map.state, EditField::SyntaxExpIdent, "12"));
    EXPECT_EQ(map.state.syntaxPosition(12), 1);
    EXPECT_EQ(map.state.syntaxPosition(11), 1);
    EXPECT_EQ(map.state.ScriptHeaderCache[0].ExpPointer, 11);
    EXPECT_EQ(map.state.SyntaxCache[0].KidExpPointer, 11);
    EXPECT_EQ(map.state.SyntaxCache[3].KidExpPointer, 11);

    ASSERT_TRUE(CommitField(map.state, EditField::SyntaxEngineIdent, "45"));
    EXPECT_EQ(map.state.SyntaxCache[1].EngineIdentity, 45);
    EXPECT_EQ(map.state.SyntaxCache[2].EngineIdentity, 33);
    const std::int64_t node = map.fixture.layout.node(1);
    EXPECT_EQ(ReadBytes(map.fixture.path), Patched(Patched(map.fixture.bytes, node, {12, 0}), node + 2, {45, 0}));
}

// Scripts 1 and 2 are both "twin"; the dictionary gives 2. An edit of script
// 1 writes script 1's entry, so script 1's record is the one that changes.
TEST(FieldCommitNames, SharedNameUpdatesTheRecordThatWasWritten) {
    Loaded map;
    ASSERT_TRUE(map.load());
    ASSERT_EQ(map.state.scriptPosition("twin"), 2);
    Show(map.state, Page::Script, 1);
    ASSERT_TRUE(CommitField(map.state, EditField::ScriptExpPointer, "9"));
    EXPECT_EQ(map.state.ScriptHeaderCache[1].ExpPointer, 9);
    EXPECT_EQ(map.state.ScriptHeaderCache[2].ExpPointer, 13);
    EXPECT_EQ(ReadBytes(map.fixture.path), Patched(map.fixture.bytes, map.fixture.layout.scriptEntry(1) + 38, {9, 0}));
}

TEST(FieldCommitNames, ValueMinusOneReadsAsChildMinusOneAfterReload) {
    Loaded map;
    ASSERT_TRUE(map.load());
    ASSERT_TRUE(CommitField(map.state, EditField::SyntaxScriptValue, "-1"));
    EXPECT_EQ(map.state.SyntaxCache[1].KidExpPointer, 12);  // the record keeps its child
    MapState reloaded;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(reloaded, map.fixture.path, messages));
    EXPECT_EQ(reloaded.SyntaxCache[1].ScriptValue, -1);
    EXPECT_EQ(reloaded.SyntaxCache[1].KidExpPointer, -1);
}

// Commits that must leave every file and the whole map state as they were.
struct Refusal {
    std::string label;
    std::function<void(Loaded&)> setUp;  // after the fixture is loaded and shown
    std::function<Status(MapState&)> commit;
};


void PrintTo(const Refusal& c, std::ostream* os) { *os << c.label; }

class FieldCommitRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(FieldCommitRefusal, WritesNothingAndSaysWhy) {
    Loaded map;
    ASSERT_TRUE(map.load());
    const std::string second = map.dir.path("second.map");
    testing::WriteBytes(second, map.fixture.bytes);
    GetParam().setUp(map);
    const std::string before = FileImage(map.fixture.path);
    const std::string secondBefore = FileImage(second);
    const std::string stateBefore = StateImage(map.state);

    const Status committed = GetParam().commit(map.state);

    ASSERT_FALSE(committed);
    EXPECT_FALSE(MessageOf(committed.error()).empty());
    EXPECT_EQ(FileImage(map.fixture.path), before);
    EXPECT_EQ(FileImage(second), secondBefore);
    EXPECT_EQ(StateImage(map.state), stateBefore);
}

Status EditNumber(MapState& state) { return CommitField(state, EditField::ScriptExpPointer, "5"); }
Status EditName(MapState& state) { return CommitField(state, EditField::GlobalName, "renamed"); }
Status EditPopup(MapState& state) { return CommitPopup(state, EditField::SyntaxType, 3); }

void NoMap(Loaded& map) { map.state = MapState{}; }
void NothingShown(Loaded& map) {
    map.state.LoadedScript.reset();
    map.state.LoadedGlobal.reset();
    map.state.LoadedSyntax.reset();
}
void RefusedOpen(Loaded& map) {
    Bytes refused = map.fixture.bytes;
    testing::PutInt32(refused, 4, 609);
    testing::WriteBytes(map.dir.path("second.map"), refused);
    ASSERT_FALSE(testing::Load(map.state, map.dir.path("second.map"), map.messages));
}
void SecondOpen(Loaded& map) { ASSERT_TRUE(testing::Load(map.state, map.dir.path("second.map"), map.messages)); }
void StaleRecords(Loaded& map) {
    const auto script = map.state.LoadedScript;
    const auto global = map.state.LoadedGlobal;
    const auto node = map.state.LoadedSyntax;
    SecondOpen(map);
    map.state.LoadedScript = script;
    map.state.LoadedGlobal = global;
    map.state.LoadedSyntax = node;
}
void ReadOnly(Loaded& map) {
    std::filesystem::permissions(map.fixture.path, std::filesystem::perms(0444));
}
void Deleted(Loaded& map) { std::filesystem::remove(map.fixture.path); }
void Directory(Loaded& map) {
    std::filesystem::remove(map.fixture.path);
    std::filesystem::create_directory(map.fixture.path);
}
// The file shrank after the load: the edited fields now lie past its end.
void Truncated(Loaded& map) { std::filesystem::resize_file(map.fixture.path, map.fixture.layout.scriptTable); }
void NoChange(Loaded&) {}

std::vector<Refusal> RefusalCases() {
    const std::vector<std::pair<std::string, std::function<void(Loaded&)>>> situations = {
        {"NoMapLoaded", NoMap},     {"NothingShown", NothingShown},
        {"SecondOpen", SecondOpen},   {"StaleRecords", StaleRecords},
        {"ReadOnly", ReadOnly},     {"Deleted", Deleted},           {"Directory", Directory},
        {"Truncated", Truncated},
    };
    const std::vector<std::pair<std::string, std::function<Status(MapState&)>>> commits = {
        {"Number", EditNumber}, {"Name", EditName}, {"Popup", EditPopup}};
    std::vector<Refusal> cases;
    for (const auto& [situation, setUp] : situations) {
        for (const auto& [kind, commit] : commits) cases.push_back({situation + kind, setUp, commit});
    }
    cases.push_back({"NameOf32Bytes", NoChange,
                     [](MapState& s) { return CommitField(s, EditField::ScriptName, std::string(32, 'x')); }});
    cases.push_back({"NameWithZeroByte", NoChange,
                     [](MapState& s) { return CommitField(s, EditField::ScriptName, std::string("a\0b", 3)); }});
    // Every control byte class: line ends forge listing lines, escape starts a
    // terminal sequence, and tab and delete are controls too.
    const std::pair<const char*, std::string> controlled[] = {
        {"LineFeed", "x\ns: forged"}, {"CarriageReturn", "ab\r"}, {"Escape", "\x1b[31mred"},
        {"Tab", "\tlead"},            {"Delete", "del\x7f"},     {"Byte31", "a\x1f" "b"}};
    for (const auto& [label, name] : controlled) {
        cases.push_back({std::string("ScriptNameWith") + label, NoChange,
                         [name](MapState& s) { return CommitField(s, EditField::ScriptName, name); }});
        cases.push_back({std::string("GlobalNameWith") + label, NoChange,
                         [name](MapState& s) { return CommitField(s, EditField::GlobalName, name); }});
    }
    cases.push_back({"PopupIndexPastScriptTypes", NoChange,
                     [](MapState& s) { return CommitPopup(s, EditField::ScriptType, 5); }});
    cases.push_back({"PopupIndexPastValueTypes", NoChange,
                     [](MapState& s) { return CommitPopup(s, EditField::SyntaxType, 49); }});
    cases.push_back({"PopupIndexMinusTwo", NoChange,
                     [](MapState& s) { return CommitPopup(s, EditField::GlobalType, -2); }});
    cases.push_back({"PopupGivenAText", NoChange,
                     [](MapState& s) { return CommitField(s, EditField::ScriptType, "1"); }});
    cases.push_back({"EditFieldGivenAnItem", NoChange,
                     [](MapState& s) { return CommitPopup(s, EditField::ScriptExpPointer, 1); }});
    return cases;
}

// A refused Open leaves the map on screen the one written: its edits land
// in its own file, and the refused file is never touched.
TEST(FieldCommitAfterRefusedOpen, LandsInTheLoadedFile) {
    Loaded map;
    ASSERT_TRUE(map.load());
    RefusedOpen(map);
    const std::string refused = map.dir.path("second.map");
    const std::string refusedBefore = FileImage(refused);
    ASSERT_TRUE(EditNumber(map.state));
    ASSERT_TRUE(EditName(map.state));
    ASSERT_TRUE(EditPopup(map.state));
    EXPECT_EQ(FileImage(refused), refusedBefore);
    MapState reloaded;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(reloaded, map.fixture.path, messages));
    EXPECT_EQ(reloaded.ScriptHeaderCache[map.state.LoadedScript->position].ExpPointer, 5);
    EXPECT_EQ(reloaded.GlobalHeaderCache[map.state.LoadedGlobal->position].Name, "renamed");
    EXPECT_EQ(reloaded.SyntaxCache[map.state.LoadedSyntax->position].ValueType, 3);
}

INSTANTIATE_TEST_SUITE_P(EveryRefusal, FieldCommitRefusal, ::testing::ValuesIn(RefusalCases()),
                         [](const auto& info) { return info.param.label; });

TEST(FieldCommitRefusal, NameOverThirtyOneBytesSaysSo) {
    Loaded map;
    ASSERT_TRUE(map.load());
    const Status committed = CommitField(map.state, EditField::ScriptName, std::string(40, 'x'));
    ASSERT_FALSE(committed);
    EXPECT_NE(MessageOf(committed.error()).find("at most 31"), std::string::npos) << MessageOf(committed.error());
}

TEST(FieldCommitRefusal, ControlByteIsNamedAndNeverQuotedRaw) {
    Loaded map;
    ASSERT_TRUE(map.load());
    const Status committed = CommitField(map.state, EditField::ScriptName, "x\ns: \x1b[2Jforged");
    ASSERT_FALSE(committed);
    const std::string& message = MessageOf(committed.error());
    EXPECT_NE(message.find("\"x\\x0As: \\x1B[2Jforged\""), std::string::npos) << message;
    EXPECT_NE(message.find("control byte \\x0A"), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_EQ(message.find('\x1b'), std::string::npos);
    // Latin-1 letters are printable and stay allowed.
    EXPECT_TRUE(CommitField(map.state, EditField::ScriptName, "caf\xe9"));
}

TEST(FieldCommitPopup, NoChosenItemWritesNothingAndIsNoError) {
    for (EditField popup : {EditField::ScriptType, EditField::ScriptReturn, EditField::GlobalType,
                            EditField::SyntaxType}) {
        Loaded map;
        ASSERT_TRUE(map.load());
        const std::string stateBefore = StateImage(map.state);
        EXPECT_TRUE(CommitPopup(map.state, popup, -1));
        EXPECT_EQ(ReadBytes(map.fixture.path), map.fixture.bytes);
        EXPECT_EQ(StateImage(map.state), stateBefore);
    }
}

// Showing a record sets its popups, which writes back the codes just read.
TEST(FieldCommitPopup, WritingBackTheShownCodeLeavesTheFileAsItWas) {
    Loaded map;
    ASSERT_TRUE(map.load());
    Show(map.state, Page::Script, 2);
    ASSERT_TRUE(CommitPopup(map.state, EditField::ScriptType, map.state.loadedScript()->Type));
    ASSERT_TRUE(CommitPopup(map.state, EditField::ScriptReturn, map.state.loadedScript()->ReturnType));
    EXPECT_EQ(ReadBytes(map.fixture.path), map.fixture.bytes);
}

}  // namespace
}  // namespace quorin
