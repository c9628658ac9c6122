// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>

#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "builder/DemoMap.h"
#include "fixtures/HostileMaps.h"
#include "script/Decompiler.h"
#include "support/TempMap.h"
#include "support/WholeText.h"

namespace quorin {
namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

CliRun RunCli(const testing::TempDir& dir, const std::string& arguments) {
    const std::string out = dir.path("stdout"), err = dir.path("stderr");
    const std::string command =
        std::string("'") + QUORIN_CLI_PATH + "' " + arguments + " >'" + out + "' 2>'" + err + "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, AsText(testing::ReadBytes(out)),
            AsText(testing::ReadBytes(err))};
}

class TextCommands : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = testing::WriteMap(dir_, DemoMap(), "demo.map");
        testing::CollectedMessages messages;
        ASSERT_TRUE(testing::Load(map_, path_, messages));
    }
    CliRun run(const std::string& arguments) { return RunCli(dir_, arguments); }
    std::string quoted() const { return "'" + path_ + "'"; }

    testing::TempDir dir_;
    std::string path_;
    MapState map_;
};

TEST_F(TextCommands, ScriptAndGlobalPrintTheTextAndALineEnd) {
    CliRun script = run("script " + quoted() + " patrol_loop");
    EXPECT_EQ(script.exitCode, 0);
    EXPECT_EQ(script.out, "(script static void patrol_loop\n(begin\n( sleep 30)\n( set x( abs 5))\n))\n");

    CliRun global = run("global " + quoted() + " briefing_line");
    EXPECT_EQ(global.exitCode, 0);
    EXPECT_EQ(global.out, "(global string briefing_line 0)\n");

    for (const char* command : {"script", "global"}) {
        CliRun unknown = run(std::string(command) + " " + quoted() + " no_such_name");
        EXPECT_EQ(unknown.exitCode, 1) << command;
        EXPECT_EQ(unknown.out, "") << command;
        EXPECT_NE(unknown.err.find("no_such_name"), std::string::npos) << command;
    }
}

TEST_F(TextCommands, OutputMatchesTheResultTexts) {
    struct Case {
        std::string arguments;
        std::string out;
    };
    const std::string all = testing::ExtractAllWhole(ExtractionSnapshot(map_)).text;
    std::string database;
    for (const std::string& line : testing::CommandDatabaseWhole(map_.SyntaxCache).lines) database += line;
    const Case cases[] = {
        {"extract-scripts " + quoted() + " 1 2", ScriptRangeText(map_, 1, 2)},
        {"extract-scripts " + quoted() + " 4 99", ScriptRangeText(map_, 4, 5)},
        {"extract-scripts " + quoted() + " 3 3", ScriptRangeText(map_, 3, 3)},
        {"extract-globals " + quoted() + " 0 5", GlobalRangeText(map_, 0, 5)},
        {"extract-globals " + quoted() + " 9 12", ""},
        {"extract-all " + quoted(), all},
        {"database " + quoted(), database},
    };
    for (const Case& row : cases) {
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.exitCode, 0) << row.arguments;
        EXPECT_EQ(result.out, row.out) << row.arguments;
        // A range run ends as its window does, with "done".
        const bool range = row.arguments.starts_with("extract-scripts") || row.arguments.starts_with("extract-globals");
        EXPECT_EQ(result.err.ends_with("Map loaded!\ndone\n"), range) << row.arguments << result.err;
    }
    EXPECT_NE(all.find("(script dormant void open_vault)\n(begin\n( set 0 -1200)\n vault_open_sequence("),
              std::string::npos);
    EXPECT_NE(database.find("CommandDictionary.value(\"sleep\") = 12\n"), std::string::npos);
}

TEST_F(TextCommands, ExtractAllAndDatabaseReportOnStderr) {
    const CliRun all = run("extract-all " + quoted());
    EXPECT_TRUE(std::regex_search(all.err, std::regex("The extraction is done\\.\n"
                                                      "6 globals were extracted, 6 scripts were extracted, and "
                                                      "[0-9]+ syntax parts extracted\\.\n"
                                                      "This proccess took [0-9]+(\\.[0-9]+)? seconds\\.\n$")))
        << all.err;
    const CliRun database = run("database " + quoted());
    const std::string processed = std::to_string(map_.SyntaxCache.size());
    EXPECT_TRUE(std::regex_search(database.err, std::regex(processed + " proccessed, and 9 were added\\. "
                                                           "This took [0-9]+(\\.[0-9]+)? seconds\n$")))
        << database.err;
}

