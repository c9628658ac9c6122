// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli apply and --json script|global, for their own contract: exit
// codes and messages, the dry run's lines, standard input, the backup, and
// the text printed afterwards. The bytes each token writes are the core
// tests' (text_edit_test).

#include <gtest/gtest.h>

#include <fstream>

#include "builder/DemoMap.h"
#include "support/CliRun.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

using testing::RunCli;

struct Demo {
    testing::TempDir dir;
    std::string map = testing::WriteMap(dir, DemoMap(), "demo.map");
    std::vector<std::uint8_t> bytes = testing::ReadBytes(map);

    std::string file(const std::string& name, const std::string& text) const {
        const std::string path = dir.path(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    bool unchanged() const { return testing::ReadBytes(map) == bytes; }
};

constexpr const char* kPatrol = "(script static void patrol_loop\n(begin\n( sleep 30)\n( set x( abs 5))\n))";

struct ExitRow {
    const char* what;
    std::vector<std::string> args;  // MAP and FILE stand for the demo map and the edited file
    const char* edited;
    int exitCode;
    const char* says;  // part of stderr
};

std::vector<std::string> Words(const Demo& demo, const std::vector<std::string>& args, const std::string& file) {
    std::vector<std::string> words;
    for (const std::string& arg : args) words.push_back(arg == "MAP" ? demo.map : arg == "FILE" ? file : arg);
    return words;
}

TEST(ApplyCli, ExitCodesAndMessages) {
    const ExitRow rows[] = {
        {"written", {"apply", "MAP", "script", "patrol_loop", "FILE"}, "( sleep 60)", 0, "1 field written"},
        {"nothing to write", {"apply", "MAP", "script", "patrol_loop", "FILE"}, "( sleep 30)", 0, "nothing to write"},
        {"refused text", {"apply", "MAP", "script", "patrol_loop", "FILE"}, "( sleep x)", 1, "FILE:3:9: \"x\" is not a number"},
        {"refused dry run", {"apply", "MAP", "script", "patrol_loop", "FILE", "--dry-run"}, "(sleep 30)", 1,
         "FILE:3:2: fixed text changed"},
        {"unknown name", {"apply", "MAP", "script", "nobody", "FILE"}, "( sleep 60)", 1, "has no script \"nobody\""},
        {"a global's name as a script's", {"apply", "MAP", "script", "vault_open", "FILE"}, "( sleep 60)", 1, "has no script"},
        {"map that does not load", {"apply", "FILE", "script", "patrol_loop", "FILE"}, "( sleep 60)", 1, "not a Vexa map"},
        {"missing file", {"apply", "MAP", "script", "patrol_loop", "/nonexistent/edited.txt"}, "", 1, "does not exist"},
        {"node kind", {"apply", "MAP", "node", "103", "FILE"}, "", 2, "script or global, not \"node\""},
        {"too few arguments", {"apply", "MAP", "script", "patrol_loop"}, "", 2, "usage: quorin-cli apply"},
        {"dry run before the arguments", {"apply", "--dry-run", "MAP", "script", "patrol_loop", "FILE"}, "", 2,
         "goes after the arguments"},
    };
    for (const ExitRow& row : rows) {
        Demo demo;
        std::string edited = kPatrol;
        edited.replace(edited.find("( sleep 30)"), 11, row.edited);
        const std::string file = demo.file("edited.txt", edited);
        const auto run = RunCli(Words(demo, row.args, file));
        EXPECT_EQ(run.exitCode, row.exitCode) << row.what << ": " << run.err;
        std::string says = row.says;
        if (says.starts_with("FILE")) says.replace(0, 4, file);
        EXPECT_NE(run.err.find(says), std::string::npos) << row.what << ": " << run.err;
        EXPECT_EQ(run.out, "") << row.what;
        EXPECT_EQ(demo.unchanged(), row.exitCode != 0 || row.edited == std::string("( sleep 30)")) << row.what;
    }
}

TEST(ApplyCli, DryRunPrintsOneLinePerFieldAndWritesNothing) {
    Demo demo;
    const std::string file =
        demo.file("edited.txt", "(script stub short patrol\n(begin\n( sleep 30)\n( set x( abs 6))\n))\n");
    const auto run = RunCli({"apply", demo.map, "script", "patrol_loop", file, "--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(demo.unchanged());
    const std::vector<std::string> lines = {
        "\tscript \"patrol_loop\" Type: static -> stub",
        "\tscript \"patrol_loop\" ReturnType: void -> short",
        "\tscript \"patrol_loop\" Name: \"patrol_loop\" -> \"patrol\"",
        "\tnode 109 value: 5 -> 6",
    };
    std::size_t at = 0;
    for (const std::string& line : lines) {
        // "0x", lowercase hexadecimal digits, then the change in words.
        ASSERT_EQ(run.out.compare(at, 2, "0x"), 0) << run.out;
        const std::size_t tab = run.out.find('\t', at);
        ASSERT_NE(tab, std::string::npos);
        EXPECT_EQ(run.out.find_first_not_of("0123456789abcdef", at + 2), tab) << run.out;
        const std::size_t end = run.out.find('\n', tab);
        EXPECT_EQ(run.out.substr(tab, end - tab), line);
        at = end + 1;
    }
    EXPECT_EQ(at, run.out.size());
}

TEST(ApplyCli, StandardInputAndTheTextPrintedAfterwards) {
    Demo demo;
    // Numbers as typed; the map prints them as it prints numbers.
    const std::string input = demo.file("in.txt", "(global short guard_count_2 +0012)\n");
    const auto run = RunCli({"--backup", "apply", demo.map, "global", "guard_count", "-"}, "", input);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(testing::ReadBytes(demo.map + ".bak"), demo.bytes);
    const auto shown = RunCli({"global", demo.map, "guard_count_2"});
    EXPECT_EQ(shown.out, "(global short guard_count_2 12)\n");

    // A refusal from standard input names it "-".
    const std::string refused = demo.file("refused.txt", "(global short guard_count_2 12");
    const auto again = RunCli({"apply", demo.map, "global", "guard_count_2", "-"}, "", refused);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("-:1:31: fixed text changed: expected \")\""), std::string::npos) << again.err;
}

TEST(ApplyCli, JsonGivesEveryPartWithItsField) {
    Demo demo;
    const auto run = RunCli({"--json", "global", demo.map, "vault_open"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find(",\"parts\"")),
              "{\"text\":\"(global boolean vault_open false)\",\"complete\":true");
    // The value: a node's field, with the node's identity.
    EXPECT_NE(run.out.find("{\"kind\":\"global value\",\"from\":27,\"text\":\"false\",\"field\":\"ScriptValue\","
                           "\"offset\":"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(",\"width\":2,\"node\":149}"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"kind\":\"fixed text\",\"from\":0,\"text\":\"(global \"}"), std::string::npos);
    EXPECT_EQ(RunCli({"--json", "script", demo.map, "nobody"}).exitCode, 1);
}

}  // namespace
}  // namespace quorin
