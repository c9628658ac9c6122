// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli's grammar: options count only where the usage shows them, "--"
// ends them, and every other word is an argument, whatever it begins with.

#include <gtest/gtest.h>

#include <filesystem>

#include "builder/DemoMap.h"
#include "map/MapNames.h"
#include "support/CliRun.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A row: the words (MAP, OUT and NAMES stand for files of the fixture), the
// exit code, a piece of stderr or stdout, and what the files hold after.
struct GrammarCase {
    std::string label;
    std::vector<std::string> words;
    int exitCode;
    std::string says;            // found on stderr, or on stdout when exiting 0 without a map message
    std::string firstScript;     // script 0's name in MAP afterwards
    bool outIsDemo = false;      // OUT was replaced by the demo map (else kept as it was)
};

void PrintTo(const GrammarCase& c, std::ostream* os) { *os << c.label; }

// The demo map with names that look like options.
MapBuilder OptionLikeNames() {
    MapBuilder map = DemoMap();
    map.scripts[0].Name = "-h";
    map.globals[0].Name = "--force";
    return map;
}

class CliGrammar : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(CliGrammar, TakesOptionsOnlyWhereTheUsageShowsThem) {
    const GrammarCase& c = GetParam();
    testing::TempDir dir;
    const std::string map = testing::WriteMap(dir, OptionLikeNames(), "map.map");
    const std::string out = dir.path("out.map");
    const Bytes old = {1, 2, 3};
    testing::WriteBytes(out, old);
    const std::string names = dir.path("names.txt");
    {
        std::string text;
        for (const std::string& name : BuiltInMapNames()) text += name + "\n";
        testing::WriteBytes(names, Bytes(text.begin(), text.end()));
    }
    std::vector<std::string> words = c.words;
    for (std::string& word : words) {
        if (word == "MAP") word = map;
        if (word == "OUT") word = out;
        if (word == "NAMES") word = names;
    }

    const auto run = testing::RunCli(words, "env -u QUORIN_MAP_NAMES ");
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE((run.err + run.out).find(c.says), std::string::npos) << "stderr: " << run.err << "stdout: " << run.out;
    if (c.exitCode == 2) {
        EXPECT_EQ(run.out, "");
    }

    const auto listed = testing::RunCli({"list", map});
    EXPECT_EQ(listed.out.substr(0, listed.out.find('\n')), "s: " + c.firstScript);
    EXPECT_EQ(testing::ReadBytes(out), c.outIsDemo ? DemoMap().build() : old);
    EXPECT_FALSE(std::filesystem::exists("--force"));
}

