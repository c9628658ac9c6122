// SPDX-License-Identifier: GPL-3.0-or-later
// The load chain: what a map reads as, what is refused, and what a refusal
// leaves alone.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include "builder/DemoMap.h"
#include "edit/MapWritable.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using testing::Load;
using testing::PutInt16;
using testing::PutInt32;
using testing::TempDir;
using testing::WriteMap;

Syntax Node(std::int32_t identity, std::string text = {}) {
    Syntax node;
    node.ExpIdentity = identity;
    node.SibExpPointer = -1;
    node.KidExpPointer = -1;
    node.Command = std::move(text);
    return node;
}

MapBuilder SmallMap() {
    MapBuilder map;
    map.scripts = {{"first", 1, 4, 11, 0}, {"second", 3, 7, 12, 0}};
    map.globals = {{"counter", 7, 12, 0}};
    map.nodes = {Node(10, "zero"), Node(11, "begin"), Node(12, "sleep")};
    return map;
}

class MapLoaderTest : public ::testing::Test {
protected:
    TempDir dir;
    MapState state;
    testing::CollectedMessages messages;
};

TEST_F(MapLoaderTest, ReadsHeaderTagAndTables) {
    const MapBuilder builder = SmallMap();
    const MapLayout at = builder.layout();
    ASSERT_TRUE(Load(state, WriteMap(dir, builder), messages));
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Map loaded!"});
    EXPECT_EQ(state.magic, builder.magic);
    EXPECT_EQ(state.Scenario.Class1, "scnr");  // stored reversed as "rncs"
    EXPECT_EQ(state.Scenario.ident, 0xE1740000u);
    EXPECT_EQ(state.Scenario.NameOffset, at.tagName);
    EXPECT_EQ(state.Scenario.Name, builder.tagName);
    EXPECT_EQ(state.Scenario.Offset, at.scenario);
    EXPECT_EQ(state.ScriptTableOuter, at.stringTable);
    EXPECT_EQ(state.FolderRows, (std::vector<std::string>{"scripts", "globals"}));

    ASSERT_EQ(state.ScriptHeaderCache.size(), 2u);
    const ScriptHeader& second = state.ScriptHeaderCache[1];
    EXPECT_EQ(second.Name, "second");
    EXPECT_EQ(second.Type, 3);
    EXPECT_EQ(second.ReturnType, 7);
    EXPECT_EQ(second.ExpPointer, 12);
    EXPECT_EQ(second.Offset, at.scriptEntry(1));
    ASSERT_EQ(state.GlobalHeaderCache.size(), 1u);
    EXPECT_EQ(state.GlobalHeaderCache[0].Type, 7);
    EXPECT_EQ(state.GlobalHeaderCache[0].ExpPointer, 12);
    EXPECT_EQ(state.GlobalHeaderCache[0].Offset, at.globalEntry(0));

    ASSERT_EQ(state.SyntaxCache.size(), 3u);
    const Syntax& sleep = state.SyntaxCache[2];
    EXPECT_EQ(sleep.offset, at.node(2));
    EXPECT_EQ(sleep.Command, "sleep");
    // The stored offset is relative to the string table; the record holds it absolute.
    EXPECT_EQ(sleep.ScriptTableOffset - state.ScriptTableOuter, 1 + 5 + 6);  // after "zero" and "begin"
    EXPECT_EQ(state.syntaxPosition(12), 2);
    EXPECT_EQ(state.scriptPosition("second"), 1);
}

TEST_F(MapLoaderTest, SignedFieldsAndIdentityKeys) {
    MapBuilder builder = SmallMap();
    builder.nodes = {Node(0), Node(-2, "minus two"), Node(-1, "all bits"), Node(-32768)};
    builder.nodes[1].ScriptValue = -255;
    builder.nodes[1].EngineIdentity = -1;
    builder.nodes[2].KidExpPointer = 0x7FFF;
    ASSERT_TRUE(Load(state, WriteMap(dir, builder), messages));
    EXPECT_EQ(state.SyntaxCache[1].ScriptValue, -255);
    EXPECT_EQ(state.SyntaxCache[1].EngineIdentity, -1);
    EXPECT_EQ(state.SyntaxCache[2].KidExpPointer, 32767);
    EXPECT_EQ(state.syntaxPosition(-2), 1);
    EXPECT_EQ(state.syntaxPosition(-1), 2);
    EXPECT_EQ(state.syntaxPosition(-32768), 3);
    // Row texts reach the dictionary only in their canonical decimal form.
    EXPECT_EQ(IdentityFromKey("-2"), -2);
    EXPECT_EQ(IdentityFromKey("-1"), -1);
    EXPECT_EQ(IdentityFromKey("0"), 0);
    for (const char* notAKey : {"", "-", "-0", "02", " 2", "2 ", "+2", "2a", "99999999999"}) {
        EXPECT_FALSE(IdentityFromKey(notAKey).has_value()) << notAKey;
    }
}

