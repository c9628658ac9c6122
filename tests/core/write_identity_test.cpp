// SPDX-License-Identifier: GPL-3.0-or-later
// The file written is the file loaded: every write path refuses a map that
// was replaced, rewritten, cut short or touched since it was loaded, and
// writes nothing anywhere.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "edit/FieldWriteBack.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "map/MapWriter.h"
#include "support/EditFixture.h"
#include "support/WritePaths.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;
using Bytes = std::vector<std::uint8_t>;

// Something another program does to the map after it was loaded.
struct Disturbance {
    std::string label;
    std::function<void(const testing::TempDir&, const std::string& path)> apply;
};

Bytes Flipped(Bytes bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 7) bytes[i] ^= 0x5A;
    return bytes;
}

const Disturbance kDisturbances[] = {
    // The same bytes under another inode: a copy put in place of the map.
    {"AnotherFileRenamedOver",
     [](const testing::TempDir& dir, const std::string& path) {
         WriteBytes(dir.path("other.map"), ReadBytes(path));
         fs::rename(dir.path("other.map"), path);
     }},
    // Same inode, same size, other bytes: another tool rebuilt it in place.
    {"ReplacedInPlaceSameSize",
     [](const testing::TempDir&, const std::string& path) {
         // Past the clock's tick, so the rewrite gets a modification time of its own.
         std::this_thread::sleep_for(std::chrono::milliseconds(20));
         WriteBytes(path, Flipped(ReadBytes(path)));
     }},
    {"Truncated",
     [](const testing::TempDir&, const std::string& path) { fs::resize_file(path, fs::file_size(path) / 2); }},
    // Identical bytes, a new modification time: refused too, since only
    // reading the whole file could tell the bytes are the same.
    {"TouchedWithoutChange",
     [](const testing::TempDir&, const std::string& path) {
         fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(3));
     }},
};

using IdentityCase = std::tuple<Disturbance, testing::WritePath>;

class WriteAfterDisturbance : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(WriteAfterDisturbance, IsRefusedAndWritesNothing) {
    const auto& [disturbance, path] = GetParam();
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapState map;
    WriteHistory history;
    ASSERT_TRUE(OpenMap(map, fixture.path, BuiltInMapNames()));
    const Status prepared = path.prepare(map, history);
    ASSERT_TRUE(prepared) << prepared.error().message;
    const std::string before = testing::StateImage(map);
    disturbance.apply(dir, fixture.path);
    const Bytes disturbed = ReadBytes(fixture.path);

    const Status written = path.write(map, history);

    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message, ChangedOnDiskMessage(fixture.path));
    EXPECT_EQ(ReadBytes(fixture.path), disturbed);
    EXPECT_EQ(testing::StateImage(map), before) << "a refused write changes no record";
}

INSTANTIATE_TEST_SUITE_P(EveryPath, WriteAfterDisturbance,
                         ::testing::Combine(::testing::ValuesIn(kDisturbances),
                                            ::testing::ValuesIn(testing::EveryWritePath())),
                         [](const auto& info) {
                             return std::get<0>(info.param).label + "_" + std::get<1>(info.param).label;
                         });

// A batch run reads and writes through one descriptor: a file renamed over
// the path after the load is never written; the file that was read is.
TEST(WriteIdentity, HeldDescriptorWritesTheFileReadNotTheOneRenamedOver) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    fs::create_hard_link(fixture.path, dir.path("read.map"));
    MapState map;
    ASSERT_TRUE(OpenMap(map, fixture.path, BuiltInMapNames(), OpenMode::HoldForWriting));
    map.LoadedScript = map.recordAt(0);
    const Bytes other = Flipped(fixture.bytes);
    WriteBytes(dir.path("other.map"), other);
    fs::rename(dir.path("other.map"), fixture.path);

    const Status written = CommitField(map, EditField::ScriptExpPointer, "70000");

    ASSERT_TRUE(written) << written.error().message;
    EXPECT_EQ(ReadBytes(fixture.path), other);
    EXPECT_EQ(ReadBytes(dir.path("read.map")),
              testing::Patched(fixture.bytes, fixture.layout.scriptEntry(0) + 38, {0x70, 0x11}));
}

TEST(WriteIdentity, HeldDescriptorRefusesAFileCutShort) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapState map;
    ASSERT_TRUE(OpenMap(map, fixture.path, BuiltInMapNames(), OpenMode::HoldForWriting));
    map.LoadedSyntax = map.recordAt(3);
    const auto half = fixture.bytes.size() / 2;
    fs::resize_file(fixture.path, half);

    EXPECT_FALSE(CommitField(map, EditField::SyntaxScriptValue, "5"));
    EXPECT_EQ(fs::file_size(fixture.path), half);
}

// Cut short between the check and the write: the write still never grows it.
TEST(WriteIdentity, WriterNeverGrowsAFileCutShortAfterItOpened) {
    testing::TempDir dir;
    const std::string path = dir.path("file.map");
    WriteBytes(path, Bytes(64, 0xAA));
    auto writer = MapWriter::open(path);
    ASSERT_TRUE(writer.ok());
    fs::resize_file(path, 16);

    const Status written = writer->writeInt32(40, 7);

    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message, ChangedOnDiskMessage(path));
    EXPECT_EQ(fs::file_size(path), 16u);
    EXPECT_TRUE(writer->journal().empty());
}

}  // namespace
}  // namespace quorin