INSTANTIATE_TEST_SUITE_P(
    Words, CliGrammar,
    ::testing::Values(
        // A VALUE is written whatever it looks like.
        GrammarCase{"ValueDashH", {"set", "MAP", "script", "-h", "Name", "-h2"}, 0, "Map loaded!", "-h2"},
        GrammarCase{"ValueForce", {"set", "MAP", "script", "-h", "Name", "--force"}, 0, "", "--force"},
        GrammarCase{"ValueMapNames", {"set", "MAP", "script", "-h", "Name", "--map-names"}, 0, "", "--map-names"},
        GrammarCase{"ValueAfterEndOfOptions", {"set", "MAP", "script", "--", "-h", "Name", "-x"}, 0, "", "-x"},
        GrammarCase{"ValueIsTheMarker", {"--", "set", "MAP", "script", "-h", "Name", "--"}, 0, "", "--"},
        GrammarCase{"NegativeNumberValue", {"set", "MAP", "global", "--force", "ExpPointer", "-3"}, 0, "", "-h"},
        // A name that looks like an option is addressed as it is.
        GrammarCase{"ScriptNamedDashH", {"script", "MAP", "-h"}, 0, "(script static void -h", "-h"},
        GrammarCase{"ScriptNamedDashHAfterMarker", {"script", "MAP", "--", "-h"}, 0, "(script static void -h", "-h"},
        GrammarCase{"GlobalNamedForce", {"global", "MAP", "--force"}, 0, "--force", "-h"},
        // quorin-cli's own options go before COMMAND.
        GrammarCase{"Help", {"--help"}, 0,
                    "usage: quorin-cli [--map-names FILE] [--json] [--backup] [--max-output SIZE] [--] COMMAND", "-h"},
        GrammarCase{"ShortHelp", {"-h", "list", "MAP"}, 0, "\n  demo OUT [--force]\n", "-h"},
        // The commands as the table lists them: writes, searches, facts, texts.
        GrammarCase{"HelpListsCommandsInOrder", {"--help"}, 0,
                    "commands:\n  set MAP script|global|node NAME|IDENTITY FIELD VALUE\n  protect MAP\n"
                    "  apply MAP script|global NAME FILE [--dry-run]\n"
                    "  find MAP QUERY\n  diff OLD NEW [--stat]\n  info MAP\n  list MAP\n  demo OUT [--force]\n"
                    "  script MAP NAME\n  global MAP NAME\n  extract-scripts MAP FIRST LAST\n"
                    "  extract-globals MAP FIRST LAST\n  extract-all MAP\n  database MAP\noptions:\n",
                    "-h"},
        // --version answers alone, like --help: the command after it is not run.
        GrammarCase{"Version", {"--version", "list", "MAP"}, 0, "\nLicence GPL-3.0-or-later: ", "-h"},
        GrammarCase{"VersionAfterCommand", {"list", "MAP", "--version"}, 2, "quorin-cli's own options go before COMMAND",
                    "-h"},
        GrammarCase{"NamesBeforeCommand", {"--map-names", "NAMES", "list", "MAP"}, 0, "s: -h\n", "-h"},
        GrammarCase{"UnknownOption", {"--frobnicate", "list", "MAP"}, 2, "unknown option \"--frobnicate\"", "-h"},
        GrammarCase{"OptionWithoutValue", {"--map-names"}, 2, "--map-names needs FILE", "-h"},
        GrammarCase{"MaxOutputWithoutSize", {"--max-output"}, 2, "--max-output needs SIZE", "-h"},
        GrammarCase{"MaxOutputNotASize", {"--max-output", "1GB", "list", "MAP"}, 2,
                    "--max-output takes a size in bytes, such as 1000, 64K, 512M or 1G (0 for no limit), not \"1GB\"",
                    "-h"},
        GrammarCase{"MaxOutputAfterCommand", {"list", "MAP", "--max-output", "1K"}, 2,
                    "quorin-cli's own options go before COMMAND", "-h"},
        GrammarCase{"MaxOutputSize", {"--max-output", "2K", "list", "MAP"}, 0, "s: -h\n", "-h"},
        GrammarCase{"JsonAfterCommand", {"list", "MAP", "--json"}, 2, "quorin-cli's own options go before COMMAND",
                    "-h"},
        GrammarCase{"DashHAfterArguments", {"list", "MAP", "-h"}, 2, "\"-h\" is not an option of list", "-h"},
        GrammarCase{"JsonOfAPlainCommand", {"--json", "extract-all", "MAP"}, 2, "--json works with find, diff, info, list, script, global, database, not with extract-all", "-h"},
        GrammarCase{"NoCommand", {"--json"}, 2, "no command given", "-h"},
        GrammarCase{"UnknownCommand", {"--", "-h"}, 2, "unknown command \"-h\"", "-h"},
        // A command's own options go after its arguments.
        GrammarCase{"DemoForce", {"demo", "OUT", "--force"}, 0, "", "-h", true},
        // demo reads no map, so no stock names either.
        GrammarCase{"DemoReadsNoNames", {"--map-names", "/dev/zero", "demo", "OUT", "--force"}, 0, "", "-h", true},
        GrammarCase{"DemoWithoutForce", {"demo", "OUT"}, 1, "exists already; give --force", "-h"},
        GrammarCase{"DemoForceFirst", {"demo", "--force", "OUT"}, 2, "--force goes after the arguments", "-h"},
        GrammarCase{"DemoForceAlone", {"demo", "--force"}, 2, "--force goes after the arguments", "-h"},
        GrammarCase{"DemoMisspelledForce", {"demo", "OUT", "--forse"}, 2, "\"--forse\" is not an option of demo",
                    "-h"},
        GrammarCase{"DemoArgumentAfterForce", {"demo", "OUT", "--force", "x"}, 2, "no argument may follow --force",
                    "-h"},
        GrammarCase{"DemoForceAfterMarker", {"--", "demo", "OUT", "--force"}, 2, "usage: quorin-cli demo OUT", "-h"}),
    [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace quorin
