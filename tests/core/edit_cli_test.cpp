// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "edit/FieldWriteBack.h"
#include "edit/MapProtection.h"
#include "support/EditFixture.h"

namespace quorin {
namespace {

using testing::ReadBytes;
using Bytes = std::vector<std::uint8_t>;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliRun RunCli(const testing::TempDir& dir, const std::vector<std::string>& words) {
    std::string command = "env -u QUORIN_MAP_NAMES " + Quoted(QUORIN_CLI_PATH);
    for (const std::string& word : words) command += " " + Quoted(word);
    command += " >" + Quoted(dir.path("out.txt")) + " 2>" + Quoted(dir.path("err.txt")) + " </dev/null";
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = FileText(dir.path("out.txt"));
    run.err = FileText(dir.path("err.txt"));
    return run;
}

// A set command and the desktop commit it stands for.
struct SetCase {
    std::string label;
    std::vector<std::string> words;  // after "set MAP"
    EditField field;
    std::string text;
    int item;
    int position;  // of the record the commit shows
};

void PrintTo(const SetCase& c, std::ostream* os) { *os << c.label; }

class CliSet : public ::testing::TestWithParam<SetCase> {};

TEST_P(CliSet, WritesExactlyWhatTheDesktopCommitWrites) {
    const SetCase& c = GetParam();
    testing::TempDir dir;
    const testing::EditFixture cli = testing::WriteEditFixture(dir, "cli.map");
    const testing::EditFixture desktop = testing::WriteEditFixture(dir, "desktop.map");

    std::vector<std::string> words = {"set", cli.path};
    words.insert(words.end(), c.words.begin(), c.words.end());
    const CliRun run = RunCli(dir, words);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");

    MapState state;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(state, desktop.path, messages));
    const LoadedRecord shown = state.recordAt(static_cast<std::size_t>(c.position));
    const bool popup = c.field >= EditField::ScriptType;
    Status committed = success();
    switch (c.field) {
        case EditField::ScriptName: case EditField::ScriptExpPointer: case EditField::ScriptType:
        case EditField::ScriptReturn: state.LoadedScript = shown; break;
        case EditField::GlobalName: case EditField::GlobalExpPointer: case EditField::GlobalType:
            state.LoadedGlobal = shown; break;
        default: state.LoadedSyntax = shown; break;
    }
    committed = popup ? CommitPopup(state, c.field, c.item) : CommitField(state, c.field, c.text);
    ASSERT_TRUE(committed) << MessageOf(committed.error());

