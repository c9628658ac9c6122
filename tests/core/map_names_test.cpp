// SPDX-License-Identifier: GPL-3.0-or-later
// The stock names file: one name a line, a CR before the line end and a
// leading byte-order mark dropped, everything else that cannot be a header
// name refused with the line it is on; read once, bounded, never blocking.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "builder/DemoMap.h"
#include "map/MapNames.h"
#include "support/CliRun.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

// Eleven names, "n1" to "n11", joined by end; extra goes before the last.
std::string Eleven(const std::string& end = "\n", const std::string& extra = "") {
    std::string text;
    for (int i = 1; i <= 11; ++i) text += (i == 11 ? extra : "") + "n" + std::to_string(i) + end;
    return text;
}

// text in UTF-16 as a text editor may save it: a byte-order mark, then two
// bytes a character, low byte first.
std::string Utf16(const std::string& text) {
    std::string wide = "\xFF\xFE";
    for (const char c : text) wide += std::string{c, '\0'};
    return wide;
}

struct NamesCase {
    std::string label;
    std::string text;
    std::string says;  // empty: accepted, with "n1" first and "n11" last
};

void PrintTo(const NamesCase& c, std::ostream* os) { *os << c.label; }

class MapNamesText : public ::testing::TestWithParam<NamesCase> {};

TEST_P(MapNamesText, AcceptsOrSaysWhichLine) {
    const NamesCase& c = GetParam();
    const auto names = ParseMapNames(c.text, "names.txt");
    if (c.says.empty()) {
        ASSERT_TRUE(names.ok()) << MessageOf(names.error());
        ASSERT_EQ(names->size(), 11u);
        EXPECT_EQ(names->front(), "n1");
        EXPECT_EQ(names->back(), "n11");
        return;
    }
    ASSERT_FALSE(names.ok());
    EXPECT_NE(MessageOf(names.error()).find("\"names.txt\""), std::string::npos) << MessageOf(names.error());
    EXPECT_NE(MessageOf(names.error()).find(c.says), std::string::npos) << MessageOf(names.error());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MapNamesText,
    ::testing::Values(
        NamesCase{"LineFeeds", Eleven(), ""},
        NamesCase{"CarriageReturnLineFeeds", Eleven("\r\n"), ""},
        NamesCase{"NoLastLineEnd", Eleven().substr(0, Eleven().size() - 1), ""},
        NamesCase{"ByteOrderMark", "\xEF\xBB\xBF" + Eleven(), ""},
        // Only printable ASCII: a header name is matched byte for byte, and
        // these look like names that match.
        NamesCase{"Latin1Name", std::string(Eleven()).replace(Eleven().find("n5"), 2, "caf\xE9"),
                  "line 5: \"caf\\xE9\" holds the byte \\xE9, which is not printable ASCII"},
        NamesCase{"DoubledByteOrderMark", "\xEF\xBB\xBF\xEF\xBB\xBF" + Eleven(),
                  "line 1: \"\\xEF\\xBB\\xBFn1\" holds the byte \\xEF (a second byte-order mark?)"},
        NamesCase{"Utf16", Utf16(Eleven()), "line 1: \"\\xFF\\xFEn\\x001\\x00\" holds the byte \\xFF (is the file UTF-16?)"},
        NamesCase{"NoBreakSpace", Eleven("\n", "ash\xC2\xA0" "fall\n"),
                  "line 11: \"ash\\xC2\\xA0fall\" holds the byte \\xC2 (a no-break space?)"},
        NamesCase{"TrailingBlankLine", Eleven() + "\n", "line 12: the line is blank"},
        NamesCase{"BlankLineInside", "n0\n\n" + Eleven(), "line 2: the line is blank"},
        NamesCase{"LineOfSpaces", Eleven("\n", "  \n"), "line 11: the line is blank"},
        NamesCase{"TrailingSpace", Eleven("\n", "ashfall \n"), "line 11: \"ashfall \" begins or ends with a blank"},
        NamesCase{"LeadingTab", Eleven("\n", "\tashfall\n"), "line 11: \"\\x09ashfall\" begins or ends"},
        NamesCase{"DoubledCarriageReturn", Eleven("\r\r\n"), "line 1: \"n1\\x0D\" holds the control byte \\x0D (is the line end doubled?)"},
        NamesCase{"EscapeInName", Eleven("\n", "a\x1b[2Jb\n"), "line 11: \"a\\x1B[2Jb\" holds the control byte \\x1B"},
        NamesCase{"Ten", Eleven().substr(Eleven().find('\n') + 1), "exactly 11 names, one a line; it holds 10"},
        NamesCase{"Empty", "", "it holds 0"}),
    [](const auto& info) { return info.param.label; });