TEST_F(MapLoaderTest, TextsReadUpToTheirZeroByte) {
    MapBuilder builder = SmallMap();
    builder.scripts[0].Name = "";
    builder.nodes[1].Command = "";
    // A 32-byte name with no zero byte runs on into the type field (0x42 'B').
    builder.scripts[1].Name = std::string(32, 'A');
    builder.scripts[1].Type = 0x42;
    ASSERT_TRUE(Load(state, WriteMap(dir, builder), messages));
    EXPECT_EQ(state.ScriptHeaderCache[0].Name, "");
    EXPECT_EQ(state.SyntaxCache[1].Command, "");
    EXPECT_EQ(state.ScriptHeaderCache[1].Name, std::string(32, 'A') + "B");
    EXPECT_EQ(state.ScriptHeaderCache[1].Type, 0x42);
}

TEST_F(MapLoaderTest, NodeZeroSiblingIsTheCount) {
    MapBuilder builder = SmallMap();
    builder.nodes[0].SibExpPointer = 99;  // overwritten by the count
    ASSERT_TRUE(Load(state, WriteMap(dir, builder), messages));
    EXPECT_EQ(state.SyntaxCache[0].SibExpPointer, 3);
}

TEST_F(MapLoaderTest, HeaderTagAndMapNameChecks) {
    struct Case {
        const char* tag;
        const char* mapName;
        bool garbleIndexAt16;
        bool loads;
    };
    const Case cases[] = {
        {"daeh", "saltmarsh", false, true},
        {"DAEH", "SALTMARSH", false, true},   // letter case is ignored in both
        {"daeh", "ui", false, true},          // the last stock name counts too
        {"daeh", "elsewhere", false, false},  // not a stock name
        {"daeh", "", false, false},
        {"abcd", "elsewhere", true, true},    // another tag: index from 1516, no name check
    };
    for (const Case& c : cases) {
        MapBuilder builder = SmallMap();
        builder.headerTag = c.tag;
        builder.mapName = c.mapName;
        auto bytes = builder.build();
        if (c.garbleIndexAt16) PutInt32(bytes, 16, 0x7FFFFFF0);
        const std::string path = dir.path("tag.map");
        testing::WriteBytes(path, bytes);
        MapState fresh;
        testing::CollectedMessages shown;
        EXPECT_EQ(Load(fresh, path, shown), c.loads) << c.tag << " " << c.mapName;
        ASSERT_EQ(shown.messages.size(), 1u);
        EXPECT_EQ(shown.messages[0], c.loads ? "Map loaded!" : "Cant load |2|") << c.tag << " " << c.mapName;
        EXPECT_EQ(fresh.hasMap(), c.loads);
    }
}

TEST_F(MapLoaderTest, LaterEntriesWinInEveryDictionary) {
    MapBuilder builder = SmallMap();
    builder.scripts = {{"twin", 0, 0, 10, 0}, {"other", 0, 0, 10, 0}, {"twin", 1, 0, 11, 0}};
    builder.globals = {{"g", 5, 10, 0}, {"g", 6, 11, 0}};
    builder.nodes = {Node(10), Node(7), Node(7)};
    ASSERT_TRUE(Load(state, WriteMap(dir, builder), messages));
    EXPECT_EQ(state.ScriptHeaderCache.size(), 3u);
    EXPECT_EQ(state.scriptPosition("twin"), 2);
    EXPECT_EQ(state.globalPosition("g"), 1);
    EXPECT_EQ(state.syntaxPosition(7), 2);
    EXPECT_EQ(state.syntaxPositionOr0(12345), 0u);  // unknown: position 0
    EXPECT_FALSE(state.syntaxPosition(12345).has_value());
}

