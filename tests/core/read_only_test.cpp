// SPDX-License-Identifier: GPL-3.0-or-later
// A map opened read-only, or one this user may not write, is never written:
// every write path refuses it with the reason.

#include <gtest/gtest.h>

#include <filesystem>

#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/EditFixture.h"
#include "support/WritePaths.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;

struct ReadOnlyWay {
    std::string label;
    std::function<Status(MapState&, const std::string& path)> open;
    std::string reason;  // part of every refusal
};

const ReadOnlyWay kWays[] = {
    {"OpenedReadOnly",
     [](MapState& map, const std::string& path) { return OpenMap(map, path, BuiltInMapNames(), OpenMode::ReadOnly); },
     "is open read-only. Nothing was written."},
    // Even a user who could override the permission bits leaves a file
    // marked read-only alone.
    {"MarkedReadOnly",
     [](MapState& map, const std::string& path) {
         fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
         return OpenMap(map, path, BuiltInMapNames());
     },
     "is open read-only: you may not write the file."},
};

using ReadOnlyCase = std::tuple<ReadOnlyWay, testing::WritePath>;

class ReadOnlyMap : public ::testing::TestWithParam<ReadOnlyCase> {};

TEST_P(ReadOnlyMap, RefusesEveryWrite) {
    const auto& [way, path] = GetParam();
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapState map;
    map.backupBeforeFirstWrite = true;
    WriteHistory history;
    ASSERT_TRUE(way.open(map, fixture.path));
    ASSERT_TRUE(map.readOnly());
    (void)path.prepare(map, history);  // undo and redo find no step to prepare
    const std::string before = testing::StateImage(map);

    const Status written = path.write(map, history);

    ASSERT_FALSE(written);
    EXPECT_NE(MessageOf(written.error()).find(way.reason), std::string::npos) << MessageOf(written.error());
    EXPECT_EQ(testing::ReadBytes(fixture.path), fixture.bytes);
    EXPECT_EQ(testing::StateImage(map), before);
    EXPECT_FALSE(fs::exists(fixture.path + ".bak"));
}

INSTANTIATE_TEST_SUITE_P(EveryPath, ReadOnlyMap,
                         ::testing::Combine(::testing::ValuesIn(kWays), ::testing::ValuesIn(testing::EveryWritePath())),
                         [](const auto& info) {
                             return std::get<0>(info.param).label + "_" + std::get<1>(info.param).label;
                         });

}  // namespace
}  // namespace quorin