TEST(MapNamesFile, OnlyARegularFileOfAtMost64KiBIsRead) {
    testing::TempDir dir;
    const std::string fifo = dir.path("names.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = dir.path("big.txt");
    std::string padded = Eleven();
    padded.resize(kLongestMapNamesFile + 1, 'x');
    testing::WriteBytes(big, std::vector<std::uint8_t>(padded.begin(), padded.end()));
    const std::string exact = dir.path("exact.txt");
    std::string filled = Eleven("\n", std::string(kLongestMapNamesFile - Eleven().size() - 1, 'n') + "\n");
    testing::WriteBytes(exact, std::vector<std::uint8_t>(filled.begin(), filled.end()));
    ASSERT_EQ(std::filesystem::file_size(exact), kLongestMapNamesFile);

    // Each of these once blocked for a writer or read without end.
    for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/dev/urandom")}) {
        const auto names = ReadMapNamesFile(path);
        ASSERT_FALSE(names.ok()) << path;
        EXPECT_NE(MessageOf(names.error()).find("is not a regular file"), std::string::npos)
            << MessageOf(names.error());
    }
    const auto tooLong = ReadMapNamesFile(big);
    ASSERT_FALSE(tooLong.ok());
    EXPECT_NE(MessageOf(tooLong.error()).find("longer than 64 KiB"), std::string::npos) << MessageOf(tooLong.error());
    const auto filledUp = ReadMapNamesFile(exact);
    ASSERT_FALSE(filledUp.ok());
    EXPECT_NE(MessageOf(filledUp.error()).find("it holds 12"), std::string::npos) << MessageOf(filledUp.error());
}

TEST(MapNamesFile, TheCommandLineExitsTwoNamingTheLine) {
    testing::TempDir dir;
    const std::string names = dir.path("names.txt");
    const std::string text = Eleven("\n", "ashfall \n");
    testing::WriteBytes(names, std::vector<std::uint8_t>(text.begin(), text.end()));
    const std::string map = testing::WriteMap(dir, DemoMap());
    for (const std::string& environment : {std::string(), "QUORIN_MAP_NAMES='" + names + "' "}) {
        const auto run = environment.empty() ? testing::RunCli({"--map-names", names, "list", map})
                                             : testing::RunCli({"list", map}, environment);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(names + "\", line 11: \"ashfall \" begins or ends with a blank"), std::string::npos)
            << run.err;
    }
    // demo reads no map, so it reads no names file either.
    const std::string out = dir.path("demo.map");
    for (const std::string& environment : {std::string(), "QUORIN_MAP_NAMES='" + names + "' "}) {
        const auto demo = environment.empty() ? testing::RunCli({"--map-names", names, "demo", out, "--force"})
                                              : testing::RunCli({"demo", out, "--force"}, environment);
        EXPECT_EQ(demo.exitCode, 0) << demo.err;
        EXPECT_EQ(testing::ReadBytes(out), DemoMap().build());
    }
    const auto device = testing::RunCli({"--map-names", "/dev/zero", "list", map});
    EXPECT_EQ(device.exitCode, 2);
    EXPECT_NE(device.err.find("is not a regular file"), std::string::npos) << device.err;
}

}  // namespace
}  // namespace quorin