// Output that cannot be written is a failure, whether it fails while the
// text is made or only when the last of it leaves at the end.
TEST_F(TextCommands, OutputToAFullDeviceFails) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full here";
    const std::string err = dir_.path("full.err");
    for (const std::string command : {"info", "list", "extract-all", "database", "script"}) {
        const std::string arguments = command + " " + quoted() + (command == "script" ? " intro" : "");
        const std::string line =
            std::string("'") + QUORIN_CLI_PATH + "' " + arguments + " >/dev/full 2>'" + err + "' </dev/null";
        const int status = std::system(line.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 1) << command;
        EXPECT_NE(AsText(testing::ReadBytes(err)).find("stdout failed"), std::string::npos) << command;
    }
}

// A small map can ask for gigabytes of text: stdout takes at most
// --max-output bytes (1 GiB unless given), and a command stopped there says
// which limit stopped it and exits 1, whether or not it looks at its writes.
TEST_F(TextCommands, OutputStopsAtItsLimit) {
    const std::string wide = "'" + testing::WriteMap(dir_, WideWalkMap(300, 3000), "wide.map") + "'";
    const std::string texts = "'" + testing::WriteMap(dir_, LongNodeTextsMap(40, 64 * 1024), "texts.map") + "'";
    const CliRun whole = run("--max-output 0 extract-all " + wide);
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    ASSERT_GT(whole.out.size(), 1u << 20);
    struct Case {
        std::string arguments;
        std::size_t kept;     // bytes on stdout
        std::string limit;    // as the message names it; empty when nothing stopped
    };
    const Case cases[] = {
        {"--max-output 64K extract-all " + wide, 64 * 1024, "64 KiB"},
        {"--max-output 1000 script " + wide + " walker_7", 1000, "1000 bytes"},
        {"--max-output 1000 database " + texts, 1000, "1000 bytes"},
        {"--max-output 1M extract-scripts " + wide + " 0 299", 1024 * 1024, "1 MiB"},
        {"--max-output 100 list " + wide, 100, "100 bytes"},
        {"--max-output 100 --json list " + wide, 100, "100 bytes"},
        {"--max-output 4M extract-all " + wide, whole.out.size(), ""},
    };
    for (const Case& row : cases) {
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.out.size(), row.kept) << row.arguments;
        if (row.limit.empty()) {
            EXPECT_EQ(result.exitCode, 0) << row.arguments << result.err;
            continue;
        }
        EXPECT_EQ(result.exitCode, 1) << row.arguments;
        EXPECT_NE(result.err.find("the output reached its limit of " + row.limit), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("failed"), std::string::npos) << result.err;
    }
    EXPECT_EQ(run("--max-output 64K extract-all " + wide).out, whole.out.substr(0, 64 * 1024));

    // Unless given, the limit is 1 GiB: a map of 1.5 MiB asks for 1.5 GiB.
    const std::string longTexts = testing::WriteMap(dir_, LongNodeTextsMap(1500, 1 << 20), "long.map");
    ASSERT_LT(testing::ReadBytes(longTexts).size(), 2u << 20);
    const std::string err = dir_.path("long.err");
    const std::string line = std::string("'") + QUORIN_CLI_PATH + "' extract-all '" + longTexts + "' >/dev/null 2>'" +
                             err + "' </dev/null";
    const int status = std::system(line.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(AsText(testing::ReadBytes(err)).find("the output reached its limit of 1 GiB"), std::string::npos)
        << AsText(testing::ReadBytes(err));
}

TEST_F(TextCommands, RefusedMapsAndBadNumbers) {
    testing::WriteBytes(dir_.path("junk.map"), std::vector<std::uint8_t>(64, 0x41));
    const std::string junk = "'" + dir_.path("junk.map") + "'";
    struct Case {
        std::string arguments;
        int exitCode;
    };
    const Case cases[] = {
        {"script " + junk + " patrol_loop", 1},
        {"extract-all " + junk, 1},
        {"database " + junk, 1},
        {"extract-scripts " + junk + " 0 1", 1},
        {"extract-scripts " + quoted() + " 0 one", 2},
        {"extract-globals " + quoted() + " 1.5 2", 2},
        {"extract-globals " + quoted() + " '' 2", 2},
        {"extract-globals " + quoted() + " 0", 2},
        {"extract-globals " + quoted() + " -100 5", 2},
        {"extract-globals " + quoted() + " -1 3", 2},
        {"extract-scripts " + quoted() + " 3 2", 2},
        {"extract-scripts " + junk + " 5 4", 2},
        {"database", 2},
    };
    for (const Case& row : cases) {
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.arguments;
        EXPECT_EQ(result.out, "") << row.arguments;
        EXPECT_FALSE(result.err.empty()) << row.arguments;
        EXPECT_EQ(result.err.find("done"), std::string::npos) << row.arguments;
    }
    EXPECT_NE(run("extract-globals " + quoted() + " -100 5").err.find("0 or more"), std::string::npos);
    EXPECT_NE(run("extract-scripts " + quoted() + " 3 2").err.find("FIRST (3) lies past LAST (2)"), std::string::npos);
}

}  // namespace
}  // namespace quorin