    EXPECT_NE(ReadBytes(desktop.path), desktop.bytes);
    EXPECT_EQ(ReadBytes(cli.path), ReadBytes(desktop.path));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CliSet,
    ::testing::Values(
        SetCase{"ScriptExpPointer", {"script", "abc", "ExpPointer", "70000"}, EditField::ScriptExpPointer, "70000", 0, 0},
        SetCase{"ScriptName", {"script", "abc", "Name", "xyz"}, EditField::ScriptName, "xyz", 0, 0},
        SetCase{"SharedScriptNameTakesTheLaterOne", {"script", "twin", "ExpPointer", "9"}, EditField::ScriptExpPointer,
                "9", 0, 2},
        SetCase{"ScriptTypeByName", {"script", "abc", "Type", "dormant"}, EditField::ScriptType, "", 1, 0},
        SetCase{"ScriptReturnByCode", {"script", "abc", "ReturnType", "48"}, EditField::ScriptReturn, "", 48, 0},
        SetCase{"GlobalName", {"global", "g_short", "Name", "renamed"}, EditField::GlobalName, "renamed", 0, 1},
        SetCase{"GlobalType", {"global", "g_short", "Type", "boolean"}, EditField::GlobalType, "", 5, 1},
        SetCase{"NodeIdentity", {"node", "12", "ExpIdentity", "300"}, EditField::SyntaxExpIdent, "300", 0, 2},
        SetCase{"NodeExpType", {"node", "13", "ExpType", "2.5"}, EditField::SyntaxExpType, "2.5", 0, 3},
        SetCase{"NodeStringOffset", {"node", "11", "ScriptTableOffset", "1A2B"}, EditField::SyntaxScriptTableOffset,
                "1A2B", 0, 1},
        SetCase{"NodeValue", {"node", "11", "ScriptValue", "-1"}, EditField::SyntaxScriptValue, "-1", 0, 1},
        SetCase{"NodeKid", {"node", "13", "KidExpPointer", "70000"}, EditField::SyntaxKidExp, "70000", 0, 3},
        SetCase{"NodeValueType", {"node", "12", "ValueType", "scenery_name"}, EditField::SyntaxType, "", 48, 2}),
    [](const auto& info) { return info.param.label; });

struct RefusedRun {
    std::string label;
    std::vector<std::string> words;  // MAP stands for the fixture's path
    int exitCode;
};

void PrintTo(const RefusedRun& c, std::ostream* os) { *os << c.label; }

class CliRefusal : public ::testing::TestWithParam<RefusedRun> {};

TEST_P(CliRefusal, ExitsWithItsCodeAndWritesNothing) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    std::vector<std::string> words = GetParam().words;
    for (std::string& word : words) {
        if (word == "MAP") word = fixture.path;
    }
    const CliRun run = RunCli(dir, words);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(ReadBytes(fixture.path), fixture.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliRefusal,
    ::testing::Values(RefusedRun{"UnknownScript", {"set", "MAP", "script", "nope", "Name", "x"}, 1},
                      RefusedRun{"UnknownGlobal", {"set", "MAP", "global", "abc", "Name", "x"}, 1},
                      RefusedRun{"UnknownIdentity", {"set", "MAP", "node", "99", "ExpType", "1"}, 1},
                      RefusedRun{"IdentityNotDecimalKey", {"set", "MAP", "node", "011", "ExpType", "1"}, 1},
                      RefusedRun{"ScriptTypeOutOfTable", {"set", "MAP", "script", "abc", "Type", "5"}, 1},
                      RefusedRun{"ValueTypeUnknownName", {"set", "MAP", "node", "11", "ValueType", "bogus"}, 1},
                      RefusedRun{"NameTooLong", {"set", "MAP", "script", "abc", "Name", std::string(32, 'x')}, 1},
                      RefusedRun{"NameForgingAListLine", {"set", "MAP", "script", "abc", "Name", "x\ns: forged"}, 1},
                      RefusedRun{"NameWithCarriageReturn", {"set", "MAP", "global", "g_short", "Name", "a\rb"}, 1},
                      RefusedRun{"NameWithEscape", {"set", "MAP", "script", "abc", "Name", "\x1b]0;title\x07"}, 1},
                      RefusedRun{"NameWithDelete", {"set", "MAP", "global", "g_short", "Name", "del\x7f"}, 1},
                      RefusedRun{"UnknownKind", {"set", "MAP", "thing", "abc", "Name", "x"}, 2},
                      RefusedRun{"FieldOfAnotherKind", {"set", "MAP", "script", "abc", "ValueType", "1"}, 2},
                      RefusedRun{"SetTooFewWords", {"set", "MAP", "script", "abc", "Name"}, 2},
                      RefusedRun{"ProtectTooManyWords", {"protect", "MAP", "extra"}, 2},
                      RefusedRun{"MissingMap", {"protect", "/nonexistent/quorin.map"}, 1}),
    [](const auto& info) { return info.param.label; });

TEST(CliProtect, ProtectsInPlaceLikeTheDesktopTool) {
    testing::TempDir dir;
    const testing::EditFixture cli = testing::WriteEditFixture(dir, "cli.map");
    const testing::EditFixture desktop = testing::WriteEditFixture(dir, "desktop.map");
    const CliRun run = RunCli(dir, {"protect", cli.path});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(kProtectedMessage), std::string::npos) << run.err;

    MapState state;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(state, desktop.path, messages));
    ASSERT_TRUE(testing::Protect(state, messages));
    EXPECT_NE(ReadBytes(desktop.path), desktop.bytes);
    EXPECT_EQ(ReadBytes(cli.path), ReadBytes(desktop.path));
}

TEST(CliProtect, ReadOnlyMapIsRefusedWithoutTheSuccessMessage) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    std::filesystem::permissions(fixture.path, std::filesystem::perms(0444));
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"protect", fixture.path},
          std::vector<std::string>{"set", fixture.path, "script", "abc", "Name", "x"}}) {
        const CliRun run = RunCli(dir, words);
        EXPECT_EQ(run.exitCode, 1) << words[0];
        EXPECT_EQ(run.err.find(kProtectedMessage), std::string::npos);
        EXPECT_NE(run.err.find("read-only"), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(fixture.path), fixture.bytes);
    }
}

}  // namespace
}  // namespace quorin
