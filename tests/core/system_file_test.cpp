// SPDX-License-Identifier: GPL-3.0-or-later
// The system-call layer: only regular files open, nothing blocks, and the
// identity tells a replaced or touched file from the one that was opened.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "file/MapBackup.h"
#include "file/SystemFile.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using Access = SystemFile::Access;

class SystemFileTest : public ::testing::Test {
protected:
    void SetUp() override { testing::WriteBytes(path, {1, 2, 3, 4, 5, 6, 7, 8}); }

    testing::TempDir dir;
    std::string path = dir.path("file.map");
};

TEST_F(SystemFileTest, OnlyRegularFilesOpenAndNothingBlocks) {
    const std::string fifo = dir.path("fifo.map");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(dir.path("folder.map"));
    struct Case {
        std::string path;
        const char* says;
    };
    // A FIFO with no writer would block an ordinary open for reading forever.
    const Case cases[] = {
        {fifo, "it is not a regular file"},
        {dir.path("folder.map"), "it is not a regular file"},
        {"/dev/null", "it is not a regular file"},
        {dir.path("missing.map"), "the file does not exist"},
    };
    for (const Case& c : cases) {
        for (Access access : {Access::Read, Access::ReadWrite}) {
            auto file = SystemFile::open(c.path, access);
            ASSERT_FALSE(file.ok()) << c.path;
            const std::string& message = MessageOf(file.error());
            EXPECT_EQ(message.rfind(access == Access::Read ? "Can't open \"" : "Can't write to \"", 0), 0u) << message;
            if (access == Access::Read || c.path != dir.path("missing.map")) {
                EXPECT_NE(message.find(c.says), std::string::npos) << message;
            } else {
                EXPECT_NE(message.find("no longer exists"), std::string::npos) << message;
            }
        }
    }
}

TEST_F(SystemFileTest, AFileMarkedReadOnlyOpensForReadingOnly) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    auto reading = SystemFile::open(path, Access::Read);
    ASSERT_TRUE(reading.ok());
    EXPECT_FALSE(reading->markedWritable());
    auto writing = SystemFile::open(path, Access::ReadWrite);
    ASSERT_FALSE(writing.ok());
    EXPECT_NE(MessageOf(writing.error()).find("read-only"), std::string::npos) << MessageOf(writing.error());
}

TEST_F(SystemFileTest, ReadsAndWritesStayWhereTheyAreAsked) {
    auto file = SystemFile::open(path, Access::ReadWrite);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file->size(), 8);
    const std::uint8_t patch[] = {0xAA, 0xBB};
    ASSERT_TRUE(file->writeAt(3, patch).ok());
    std::uint8_t back[4] = {};
    ASSERT_TRUE(file->readAt(2, back).ok());
    EXPECT_EQ((std::vector<std::uint8_t>(back, back + 4)), (std::vector<std::uint8_t>{3, 0xAA, 0xBB, 6}));
    // A read past the end fails instead of returning what is left.
    std::uint8_t tooMany[4] = {};
    EXPECT_FALSE(file->readAt(6, tooMany).ok());
    ASSERT_TRUE(file->close().ok());
    EXPECT_EQ(testing::ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3, 0xAA, 0xBB, 6, 7, 8}));
}

TEST_F(SystemFileTest, IdentityTellsTheFileThatWasOpened) {
    auto opened = SystemFile::open(path, Access::Read);
    ASSERT_TRUE(opened.ok());
    const FileIdentity first = opened->identity();
    auto again = SystemFile::open(path, Access::Read);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->identity(), first);

    // Another file renamed over the path is another file, even with the same bytes.
    testing::WriteBytes(dir.path("other.map"), testing::ReadBytes(path));
    fs::rename(dir.path("other.map"), path);
    auto replaced = SystemFile::open(path, Access::Read);
    ASSERT_TRUE(replaced.ok());
    EXPECT_NE(replaced->identity().inode, first.inode);
    EXPECT_NE(replaced->identity(), first);

    // The same file touched: a new modification time is a new identity.
    const FileIdentity beforeTouch = replaced->identity();
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    auto touched = replaced->currentIdentity();
    ASSERT_TRUE(touched.ok());
    EXPECT_EQ(touched->inode, beforeTouch.inode);
    EXPECT_NE(*touched, beforeTouch);
}

}  // namespace
}  // namespace quorin

