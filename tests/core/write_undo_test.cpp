// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of writes: the bytes before go back at every offset a step
// wrote, and the records take what a forward write of those values gives.

#include <gtest/gtest.h>

#include <sstream>

#include "edit/FieldRule.h"
#include "edit/FieldWriteBack.h"
#include "edit/MapProtection.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/EditFixture.h"
#include "support/WritePaths.h"

namespace quorin {
namespace {

using testing::ReadBytes;
using testing::StateImage;
using Bytes = std::vector<std::uint8_t>;

struct Loaded {
    testing::TempDir dir;
    testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapState map;
    WriteHistory history;
    Loaded() {
        EXPECT_TRUE(OpenMap(map, fixture.path, BuiltInMapNames()));
        map.LoadedScript = map.recordAt(0);
        map.LoadedGlobal = map.recordAt(1);
        map.LoadedSyntax = map.recordAt(1);
    }
    Bytes file() const { return ReadBytes(fixture.path); }
    void undo() {
        auto undone = history.undo(map);
        ASSERT_TRUE(undone) << MessageOf(undone.error());
    }
    void redo() {
        auto redone = history.redo(map);
        ASSERT_TRUE(redone) << MessageOf(redone.error());
    }
};

// The records of a state image without its dictionary lines.
std::string RecordsImage(const MapState& map) {
    std::string image;
    std::istringstream lines(StateImage(map));
    for (std::string line; std::getline(lines, line);) {
        const bool dictionary = line.rfind("ScriptsByName ", 0) == 0 || line.rfind("GlobalsByName ", 0) == 0 ||
                                line.rfind("SyntaxByIdentity ", 0) == 0;
        if (!dictionary) image += line + "\n";
    }
    return image;
}

// Every field and popup, and Protect Map: undo gives the file back byte for
// byte, redo gives the write's file and records again.
class UndoOneStep : public ::testing::TestWithParam<testing::WritePath> {};

TEST_P(UndoOneStep, RestoresTheBytesAndRedoMakesTheWriteAgain) {
    const testing::WritePath& path = GetParam();
    Loaded loaded;
    const MapState loadedState = loaded.map;
    const Status written = path.write(loaded.map, loaded.history);
    ASSERT_TRUE(written) << MessageOf(written.error());
    const Bytes afterWrite = loaded.file();
    const std::string stateAfterWrite = StateImage(loaded.map);
    ASSERT_NE(afterWrite, loaded.fixture.bytes);
    ASSERT_TRUE(loaded.history.canUndo(loaded.map));

    loaded.undo();
    EXPECT_EQ(loaded.file(), loaded.fixture.bytes);
    // Every record as loaded; the dictionaries may hold the key the write
    // added (see DictionaryAfterUndo).
    MapState expected = loadedState;
    expected.ScriptsByName = loaded.map.ScriptsByName;
    expected.GlobalsByName = loaded.map.GlobalsByName;
    expected.SyntaxByIdentity = loaded.map.SyntaxByIdentity;
    EXPECT_EQ(StateImage(loaded.map), StateImage(expected));
    EXPECT_FALSE(loaded.history.canUndo(loaded.map));
    EXPECT_TRUE(loaded.history.canRedo(loaded.map));

    loaded.redo();
    EXPECT_EQ(loaded.file(), afterWrite);
    EXPECT_EQ(StateImage(loaded.map), stateAfterWrite);
}

std::vector<testing::WritePath> ForwardWrites() {
    std::vector<testing::WritePath> forward;
    for (const testing::WritePath& path : testing::EveryWritePath()) {
        if (path.label != "UndoLastWrite" && path.label != "RedoWrite") forward.push_back(path);
    }
    return forward;
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, UndoOneStep, ::testing::ValuesIn(ForwardWrites()),
                         [](const auto& info) { return info.param.label; });

TEST(UndoSequence, EveryStepBackGivesTheFileAsLoadedAndForwardAgainTheLastOne) {
    Loaded loaded;
    std::vector<Bytes> files{loaded.fixture.bytes};
    std::vector<std::string> records{RecordsImage(loaded.map)};
    for (const testing::WritePath& path : ForwardWrites()) {
        ASSERT_TRUE(path.write(loaded.map, loaded.history)) << path.label;
        files.push_back(loaded.file());
        records.push_back(RecordsImage(loaded.map));
    }
    const std::string lastState = StateImage(loaded.map);
    for (std::size_t step = files.size() - 1; step > 0; --step) {
        loaded.undo();
        EXPECT_EQ(loaded.file(), files[step - 1]) << "undoing step " << step;
        EXPECT_EQ(RecordsImage(loaded.map), records[step - 1]) << "undoing step " << step;
    }
    EXPECT_FALSE(loaded.history.canUndo(loaded.map));
    // Keys that later steps added stay through their undo (see
    // DictionaryAfterUndo), so the records are compared on the way, the
    // whole state at the end.
    for (std::size_t step = 1; step < files.size(); ++step) {
        loaded.redo();
        EXPECT_EQ(loaded.file(), files[step]) << "redoing step " << step;
        EXPECT_EQ(RecordsImage(loaded.map), records[step]) << "redoing step " << step;
    }
    EXPECT_EQ(StateImage(loaded.map), lastState);
    EXPECT_FALSE(loaded.history.canRedo(loaded.map));
}

TEST(UndoSequence, ANewWriteAfterAnUndoDropsWhatCouldBeRedone) {
    Loaded loaded;
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "1", &loaded.history));
    const Bytes first = loaded.file();
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "2", &loaded.history));
    loaded.undo();
    EXPECT_EQ(loaded.file(), first);
    ASSERT_TRUE(CommitPopup(loaded.map, EditField::ScriptType, 4, &loaded.history));
    EXPECT_FALSE(loaded.history.canRedo(loaded.map));
    EXPECT_FALSE(loaded.history.redo(loaded.map));
    loaded.undo();
    loaded.undo();
    EXPECT_EQ(loaded.file(), loaded.fixture.bytes);
    EXPECT_EQ(loaded.map.ScriptHeaderCache[0].ExpPointer, 11);
    EXPECT_EQ(loaded.map.ScriptHeaderCache[0].Type, 0);
}

