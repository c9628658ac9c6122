// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli on a terminal shows every control byte but the line feed as
// \xHH, so a name from a map cannot move the cursor or start a sequence;
// files and pipes still get every byte as it is.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "app/cli/TerminalOutput.h"
#include "builder/DemoMap.h"
#include "support/CliRun.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

std::string ThroughTerminalStream(const std::string& bytes, bool terminal, bool utf8 = false) {
    std::ostringstream target;
    {
        const cli::TerminalEscaping escaping(target, terminal);
        std::streambuf* installed = static_cast<std::ostream&>(target).rdbuf();
        if (auto* buffer = dynamic_cast<cli::ControlEscapingBuffer*>(installed); buffer && utf8) buffer->carryUtf8();
        target << bytes;
        target.put('\x07');
        target.write("\r\n", 2);
    }
    return target.str();
}

TEST(CliTerminal, EscapesControlBytesButTheLineFeed) {
    struct Case {
        std::string in;
        std::string shown;
    };
    const Case cases[] = {
        {"plain text\n", "plain text\n"},
        {"s: x\ns: forged", "s: x\ns: forged"},
        {"\x1b[2J\x1b]0;owned\x07", "\\x1B[2J\\x1B]0;owned\\x07"},
        {"tab\there", "tab\\x09here"},
        {std::string("nul\0byte", 8), "nul\\x00byte"},
        {"del\x7f caf\xE9", "del\\x7F caf\xE9"},
        {"\\x41 stays", "\\x41 stays"},
        // 0x9B starts a sequence as ESC [ does; 0x80 to 0x9F are all controls.
        {"\x9b" "2J\x9d" "0;owned\x9c", "\\x9B2J\\x9D0;owned\\x9C"},
        {"\x80\x85\x9f\xa0\xff", "\\x80\\x85\\x9F\xa0\xff"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ThroughTerminalStream(c.in, true), c.shown + "\\x07\\x0D\n") << c.in;
        EXPECT_EQ(ThroughTerminalStream(c.in, false), c.in + "\x07\r\n") << c.in;
    }
}

// A JSON document is UTF-8: its characters from U+00A0 up stay whole on a
// terminal, while a byte that continues no character, or one encoding a
// control from U+0080 to U+009F, is still shown as \xHH.
TEST(CliTerminal, KeepsTheCharactersOfUtf8) {
    struct Case {
        std::string in;
        std::string shown;
    };
    const Case cases[] = {
        {"\"\xC3\x80\xC3\x9B\xC2\xA0\xE2\x80\x94\"", "\"\xC3\x80\xC3\x9B\xC2\xA0\xE2\x80\x94\""},
        {"lone \x9b" "2J", "lone \\x9B2J"},
        {"c1 \xC2\x9b" "2J", "c1 \xC2\\x9B2J"},
        {"cut \xC3\x1b[m", "cut \xC3\\x1B[m"},
    };
    for (const Case& c : cases) EXPECT_EQ(ThroughTerminalStream(c.in, true, true), c.shown + "\\x07\\x0D\n") << c.in;
}

TEST(CliTerminal, OnARealTerminalNothingRawGetsThrough) {
    if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1) for a pty";
    testing::TempDir dir;
    MapBuilder forged = DemoMap();
    forged.scripts[0].Name = "x\ns: forged";
    forged.globals[0].Name = "\x1b]0;owned\x07";
    forged.globals[1].Name = "\x9b" "2Jcsi";
    const std::string map = testing::WriteMap(dir, forged);

    // Through a pipe: every byte as the map holds it.
    const auto piped = testing::RunCli({"list", map});
    EXPECT_NE(piped.out.find("s: x\ns: forged\n"), std::string::npos);
    EXPECT_NE(piped.out.find("g: \x1b]0;owned\x07\n"), std::string::npos);

    // Through a pty: stdout and stderr are the terminal.
    const std::string shown = dir.path("shown.txt");
    const std::string command = "script -qec \"'" + std::string(QUORIN_CLI_PATH) + "' list '" + map +
                                "'\" /dev/null >'" + shown + "' 2>&1 </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    const auto bytes = testing::ReadBytes(shown);
    std::string text(bytes.begin(), bytes.end());
    // The terminal itself turns each line feed into CR LF.
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
    // The line feed stays raw on a terminal too: only --json tells a name
    // holding one from two rows.
    EXPECT_NE(text.find("s: x\ns: forged\n"), std::string::npos) << text;
    EXPECT_NE(text.find("g: \\x1B]0;owned\\x07\n"), std::string::npos) << text;
    EXPECT_NE(text.find("g: \\x9B2Jcsi\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Map loaded!\n"), std::string::npos) << text;
    for (const char byte : text) {
        const auto value = static_cast<unsigned char>(byte);
        EXPECT_TRUE(byte == '\n' || (value >= 32 && value != 127 && (value < 0x80 || value > 0x9F))) << int(value);
    }
}

}  // namespace
}  // namespace quorin