TEST_F(MapLoaderTest, CountsDecideRowsAndEntries) {
    struct Case {
        std::optional<std::int32_t> scripts, globals;
        std::optional<std::int16_t> nodes;
        std::vector<std::string> rows;
        std::size_t scriptEntries, globalEntries, nodeEntries;
    };
    const Case cases[] = {
        {0, 0, std::nullopt, {}, 0, 0, 3},
        {0, std::nullopt, std::nullopt, {"globals"}, 0, 1, 3},
        {std::nullopt, 0, 0, {"scripts"}, 2, 0, 0},
        {-5, -1, -3, {"scripts", "globals"}, 0, 0, 0},  // negative: the row, no entries
        {1, std::nullopt, 2, {"scripts", "globals"}, 1, 1, 2},
    };
    for (const Case& c : cases) {
        MapBuilder builder = SmallMap();
        builder.scriptCount = c.scripts;
        builder.globalCount = c.globals;
        builder.syntaxCount = c.nodes;
        MapState fresh;
        testing::CollectedMessages shown;
        ASSERT_TRUE(Load(fresh, WriteMap(dir, builder), shown));
        EXPECT_EQ(fresh.FolderRows, c.rows);
        EXPECT_EQ(fresh.ScriptHeaderCache.size(), c.scriptEntries);
        EXPECT_EQ(fresh.GlobalHeaderCache.size(), c.globalEntries);
        EXPECT_EQ(fresh.SyntaxCache.size(), c.nodeEntries);
    }
}

// Everything a load builds, for comparing a state before and after a refusal.
void ExpectSameMap(const MapState& a, const MapState& b) {
    EXPECT_EQ(a.generation(), b.generation());
    EXPECT_EQ(a.loadedPath(), b.loadedPath());
    EXPECT_EQ(a.magic, b.magic);
    EXPECT_EQ(a.Scenario.Offset, b.Scenario.Offset);
    EXPECT_EQ(a.ScriptTableOuter, b.ScriptTableOuter);
    EXPECT_EQ(a.ScriptHeaderCache.size(), b.ScriptHeaderCache.size());
    EXPECT_EQ(a.GlobalHeaderCache.size(), b.GlobalHeaderCache.size());
    EXPECT_EQ(a.SyntaxCache.size(), b.SyntaxCache.size());
    EXPECT_EQ(a.ScriptsByName, b.ScriptsByName);
    EXPECT_EQ(a.SyntaxByIdentity, b.SyntaxByIdentity);
    EXPECT_EQ(a.FolderRows, b.FolderRows);
    EXPECT_EQ(a.LoadedScript.has_value(), b.LoadedScript.has_value());
}

TEST_F(MapLoaderTest, RefusalsLeaveTheLoadedMapAlone) {
    const std::string good = WriteMap(dir, DemoMap(), "good.map");
    ASSERT_TRUE(Load(state, good, messages));
    state.LoadedScript = state.recordAt(1);
    const MapState before = state;

    MapBuilder versioned = SmallMap();
    versioned.version = 609;
    MapBuilder misnamed = SmallMap();
    misnamed.mapName = "nowhere";
    std::filesystem::create_directory(dir.path("folder.map"));
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {WriteMap(dir, versioned, "609.map"), "cant load |1|"},
        {WriteMap(dir, misnamed, "name.map"), "Cant load |2|"},
        {dir.path("missing.map"), "Can't open \"" + dir.path("missing.map") + "\": the file does not exist."},
        {dir.path("folder.map"), "Can't open \"" + dir.path("folder.map") + "\": it is not a regular file."},
    };
    for (const Case& c : cases) {
        testing::CollectedMessages shown;
        EXPECT_FALSE(Load(state, c.path, shown));
        EXPECT_EQ(shown.messages, std::vector<std::string>{c.message});
        ExpectSameMap(state, before);
        EXPECT_EQ(state.loadedPath(), good);  // the refused file does not take the writes away
        EXPECT_TRUE(CheckMapWritable(state));
    }
}

