// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "edit/MapProtection.h"
#include "map/MapLoader.h"
#include "support/EditFixture.h"

namespace quorin {
namespace {

using testing::FileImage;
using testing::Patched;
using testing::ReadBytes;
using testing::StateImage;
using Bytes = std::vector<std::uint8_t>;

const Bytes kProtectedField = {'<', 'p', 'r', 'o', 't', 'e', 'c', 't', 'e', 'd', '>', 0, 0, 0, 0, 0,
                               0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0};

// The fixture file as protection must leave it: string offsets T + 1 = 4097.
Bytes ProtectedImage(const testing::EditFixture& fixture) {
    const MapBuilder builder = testing::EditFixtureBuilder();
    Bytes bytes = fixture.bytes;
    for (std::size_t i = 0; i < builder.nodes.size(); ++i) {
        bytes = Patched(bytes, fixture.layout.node(static_cast<int>(i)) + 12, {0x01, 0x10, 0x00, 0x00});
    }
    for (std::size_t i = 0; i < builder.globals.size(); ++i) {
        bytes = Patched(bytes, fixture.layout.globalEntry(static_cast<int>(i)), kProtectedField);
    }
    for (std::size_t i = 0; i < builder.scripts.size(); ++i) {
        bytes = Patched(bytes, fixture.layout.scriptEntry(static_cast<int>(i)), kProtectedField);
    }
    return bytes;
}

struct Loaded {
    testing::TempDir dir;
    testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapState state;
    testing::CollectedMessages messages;
    bool load() { return testing::Load(state, fixture.path, messages); }
};

TEST(ProtectScripts, RewritesEveryNameAndStringOffsetOnly) {
    Loaded map;
    ASSERT_TRUE(map.load());
    const std::string stateBefore = StateImage(map.state);
    testing::CollectedMessages shown;
    const Status done = testing::Protect(map.state, shown);
    ASSERT_TRUE(done) << MessageOf(done.error());
    EXPECT_EQ(ReadBytes(map.fixture.path), ProtectedImage(map.fixture));
    EXPECT_EQ(shown.messages, std::vector<std::string>{kProtectedMessage});
    EXPECT_EQ(StateImage(map.state), stateBefore);  // the records keep what was loaded
}

TEST(ProtectScripts, RunningTwiceGivesTheSameFile) {
    Loaded map;
    ASSERT_TRUE(map.load());
    testing::CollectedMessages shown;
    ASSERT_TRUE(testing::Protect(map.state, shown));
    ASSERT_TRUE(testing::Protect(map.state, shown));
    EXPECT_EQ(ReadBytes(map.fixture.path), ProtectedImage(map.fixture));
    EXPECT_EQ(shown.messages.size(), 2u);
}

TEST(ProtectScripts, ReloadedMapHasOneProtectedNameAtTheLastPosition) {
    Loaded map;
    ASSERT_TRUE(map.load());
    testing::CollectedMessages shown;
    ASSERT_TRUE(testing::Protect(map.state, shown));
    MapState reloaded;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(reloaded, map.fixture.path, messages));
    EXPECT_EQ(reloaded.ScriptsByName, (NameIndex{{kProtectedName, 3}}));
    EXPECT_EQ(reloaded.GlobalsByName, (NameIndex{{kProtectedName, 1}}));
    for (const Syntax& node : reloaded.SyntaxCache) EXPECT_EQ(node.ScriptTableOffset, 2 * 4096 + 1);
}

TEST(ProtectScripts, EmptyMapWritesNothingAndStillReports) {
    testing::TempDir dir;
    const std::string path = testing::WriteMap(dir, MapBuilder{});
    const Bytes before = ReadBytes(path);
    MapState state;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(state, path, messages));
    ASSERT_TRUE(state.SyntaxCache.empty());
    testing::CollectedMessages shown;
    ASSERT_TRUE(testing::Protect(state, shown));
    EXPECT_EQ(shown.messages, std::vector<std::string>{kProtectedMessage});
    EXPECT_EQ(ReadBytes(path), before);
}

struct Refusal {
    std::string label;
    void (*setUp)(Loaded&);
};

void NoMap(Loaded& map) { map.state = MapState{}; }
void RefusedOpen(Loaded& map) {
    Bytes refused = map.fixture.bytes;
    testing::PutInt32(refused, 4, 609);
    testing::WriteBytes(map.dir.path("second.map"), refused);
    ASSERT_FALSE(testing::Load(map.state, map.dir.path("second.map"), map.messages));
}
void ReadOnly(Loaded& map) { std::filesystem::permissions(map.fixture.path, std::filesystem::perms(0444)); }
void Deleted(Loaded& map) { std::filesystem::remove(map.fixture.path); }
void Directory(Loaded& map) {
    std::filesystem::remove(map.fixture.path);
    std::filesystem::create_directory(map.fixture.path);
}
// Only the last node's string offset reaches past the end now; every field
// is checked before the first write, so nodes 0 to 2 stay unprotected too.
void LastFieldOutside(Loaded& map) {
    std::filesystem::resize_file(map.fixture.path, map.fixture.layout.node(3) + 12 + 3);
}


void PrintTo(const Refusal& c, std::ostream* os) { *os << c.label; }

class ProtectRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ProtectRefusal, WritesNothingAndShowsNoSuccess) {
    Loaded map;
    ASSERT_TRUE(map.load());
    GetParam().setUp(map);
    const std::string before = FileImage(map.fixture.path);
    testing::CollectedMessages shown;
    const Status done = testing::Protect(map.state, shown);
    ASSERT_FALSE(done);
    EXPECT_FALSE(MessageOf(done.error()).empty());
    EXPECT_TRUE(shown.messages.empty());
    EXPECT_EQ(FileImage(map.fixture.path), before);
}

INSTANTIATE_TEST_SUITE_P(EveryRefusal, ProtectRefusal,
                         ::testing::Values(Refusal{"NoMapLoaded", NoMap},
                                           Refusal{"ReadOnly", ReadOnly},
                                           Refusal{"Deleted", Deleted}, Refusal{"Directory", Directory},
                                           Refusal{"LastFieldOutside", LastFieldOutside}),
                         [](const auto& info) { return info.param.label; });

// The refused file does not become the one written: the map on screen is
// protected, the refused file is left alone.
TEST(ProtectScripts, RefusedOpenLeavesTheLoadedMapWritable) {
    Loaded map;
    ASSERT_TRUE(map.load());
    RefusedOpen(map);
    const Bytes second = ReadBytes(map.dir.path("second.map"));
    testing::CollectedMessages shown;
    ASSERT_TRUE(testing::Protect(map.state, shown));
    EXPECT_EQ(ReadBytes(map.dir.path("second.map")), second);
    EXPECT_EQ(ReadBytes(map.fixture.path), ProtectedImage(map.fixture));
}

}  // namespace
}  // namespace quorin