// A name edit adds the new name's entry and keeps the old one. Undo is a
// forward write of the old name (its entry leads to the record again); the
// entry the edit added stays when the name was free, but goes back to the
// record that owned it before when the edit had taken it over.
TEST(DictionaryAfterUndo, AFreeNameStaysATakenNameGoesBack) {
    Loaded loaded;
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptName, "fresh", &loaded.history));
    loaded.undo();
    EXPECT_EQ(loaded.map.ScriptHeaderCache[0].Name, "abc");
    EXPECT_EQ(loaded.map.scriptPosition("abc"), 0u);
    EXPECT_EQ(loaded.map.scriptPosition("fresh"), 0u);

    const std::string other = "a_much_longer_script_name";  // script 3
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptName, other, &loaded.history));
    EXPECT_EQ(loaded.map.scriptPosition(other), 0u);
    loaded.undo();
    EXPECT_EQ(loaded.map.scriptPosition(other), 3u);
    EXPECT_EQ(loaded.map.scriptPosition("abc"), 0u);
    loaded.redo();
    EXPECT_EQ(loaded.map.scriptPosition(other), 0u);

    // Node 1 takes node 2's identity; undo hands 12 back to node 2.
    ASSERT_TRUE(CommitField(loaded.map, EditField::SyntaxExpIdent, "12", &loaded.history));
    loaded.undo();
    EXPECT_EQ(loaded.map.syntaxPosition(12), 2u);
    EXPECT_EQ(loaded.map.syntaxPosition(11), 1u);
    EXPECT_EQ(loaded.map.SyntaxCache[1].ExpIdentity, 11);
}

TEST(UndoScope, LoadingAgainClearsTheSteps) {
    Loaded loaded;
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "1", &loaded.history));
    ASSERT_TRUE(loaded.history.canUndo(loaded.map));
    ASSERT_TRUE(OpenMap(loaded.map, loaded.fixture.path, BuiltInMapNames()));
    const Bytes reloaded = loaded.file();

    EXPECT_FALSE(loaded.history.canUndo(loaded.map));
    EXPECT_FALSE(loaded.history.undo(loaded.map));
    EXPECT_EQ(loaded.file(), reloaded);
}

TEST(UndoScope, ARefusedUndoKeepsItsStep) {
    Loaded loaded;
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "1", &loaded.history));
    const std::string path = loaded.fixture.path;
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));

    EXPECT_FALSE(loaded.history.undo(loaded.map));
    EXPECT_TRUE(loaded.history.canUndo(loaded.map));
    EXPECT_EQ(loaded.map.ScriptHeaderCache[0].ExpPointer, 1);
}

}  // namespace
}  // namespace quorin