TEST_F(MapLoaderTest, SecondLoadReplacesEverything) {
    ASSERT_TRUE(Load(state, WriteMap(dir, DemoMap(), "demo.map"), messages));
    state.LoadedScript = state.recordAt(0);
    state.LoadedSyntax = state.recordAt(0);
    const auto firstGeneration = state.generation();
    MapBuilder builder = SmallMap();
    builder.globalCount = 0;
    const std::string second = WriteMap(dir, builder, "second.map");
    ASSERT_TRUE(Load(state, second, messages));
    EXPECT_GT(state.generation(), firstGeneration);
    EXPECT_EQ(state.loadedPath(), second);
    EXPECT_TRUE(CheckMapWritable(state));
    EXPECT_EQ(state.ScriptHeaderCache.size(), 2u);
    EXPECT_TRUE(state.GlobalHeaderCache.empty());
    EXPECT_TRUE(state.GlobalsByName.empty());
    EXPECT_FALSE(state.scriptPosition("patrol_loop").has_value());
    EXPECT_EQ(state.FolderRows, std::vector<std::string>{"scripts"});
    EXPECT_FALSE(state.LoadedScript.has_value());
    EXPECT_FALSE(state.LoadedSyntax.has_value());
}

TEST_F(MapLoaderTest, DamagedMapsAreRefusedWithAClearMessage) {
    const MapBuilder builder = SmallMap();
    const MapLayout at = builder.layout();
    const auto good = builder.build();
    const std::int32_t s = at.scenario;
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* expected;
    };
    const Case cases[] = {
        {"index past the end", [](auto& b) { PutInt32(b, 16, 0x7FFFFF00); }, "the tag index"},
        {"negative index", [](auto& b) { PutInt32(b, 16, -8); }, "the tag index"},
        {"scenario below magic", [&](auto& b) { PutInt32(b, at.tagEntry + 20, 100); }, "the scenario's script fields"},
        {"absurd script count", [&](auto& b) { PutInt32(b, s + 1180, 0x7FFFFFFF); }, "the script table of 2147483647"},
        {"script table past the end", [&](auto& b) { PutInt32(b, s + 1184, builder.magic + static_cast<std::int32_t>(b.size()) - 100); }, "the script table"},
        {"global table below magic", [&](auto& b) { PutInt32(b, s + 1196, 5); }, "the global table"},
        {"node block past the end", [&](auto& b) { PutInt32(b, s + 1152, builder.magic + static_cast<std::int32_t>(b.size())); }, "the syntax node count"},
        {"too many nodes", [&](auto& b) { PutInt16(b, at.syntaxBlock + 46, 32767); }, "the syntax node block of 32767"},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        c.damage(bytes);
        const std::string path = dir.path("damaged.map");
        testing::WriteBytes(path, bytes);
        MapState fresh;
        testing::CollectedMessages shown;
        EXPECT_FALSE(Load(fresh, path, shown)) << c.what;
        ASSERT_EQ(shown.messages.size(), 1u) << c.what;
        EXPECT_NE(shown.messages[0].find("is damaged: "), std::string::npos) << shown.messages[0];
        EXPECT_NE(shown.messages[0].find(c.expected), std::string::npos) << c.what << ": " << shown.messages[0];
        EXPECT_FALSE(fresh.hasMap());
    }
}

