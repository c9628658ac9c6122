// SPDX-License-Identifier: GPL-3.0-or-later
// The backup before the first write after a load: NAME.map.bak holds the
// file as loaded, and a write whose backup cannot be made does not happen.

#include <gtest/gtest.h>

#include <filesystem>

#include "edit/FieldWriteBack.h"
#include "edit/MapProtection.h"
#include "file/MapBackup.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/CliRun.h"
#include "support/EditFixture.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using Bytes = std::vector<std::uint8_t>;

struct Loaded {
    testing::TempDir dir;
    testing::EditFixture fixture = testing::WriteEditFixture(dir);
    std::string backup = fixture.path + ".bak";
    MapState map;
    explicit Loaded(bool backupFirst = true) {
        map.backupBeforeFirstWrite = backupFirst;
        load();
    }
    void load() {
        EXPECT_TRUE(OpenMap(map, fixture.path, BuiltInMapNames()));
        map.LoadedScript = map.recordAt(0);
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::path(fixture.path).parent_path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(MapBackup, TheFirstWriteAfterALoadCopiesTheFileAsLoaded) {
    Loaded loaded;
    EXPECT_EQ(BackupPathFor(loaded.fixture.path), loaded.backup);
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "1"));
    EXPECT_EQ(ReadBytes(loaded.backup), loaded.fixture.bytes);
    const Bytes afterFirst = ReadBytes(loaded.fixture.path);

    // Later writes of the same load leave the backup alone.
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "2"));
    ASSERT_TRUE(ProtectScripts(loaded.map));
    EXPECT_EQ(ReadBytes(loaded.backup), loaded.fixture.bytes);

    // The next load's first write backs up the file as that load read it.
    loaded.load();
    const Bytes reloaded = ReadBytes(loaded.fixture.path);
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "3"));
    EXPECT_EQ(ReadBytes(loaded.backup), reloaded);
    EXPECT_NE(reloaded, afterFirst);
    EXPECT_EQ(fs::status(loaded.backup).permissions(), fs::status(loaded.fixture.path).permissions());
    // Nothing but the map and its backup: the temporary copy took the name.
    EXPECT_EQ(loaded.files(), (std::vector<std::string>{"edit.map", "edit.map.bak"}));
}

TEST(MapBackup, AnOlderBackupIsReplacedWhole) {
    Loaded loaded;
    testing::WriteBytes(loaded.backup, Bytes(100000, 0x11));
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "1"));
    EXPECT_EQ(ReadBytes(loaded.backup), loaded.fixture.bytes);
}

TEST(MapBackup, WithTheSettingOffNoCopyIsMade) {
    Loaded loaded(false);
    ASSERT_TRUE(CommitField(loaded.map, EditField::ScriptExpPointer, "1"));
    EXPECT_FALSE(fs::exists(loaded.backup));
}

TEST(MapBackup, ACopyThatCannotBeMadeRefusesTheWrite) {
    Loaded loaded;
    // A folder where the backup goes: the finished copy cannot take its name.
    fs::create_directory(loaded.backup);
    fs::create_directory(loaded.backup + "/inside");

    const Status written = CommitField(loaded.map, EditField::ScriptExpPointer, "1");

    ASSERT_FALSE(written);
    EXPECT_NE(
        MessageOf(written.error()).find("Can't back up \"" + loaded.fixture.path + "\" to \"" + loaded.backup + "\""),
        std::string::npos)
        << MessageOf(written.error());
    EXPECT_NE(MessageOf(written.error()).find("Nothing was written."), std::string::npos);
    EXPECT_EQ(ReadBytes(loaded.fixture.path), loaded.fixture.bytes);
    EXPECT_EQ(loaded.map.ScriptHeaderCache[0].ExpPointer, 11);
    EXPECT_EQ(loaded.files(), (std::vector<std::string>{"edit.map", "edit.map.bak"}));
}

TEST(MapBackup, CommandLineBacksUpOnlyWhenAsked) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    const auto plain = testing::RunCli({"set", fixture.path, "script", "abc", "ExpPointer", "5"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_FALSE(fs::exists(fixture.path + ".bak"));
    const Bytes beforeProtect = ReadBytes(fixture.path);

    const auto backedUp = testing::RunCli({"--backup", "protect", fixture.path});
    ASSERT_EQ(backedUp.exitCode, 0) << backedUp.err;
    EXPECT_EQ(ReadBytes(fixture.path + ".bak"), beforeProtect);
    EXPECT_NE(ReadBytes(fixture.path), beforeProtect);
}

}  // namespace
}  // namespace quorin