namespace quorin {
namespace {

TEST(SystemFileReading, ReadsFromTheStartUpToTheLimitAndNoFurther) {
    testing::TempDir dir;
    const std::string path = dir.path("text");
    testing::WriteBytes(path, {1, 2, 3, 4, 5});
    auto file = SystemFile::open(path, SystemFile::Access::Read);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(*file->readFromStart(3), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(*file->readFromStart(100), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    // The file grew after it was opened: what is there is read, up to the limit.
    testing::WriteBytes(path, std::vector<std::uint8_t>(200000, 7));
    EXPECT_EQ(file->readFromStart(150000)->size(), 150000u);
}

TEST(FileReplacementTest, NeverReplacesAFileThatAppearedWhenReplacingWasNotAllowed) {
    testing::TempDir dir;
    const std::string path = dir.path("new.map");
    auto target = FileReplacement::prepare(path);
    ASSERT_TRUE(target.ok());
    EXPECT_FALSE(target->replacesExisting());
    testing::WriteBytes(path, {9, 9});  // appears between the look and the write
    const std::uint8_t bytes[] = {1, 2, 3};
    const Status kept = target->commit(bytes, false);
    ASSERT_FALSE(kept.ok());
    EXPECT_NE(MessageOf(kept.error()).find("exists already"), std::string::npos) << MessageOf(kept.error());
    EXPECT_EQ(testing::ReadBytes(path), (std::vector<std::uint8_t>{9, 9}));
    ASSERT_TRUE(target->commit(bytes, true).ok());
    EXPECT_EQ(testing::ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    // Only the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path("")), {}), 1);
}

// ---- The write lock ----

TEST(WriteLockTest, ASecondWriterWaitsForTheFirstAndGivesUpAfterItsWait) {
    testing::TempDir dir;
    const std::string path = dir.path("file.map");
    testing::WriteBytes(path, {1, 2, 3});
    auto first = SystemFile::open(path, Access::ReadWrite);
    auto second = SystemFile::open(path, Access::ReadWrite);
    ASSERT_TRUE(first.ok() && second.ok());
    auto held = first->lockForWriting();
    ASSERT_TRUE(held.ok()) << MessageOf(held.error());

    const auto start = std::chrono::steady_clock::now();
    auto refused = second->lockForWriting(std::chrono::milliseconds(50));
    const auto waited = std::chrono::steady_clock::now() - start;
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(MessageOf(refused.error()), "Can't write to \"" + path +
                                              "\": another program (another Quorin run, say) is "
                                              "writing it and did not finish within 50 ms. Nothing was written.");
    EXPECT_GE(waited, std::chrono::milliseconds(50));
}

// ---- New files that take a name once complete ----

std::vector<std::string> Names(const testing::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path(""))) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(NewFileTest, TakesItsNameWholeOrLeavesNothing) {
    struct Case {
        const char* how;
        Result<SystemFile> (*create)(const std::string&, unsigned);
        bool namedMeanwhile;
    };
    // /tmp makes files without names; elsewhere createBeside is the named way.
    const Case cases[] = {{"unnamed", SystemFile::createBeside, false}, {"named", SystemFile::createNamedBeside, true}};
    const std::uint8_t bytes[] = {7, 8, 9};
    for (const Case& c : cases) {
        testing::TempDir dir;
        const std::string target = dir.path("target.map");
        testing::WriteBytes(target, {1});
        {
            auto dropped = c.create(target, 0600);
            ASSERT_TRUE(dropped.ok()) << c.how;
            EXPECT_EQ(Names(dir).size(), c.namedMeanwhile ? 2u : 1u) << c.how;
        }
        EXPECT_EQ(Names(dir), std::vector<std::string>{"target.map"}) << c.how << ": dropped unplaced";

        auto kept = c.create(target, 0600);
        ASSERT_TRUE(kept.ok() && kept->writeAt(0, bytes).ok());
        const Status refused = kept->placeAs(target, false);
        ASSERT_FALSE(refused.ok()) << c.how;
        EXPECT_EQ(MessageOf(refused.error()), "\"" + target + "\" exists already.");
        ASSERT_TRUE(kept->placeAs(target, true).ok()) << c.how;
        ASSERT_TRUE(kept->close().ok());
        EXPECT_EQ(testing::ReadBytes(target), (std::vector<std::uint8_t>{7, 8, 9})) << c.how;
        EXPECT_EQ(Names(dir), std::vector<std::string>{"target.map"}) << c.how;
    }
}

// ---- Ending signals ----

// How a child process that handles the ending signals and runs body ended.
int ChildEnd(const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

class EndingSignal : public ::testing::TestWithParam<int> {};

TEST_P(EndingSignal, RemovesANamedNewFile) {
    const int signal = GetParam();
    testing::TempDir dir;
    const int status = ChildEnd([&] {
        HandleEndingSignals();
        auto file = SystemFile::createNamedBeside(dir.path("target.map"));
        if (!file) ::_exit(3);
        ::kill(::getpid(), signal);
        ::pause();
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_TRUE(Names(dir).empty());
}

TEST_P(EndingSignal, StaysIgnoredWhenItWasIgnored) {
    const int signal = GetParam();
    const int status = ChildEnd([&] {
        ::signal(signal, SIG_IGN);
        HandleEndingSignals();
        ::kill(::getpid(), signal);
        ::_exit(7);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << status;
}

INSTANTIATE_TEST_SUITE_P(Signals, EndingSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

// ---- Owner, group and mode of a replaced file ----

TEST(ReplacedFileOwner, TheNewFileKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    struct Case {
        const char* how;
        std::function<std::string(const std::string& path)> replace;  // returns the file made
    };
    const Case cases[] = {
        {"a whole file replaced (demo --force)",
         [](const std::string& path) {
             auto target = FileReplacement::prepare(path);
             const std::uint8_t bytes[] = {4, 5};
             EXPECT_TRUE(target.ok() && target->commit(bytes, true).ok());
             return path;
         }},
        {"the backup of a map",
         [](const std::string& path) {
             auto source = SystemFile::open(path, Access::Read);
             EXPECT_TRUE(source.ok() && BackUpFile(*source, path + ".bak").ok());
             return path + ".bak";
         }},
    };
    for (const Case& c : cases) {
        testing::TempDir dir;
        const std::string path = dir.path("owned.map");
        testing::WriteBytes(path, {1, 2, 3});
        ASSERT_EQ(::chown(path.c_str(), 1234, 5678), 0);
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
        const std::string made = c.replace(path);
        struct stat status {};
        ASSERT_EQ(::stat(made.c_str(), &status), 0) << c.how;
        EXPECT_EQ(status.st_uid, 1234u) << c.how;
        EXPECT_EQ(status.st_gid, 5678u) << c.how;
        EXPECT_EQ(status.st_mode & 07777, 0640u) << c.how;
    }
}

}  // namespace
}  // namespace quorin
