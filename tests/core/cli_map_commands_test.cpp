// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli info, list and demo, the stock names options and usage errors.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "builder/DemoMap.h"
#include "map/MapNames.h"
#include "base/TextFormat.h"
#include "support/CliRun.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using testing::RunCli;

// A sparse map of 5 GiB, a few kilobytes on disk, whose global count asks
// for gigabytes of records: on a system with less memory the load is
// refused with a message and exit 1, never an abort.
TEST(CliMapCommands, AHugeCountOnTooLittleMemoryIsRefused) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
    testing::TempDir dir;
    const std::string path = testing::WriteSparseMap(dir, testing::HugeCountMap(), testing::kHugeCountFileSize);
    const auto run = RunCli({"info", path}, "ulimit -v 1048576; ");
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("not enough memory to load \"" + path + "\" (5368709120 bytes)"), std::string::npos)
        << run.err;
#endif
}

TEST(CliMapCommands, DemoWritesTheBuiltInMapAndRefusesToOverwrite) {
    testing::TempDir dir;
    const std::string path = dir.path("demo.map");
    auto first = RunCli({"demo", path});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(testing::ReadBytes(path), DemoMap().build());

    testing::WriteBytes(path, {1, 2, 3});
    auto again = RunCli({"demo", path});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos);
    EXPECT_EQ(testing::ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(RunCli({"demo", path, "--force"}).exitCode, 0);
    EXPECT_EQ(testing::ReadBytes(path), DemoMap().build());
}

TEST(CliMapCommands, DemoReplacesOnlyARegularFileAndOnlyWhenAllIsWritten) {
    testing::TempDir dir;
    const std::string fifo = dir.path("fifo.map");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string regular = dir.path("old.map");
    const std::vector<std::uint8_t> old(8192, 0xAB);
    testing::WriteBytes(regular, old);
    const std::string link = dir.path("link.map");
    std::filesystem::create_symlink(regular, link);
    const std::string readOnly = dir.path("readonly.map");
    testing::WriteBytes(readOnly, old);
    std::filesystem::permissions(readOnly, std::filesystem::perms(0444));

    struct Case {
        std::string out;
        std::string says;
    };
    // A FIFO once blocked the open for a reader; /dev/null took the map and
    // reported success.
    for (const Case& c : {Case{fifo, "it is not a regular file"}, Case{"/dev/null", "it is not a regular file"},
                          Case{link, "it is not a regular file"}, Case{dir.path(""), "it is not a regular file"},
                          Case{readOnly, "the file is read-only"}}) {
        const auto run = RunCli({"demo", c.out, "--force"}, "timeout 20 ");
        EXPECT_EQ(run.exitCode, 1) << c.out;
        EXPECT_NE(run.err.find("Can't write to \"" + c.out + "\": " + c.says), std::string::npos) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testing::ReadBytes(regular), old);
    EXPECT_EQ(testing::ReadBytes(readOnly), old);

    // A write that fails part way (the file size limit stands in for a full
    // disk) leaves the older map whole and no temporary file behind.
    const auto full = RunCli({"demo", regular, "--force"}, "trap '' XFSZ; ulimit -f 2; ");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("File too large"), std::string::npos) << full.err;
    EXPECT_EQ(testing::ReadBytes(regular), old);
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path("")), {});
    EXPECT_EQ(entries, 4);  // the four files made above

    // Replacing keeps the permission bits of the map replaced.
    std::filesystem::permissions(regular, std::filesystem::perms(0640));
    EXPECT_EQ(RunCli({"demo", regular, "--force"}).exitCode, 0);
    EXPECT_EQ(testing::ReadBytes(regular), DemoMap().build());
    EXPECT_EQ(std::filesystem::status(regular).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0640));
}

TEST(CliMapCommands, InfoAndListPrintResultsOnStdoutAndMessagesOnStderr) {
    testing::TempDir dir;
    const MapBuilder demo = DemoMap();
    const std::string path = testing::WriteMap(dir, demo);
    const MapLayout at = demo.layout();

    auto list = RunCli({"list", path});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.err, "Map loaded!\n");
    std::string expected;
    for (const auto& script : demo.scripts) expected += "s: " + script.Name.str() + "\n";
    for (const auto& global : demo.globals) expected += "g: " + global.Name.str() + "\n";
    EXPECT_EQ(list.out, expected);

    auto info = RunCli({"info", path});
    EXPECT_EQ(info.exitCode, 0);
    for (const std::string line : {"version: 7\n", "index offset: 0x800\n", "magic: 0x3F000000\n",
                                   "scripts: 6\n", "globals: 6\n", "syntax nodes: 54\n"}) {
        EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;
    }
    EXPECT_NE(info.out.find("scenario offset: 0x" + Hexadecimal(at.scenario) + "\n"), std::string::npos);
}

TEST(CliMapCommands, RefusedMapsExitOneAndPrintNothing) {
    testing::TempDir dir;
    MapBuilder versioned = DemoMap();
    versioned.version = 609;
    auto refused = RunCli({"list", testing::WriteMap(dir, versioned)});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "cant load |1|\n");

    auto missing = RunCli({"info", dir.path("none.map")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
}

TEST(CliMapCommands, StockNamesComeFromAFileOfExactlyElevenNames) {
    testing::TempDir dir;
    MapBuilder custom = DemoMap();
    custom.mapName = "my_level";
    const std::string map = testing::WriteMap(dir, custom);
    const std::string names = dir.path("names.txt");
    {
        std::ofstream out(names);
        for (int i = 0; i < 10; ++i) out << "level" << i << "\r\n";
        out << "MY_LEVEL\n";
    }
    EXPECT_EQ(RunCli({"list", map}).err, "Cant load |2|\n");
    EXPECT_EQ(RunCli({"--map-names", names, "list", map}).exitCode, 0);
    EXPECT_EQ(RunCli({"list", map}, "QUORIN_MAP_NAMES='" + names + "' ").exitCode, 0);

    const std::string short_ = dir.path("short.txt");
    std::ofstream(short_) << "one\ntwo\n";
    auto bad = RunCli({"--map-names", short_, "list", map});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("exactly 11 names"), std::string::npos) << bad.err;
    EXPECT_FALSE(ReadMapNamesFile(dir.path("absent.txt")).ok());
}

TEST(CliMapCommands, UsageErrorsExitTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"nonsense"}, {"list"}, {"list", "a", "b"}, {"--map-names"}, {"--x", "list", "a"}}) {
        auto outcome = RunCli(args);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("usage: quorin-cli"), std::string::npos);
    }
}

}  // namespace
}  // namespace quorin
