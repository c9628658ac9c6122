// SPDX-License-Identifier: GPL-3.0-or-later
// The file written is the file loaded: every write path refuses a map that
// was replaced, rewritten, cut short or touched since it was loaded, and
// writes nothing anywhere.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
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

// The fixture map loaded, and the step before a path's write made.
struct PreparedWrite {
    testing::TempDir dir;
    testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapState map;
    WriteHistory history;
    std::string stateBefore;

    [[nodiscard]] bool prepare(const testing::WritePath& path, OpenMode mode = OpenMode::Edit) {
        if (!OpenMap(map, fixture.path, BuiltInMapNames(), mode)) return false;
        const Status prepared = path.prepare(map, history);
        EXPECT_TRUE(prepared) << MessageOf(prepared.error());
        stateBefore = testing::StateImage(map);
        return prepared.ok();
    }
    // The write was refused as a change on disk, left the file with bytes
    // and changed no record.
    void expectRefused(const Status& written, const Bytes& bytes) const {
        ASSERT_FALSE(written);
        EXPECT_EQ(MessageOf(written.error()), MessageOf(ChangedOnDisk(fixture.path)));
        EXPECT_EQ(ReadBytes(fixture.path), bytes);
        EXPECT_EQ(testing::StateImage(map), stateBefore) << "a refused write changes no record";
    }
};

using IdentityCase = std::tuple<Disturbance, testing::WritePath>;

class WriteAfterDisturbance : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(WriteAfterDisturbance, IsRefusedAndWritesNothing) {
    const auto& [disturbance, path] = GetParam();
    PreparedWrite write;
    ASSERT_TRUE(write.prepare(path));
    disturbance.apply(write.dir, write.fixture.path);
    const Bytes disturbed = ReadBytes(write.fixture.path);

    write.expectRefused(path.write(write.map, write.history), disturbed);
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

    ASSERT_TRUE(written) << MessageOf(written.error());
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
    EXPECT_EQ(MessageOf(written.error()), MessageOf(ChangedOnDisk(path)));
    EXPECT_EQ(fs::file_size(path), 16u);
    EXPECT_TRUE(writer->journal().empty());
}

// Between two writes of one writer (the tables of a protect, the patches of
// an undo) the file is checked again: a change stops the next write.
class SecondWriteAfterDisturbance : public ::testing::TestWithParam<Disturbance> {};

TEST_P(SecondWriteAfterDisturbance, IsRefused) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    auto writer = MapWriter::open(fixture.path);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->writeInt32(fixture.layout.scriptEntry(0) + 38, 5).ok());
    GetParam().apply(dir, fixture.path);
    const Bytes disturbed = ReadBytes(fixture.path);

    const Status second = writer->writeInt32(fixture.layout.scriptEntry(1) + 38, 6);

    ASSERT_FALSE(second);
    EXPECT_EQ(MessageOf(second.error()), MessageOf(ChangedOnDisk(fixture.path)));
    EXPECT_EQ(ReadBytes(fixture.path), disturbed);
    EXPECT_EQ(writer->writes(), 1u);
}

// A file renamed over the path is no change to the file written.
INSTANTIATE_TEST_SUITE_P(InPlace, SecondWriteAfterDisturbance, ::testing::ValuesIn(kDisturbances + 1, std::end(kDisturbances)),
                         [](const auto& info) { return info.param.label; });

// Whether thread tid sleeps in the kernel without being woken by signals
// (state D), as a truncate waiting for the file does.
bool WaitsInTheKernel(pid_t tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t name = text.rfind(')');
    return name != std::string::npos && name + 2 < text.size() && text[name + 2] == 'D';
}

// A cut between a write's check and the write itself makes the file longer
// again under the write. The kernel lets one change into a file at a time:
// another program's long write holds it, a cut waits behind that, and the
// writer checks the file and then waits behind the cut. The writer must
// find the file grown and cut it back.
TEST(WriteIdentity, AWriteThatMadeAFileCutShortLongerIsTakenBack) {
    testing::TempDir dir;
    // In memory where it can be: the long write is faster there, not shorter.
    const std::string path =
        fs::is_directory("/dev/shm") ? "/dev/shm/quorin-cut-" + std::to_string(::getpid()) : dir.path("file.map");
    constexpr std::int64_t kSize = 64 << 20;
    constexpr std::int64_t kCutTo = 1000;
    int cutBack = 0;
    // The kernel's order of waiters is what a second attempt is for.
    for (int attempt = 0; attempt < 5 && cutBack == 0; ++attempt) {
        WriteBytes(path, Bytes(kSize, 0xAA));
        const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
        const int other = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(other, 0);
        std::thread longWrite([&] {
            const std::vector<char> bytes(kSize - 8192, 0x55);
            EXPECT_EQ(::pwrite(other, bytes.data(), bytes.size(), 8192), static_cast<ssize_t>(bytes.size()));
        });
        // The long write has begun once it stamped the file.
        struct stat status {};
        while (::stat(path.c_str(), &status) == 0 && status.st_mtim.tv_sec == 1'000'000'000) std::this_thread::yield();
        std::atomic<pid_t> cutterId = 0;
        std::thread cutter([&] {
            cutterId = ::gettid();
            EXPECT_EQ(::truncate(path.c_str(), kCutTo), 0);
        });
        while (cutterId == 0 || !WaitsInTheKernel(cutterId)) std::this_thread::yield();

        auto writer = MapWriter::open(path);
        ASSERT_TRUE(writer.ok());
        const Status written = writer->writeInt32(6000, 7);
        longWrite.join();
        cutter.join();
        ::close(other);

        EXPECT_FALSE(written);
        EXPECT_EQ(fs::file_size(path), static_cast<std::uintmax_t>(kCutTo)) << "attempt " << attempt;
        if (!written && MessageOf(written.error()).find("it was cut back to 1000 bytes") != std::string::npos) {
            ++cutBack;
        }
    }
    fs::remove(path);
    EXPECT_EQ(cutBack, 1) << "the write never came after the cut";
}

// Another writer (a second Quorin run) holds the lock: every write path of
// the window and of a batch run waits for it, then finds what it wrote.
using LockCase = std::tuple<testing::WritePath, OpenMode>;

class WriteWhileLocked : public ::testing::TestWithParam<LockCase> {};

TEST_P(WriteWhileLocked, WaitsAndThenFindsTheMapChanged) {
    const auto& [path, mode] = GetParam();
    PreparedWrite write;
    ASSERT_TRUE(write.prepare(path, mode));
    const int other = testing::LockAsAnotherWriter(write.fixture.path);
    ASSERT_GE(other, 0);
    const std::int64_t markAt = write.fixture.layout.stringTable + 1;
    std::thread otherWriter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        const char mark = '#';
        EXPECT_EQ(::pwrite(other, &mark, 1, markAt), 1);
        ::close(other);
    });
    const Bytes marked = testing::Patched(ReadBytes(write.fixture.path), markAt, {'#'});

    const Status written = path.write(write.map, write.history);
    otherWriter.join();

    write.expectRefused(written, marked);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, WriteWhileLocked,
                         ::testing::Combine(::testing::ValuesIn(testing::EveryWritePath()),
                                            ::testing::Values(OpenMode::Edit, OpenMode::HoldForWriting)),
                         [](const auto& info) {
                             return std::get<0>(info.param).label +
                                    (std::get<1>(info.param) == OpenMode::Edit ? "_Window" : "_Batch");
                         });

}  // namespace
}  // namespace quorin