// Without the header tag only the index offset at 1516 marks a map; when it
// leads outside the file, the file is called what it most likely is.
TEST_F(MapLoaderTest, AFileWithoutTagOrIndexIsNotAMap) {
    MapBuilder tagless = SmallMap();
    tagless.headerTag = "abcd";
    const auto map = tagless.build();
    std::string longText;
    while (longText.size() < 4000) longText += "Just some notes, not a level at all.\n";
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* expected;  // after "...it is damaged): "
    };
    const auto withIndex = [&](std::int32_t index) {
        auto bytes = map;
        PutInt32(bytes, 1516, index);
        return bytes;
    };
    const Case cases[] = {
        {"short text", {'h', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd', '\n'},
         "its header tag is not \"daeh\", and the index offset (4 bytes at offset 0x5EC) lies outside the file, "
         "which has 13 bytes."},
        {"long text", std::vector<std::uint8_t>(longText.begin(), longText.end()),
         "its header tag is not \"daeh\", and the index offset at 0x5EC, 1937066506, lies outside the file, which "
         "has 4033 bytes."},
        {"negative index", withIndex(-1), "the index offset at 0x5EC, -1, lies outside the file"},
        {"index at the end", withIndex(static_cast<std::int32_t>(map.size())), "lies outside the file"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.path("notes.map");
        testing::WriteBytes(path, c.bytes);
        testing::CollectedMessages shown;
        EXPECT_FALSE(Load(state, path, shown)) << c.what;
        ASSERT_EQ(shown.messages.size(), 1u) << c.what;
        const std::string prefix = "\"" + path + "\" is not a Vexa map (or it is damaged): ";
        EXPECT_EQ(shown.messages[0].rfind(prefix, 0), 0u) << shown.messages[0];
        EXPECT_NE(shown.messages[0].find(c.expected), std::string::npos) << c.what << ": " << shown.messages[0];
    }

    // An index inside the file is a map's, damaged or not: the other
    // refusals keep their words.
    auto damaged = map;
    PutInt32(damaged, 1516, static_cast<std::int32_t>(map.size()) - 2);
    const std::string path = dir.path("damaged.map");
    testing::WriteBytes(path, damaged);
    testing::CollectedMessages shown;
    EXPECT_FALSE(Load(state, path, shown));
    ASSERT_EQ(shown.messages.size(), 1u);
    EXPECT_EQ(shown.messages[0].rfind("The map \"" + path + "\" is damaged: the tag index", 0), 0u) << shown.messages[0];
}

TEST_F(MapLoaderTest, TextsOutsideTheFileReadAsEmptyOrStopAtTheEnd) {
    MapBuilder builder = SmallMap();
    auto bytes = builder.build();
    const MapLayout at = builder.layout();
    PutInt32(bytes, at.node(1) + 12, 0x7FFFFFF0);  // far past the end
    PutInt32(bytes, at.node(2) + 12, -at.stringTable - 1);  // before the file's start
    bytes.back() = 'Z';  // the last text has no zero byte before the end
    const std::string path = dir.path("texts.map");
    testing::WriteBytes(path, bytes);
    ASSERT_TRUE(Load(state, path, messages));
    EXPECT_EQ(state.SyntaxCache[1].Command, "");
    EXPECT_EQ(state.SyntaxCache[2].Command, "");
    // The last node text ran to the file's end, now without its zero byte.
    EXPECT_EQ(state.SyntaxCache[0].Command, "zero");
}

// Every prefix of a map and many randomly damaged copies either load or are
// refused with one message; none may crash, hang or read outside the file.
TEST_F(MapLoaderTest, TruncatedAndCorruptedMapsNeverFail) {
    const auto good = DemoMap().build();
    const std::string path = dir.path("cut.map");
    for (std::size_t length = 0; length < good.size(); length += 7) {
        testing::WriteBytes(path, std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(length)));
        MapState fresh;
        testing::CollectedMessages shown;
        const bool loaded = Load(fresh, path, shown);
        ASSERT_EQ(shown.messages.size(), 1u) << length;
        EXPECT_EQ(loaded, shown.messages[0] == "Map loaded!") << length;
    }
    std::mt19937 random(20261209);
    for (int round = 0; round < 300; ++round) {
        auto bytes = good;
        for (int flips = 0; flips < 8; ++flips) {
            bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
        }
        testing::WriteBytes(path, bytes);
        MapState fresh;
        testing::CollectedMessages shown;
        const bool loaded = Load(fresh, path, shown);
        ASSERT_EQ(shown.messages.size(), 1u);
        if (loaded) {
            for (const Syntax& node : fresh.SyntaxCache) {
                ASSERT_GE(node.offset, 0);
                ASSERT_LE(node.offset + 20, static_cast<std::int64_t>(bytes.size()));
            }
        }
    }
}

}  // namespace
}  // namespace quorin

namespace quorin {
namespace {

TEST(MapBuilderLayout, StringTableCanSitBeforeOrAfterTheTables) {
    for (std::int32_t wanted : {4096, 3000, 200000}) {
        MapBuilder builder = SmallMap();
        builder.stringTableAt = wanted;
        testing::TempDir dir;
        MapState state;
        testing::CollectedMessages messages;
        ASSERT_TRUE(Load(state, WriteMap(dir, builder), messages)) << wanted;
        EXPECT_EQ(state.ScriptTableOuter, wanted);
        EXPECT_EQ(state.SyntaxCache[2].Command, "sleep");
        EXPECT_EQ(state.ScriptHeaderCache[1].Name, "second");
    }
}

}  // namespace
}  // namespace quorin
