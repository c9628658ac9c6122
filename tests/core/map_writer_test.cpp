// SPDX-License-Identifier: GPL-3.0-or-later
// The one write path: it overwrites bytes inside an existing file and
// nothing else, and says so when it cannot.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "map/MapWriter.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;

class MapWriterTest : public ::testing::Test {
protected:
    void SetUp() override { testing::WriteBytes(path, original); }
    testing::TempDir dir;
    const std::string path = dir.path("file.map");
    const std::vector<std::uint8_t> original = std::vector<std::uint8_t>(64, 0xAA);
};

TEST_F(MapWriterTest, WritesLittleEndianFieldsInPlace) {
    auto writer = MapWriter::open(path);
    ASSERT_TRUE(writer.ok()) << MessageOf(writer.error());
    EXPECT_EQ(writer->size(), 64);
    ASSERT_TRUE(writer->writeInt16(0, 70000).ok());  // low 16 bits: 0x1170
    ASSERT_TRUE(writer->writeInt32(4, -2).ok());
    ASSERT_TRUE(writer->writeZeros(10, 3).ok());
    ASSERT_TRUE(writer->writeBytes(60, "xyz!").ok());
    ASSERT_TRUE(writer->close().ok());

    auto expected = original;
    expected[0] = 0x70;
    expected[1] = 0x11;
    for (int i = 4; i < 8; ++i) expected[i] = i == 4 ? 0xFE : 0xFF;
    expected[10] = expected[11] = expected[12] = 0;
    expected[60] = 'x';
    expected[61] = 'y';
    expected[62] = 'z';
    expected[63] = '!';
    EXPECT_EQ(testing::ReadBytes(path), expected);
}

TEST_F(MapWriterTest, RefusesWritesOutsideTheFile) {
    auto writer = MapWriter::open(path);
    ASSERT_TRUE(writer.ok());
    EXPECT_FALSE(writer->writeInt32(61, 1).ok());   // would grow the file
    EXPECT_FALSE(writer->writeInt16(-1, 1).ok());
    EXPECT_FALSE(writer->writeBytes(64, "a").ok());
    EXPECT_FALSE(writer->writeZeros(0, 65).ok());
    EXPECT_FALSE(writer->writeZeros(0, -1).ok());
    EXPECT_TRUE(writer->writeBytes(64, "").ok());   // nothing to write at the very end
    ASSERT_TRUE(writer->close().ok());
    EXPECT_EQ(testing::ReadBytes(path), original);
    EXPECT_EQ(fs::file_size(path), 64u);
}

TEST_F(MapWriterTest, RefusesFilesItMustNotWrite) {
    struct Case {
        const char* what;
        std::function<std::string()> prepare;  // returns the path to open
        const char* says;
    };
    const Case cases[] = {
        {"vanished", [&] { fs::remove(path); return path; }, "no longer exists"},
        {"read-only", [&] { fs::permissions(path, fs::perms::owner_read | fs::perms::group_read); return path; }, "read-only"},
        {"a directory", [&] { fs::create_directory(dir.path("folder")); return dir.path("folder"); }, "not a regular file"},
    };
    for (const Case& c : cases) {
        SetUp();
        const std::string target = c.prepare();
        auto writer = MapWriter::open(target);
        ASSERT_FALSE(writer.ok()) << c.what;
        EXPECT_NE(MessageOf(writer.error()).find(c.says), std::string::npos) << MessageOf(writer.error());
        EXPECT_NE(MessageOf(writer.error()).find("Nothing was written"), std::string::npos);
        if (fs::is_regular_file(target)) {
            fs::permissions(target, fs::perms::owner_all);
            EXPECT_EQ(testing::ReadBytes(target), original) << c.what;
        }
    }
}

TEST_F(MapWriterTest, AFileReplacedByAShorterOneBoundsTheWrites) {
    testing::WriteBytes(path, std::vector<std::uint8_t>(8, 0x11));
    auto writer = MapWriter::open(path);
    ASSERT_TRUE(writer.ok());
    EXPECT_FALSE(writer->writeInt32(40, 7).ok());
    ASSERT_TRUE(writer->close().ok());
    EXPECT_EQ(testing::ReadBytes(path), std::vector<std::uint8_t>(8, 0x11));
}

// Protect writes a table's worth of fields at once; the file must end as
// one write per field would leave it, and the journal must undo it.
TEST(MapWriterFields, FieldsCloseTogetherShareAWrite) {
    using Fields = std::vector<std::pair<std::int64_t, std::string>>;
    struct Case {
        const char* why;
        Fields fields;
        std::size_t writes;
        std::size_t written;  // fields
    };
    const Case cases[] = {
        {"a table's fields", {{10, "ab"}, {30, "cd"}, {50, "ef"}}, 1, 3},
        {"fields too far apart", {{0, "a"}, {100000, "b"}}, 2, 2},
        {"a field below the last one's end lands after it", {{10, "abcd"}, {12, "XY"}}, 2, 2},
        {"down the file", {{50, "a"}, {10, "b"}}, 2, 2},
        {"a field outside the file stops the rest", {{0, "a"}, {199999, "bc"}, {199000, "d"}}, 1, 1},
    };
    testing::TempDir dir;
    const std::string path = dir.path("file.map");
    const std::vector<std::uint8_t> original(200000, 0xAA);
    for (const Case& c : cases) {
        testing::WriteBytes(path, original);
        auto expected = original;
        std::vector<FieldBytes> fields;
        for (std::size_t i = 0; i < c.fields.size(); ++i) {
            const auto& [offset, bytes] = c.fields[i];
            fields.push_back({offset, bytes});
            if (i < c.written) std::copy(bytes.begin(), bytes.end(), expected.begin() + offset);
        }
        auto writer = MapWriter::open(path);
        ASSERT_TRUE(writer.ok());
        const FieldsWritten written = writer->writeFields(fields);
        EXPECT_EQ(written.status.ok(), c.written == c.fields.size()) << c.why;
        EXPECT_EQ(written.fields, c.written) << c.why;
        EXPECT_EQ(writer->writes(), c.writes) << c.why;
        EXPECT_EQ(writer->journal().size(), c.writes) << c.why;
        EXPECT_EQ(testing::ReadBytes(path), expected) << c.why;
        // The journal, written back last to first, gives the file back.
        const auto journal = writer->journal();
        for (auto patch = journal.rbegin(); patch != journal.rend(); ++patch) {
            ASSERT_TRUE(writer->writeBytes(patch->offset, patch->before).ok());
        }
        ASSERT_TRUE(writer->close().ok());
        EXPECT_EQ(testing::ReadBytes(path), original) << c.why;
    }
}

}  // namespace
}  // namespace quorin
