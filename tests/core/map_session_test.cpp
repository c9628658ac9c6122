// SPDX-License-Identifier: GPL-3.0-or-later
// The session as both front ends drive it: each operation leaves the file
// and the write history as expected, a load starts a new history, and the
// value a refused field goes back to is the record's.

#include <gtest/gtest.h>

#include <functional>

#include "map/MapNames.h"
#include "session/MapSession.h"
#include "support/EditFixture.h"
#include "support/WritePaths.h"

namespace quorin {
namespace {

using testing::ReadBytes;
using Bytes = std::vector<std::uint8_t>;

struct Opened {
    testing::TempDir dir;
    testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapSession session;
    explicit Opened(OpenMode mode = OpenMode::Edit) {
        EXPECT_TRUE(session.open(fixture.path, BuiltInMapNames(), mode));
        session.show({RecordKind::Script, 0});
        session.show({RecordKind::Global, 1});
        session.show({RecordKind::Syntax, 1});
    }
    Bytes file() const { return ReadBytes(fixture.path); }
};

Status Undone(MapSession& session) {
    auto undone = session.undo();
    return undone ? success() : Status(undone.error());
}

Status Redone(MapSession& session) {
    auto redone = session.redo();
    return redone ? success() : Status(redone.error());
}

enum class FileAfter { AsLoaded, Written };

struct OperationCase {
    const char* name;
    std::function<Status(MapSession&)> run;
    bool succeeds;
    FileAfter file;
    bool canUndo;
    bool canRedo;
};

class SessionOperation : public ::testing::TestWithParam<OperationCase> {};

TEST_P(SessionOperation, LeavesTheFileAndTheHistory) {
    const OperationCase& c = GetParam();
    Opened opened;
    const Status done = c.run(opened.session);
    EXPECT_EQ(done.ok(), c.succeeds) << (done ? "" : MessageOf(done.error()));
    EXPECT_EQ(opened.file() == opened.fixture.bytes, c.file == FileAfter::AsLoaded);
    EXPECT_EQ(opened.session.canUndo(), c.canUndo);
    EXPECT_EQ(opened.session.canRedo(), c.canRedo);
}

Status CommitName(MapSession& session) { return session.commitField(EditField::ScriptName, "renamed"); }

INSTANTIATE_TEST_SUITE_P(
    Table, SessionOperation,
    ::testing::Values(
        OperationCase{"CommitField", CommitName, true, FileAfter::Written, true, false},
        OperationCase{"CommitChoice", [](MapSession& s) { return s.commitChoice(EditField::ScriptType, 3); }, true,
                      FileAfter::Written, true, false},
        OperationCase{"NoChoice", [](MapSession& s) { return s.commitChoice(EditField::ScriptType, -1); }, true,
                      FileAfter::AsLoaded, false, false},
        OperationCase{"RefusedName", [](MapSession& s) { return s.commitField(EditField::ScriptName, "a\nb"); },
                      false, FileAfter::AsLoaded, false, false},
        OperationCase{"Protect", [](MapSession& s) { return s.protect(); }, true, FileAfter::Written, true, false},
        OperationCase{"Apply", [](MapSession& s) { return s.apply(testing::ChangedScriptText(s.map())); }, true,
                      FileAfter::Written, true, false},
        OperationCase{"ApplyNothing", [](MapSession& s) { return s.apply(TextPlan{}); }, true, FileAfter::AsLoaded,
                      false, false},
        OperationCase{"UndoWithoutStep", Undone, false, FileAfter::AsLoaded, false, false},
        OperationCase{"Undo", [](MapSession& s) { return CommitName(s) ? Undone(s) : Status(Error(ErrorCode::Usage, "no write")); },
                      true, FileAfter::AsLoaded, false, true},
        OperationCase{"Redo",
                      [](MapSession& s) {
                          if (!CommitName(s) || !Undone(s)) return Status(Error(ErrorCode::Usage, "no step"));
                          return Redone(s);
                      },
                      true, FileAfter::Written, true, false},
        OperationCase{"WriteAfterUndo",
                      [](MapSession& s) {
                          if (!CommitName(s) || !Undone(s)) return Status(Error(ErrorCode::Usage, "no step"));
                          return s.commitField(EditField::ScriptExpPointer, "7");
                      },
                      true, FileAfter::Written, true, false},
        OperationCase{"OpenAgain",
                      [](MapSession& s) {
                          if (!CommitName(s) || !Undone(s)) return Status(Error(ErrorCode::Usage, "no step"));
                          return s.open(s.map().loadedPath(), BuiltInMapNames());
                      },
                      true, FileAfter::AsLoaded, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MapSession, ReadOnlyRefusesEveryWriteWithItsReason) {
    Opened opened(OpenMode::ReadOnly);
    EXPECT_FALSE(opened.session.writable());
    for (const Status& done : {CommitName(opened.session), opened.session.protect(), Undone(opened.session)}) {
        ASSERT_FALSE(done);
        EXPECT_EQ(MessageOf(done.error()), MessageOf(*opened.session.map().loadedFile().readOnlyReason));
    }
    EXPECT_EQ(opened.file(), opened.fixture.bytes);
}

TEST(MapSession, RefusedOpenKeepsTheMapItsNamesAndItsHistory) {
    Opened opened;
    ASSERT_TRUE(CommitName(opened.session));
    const std::vector<std::string> otherNames(kStockMapNameCount, "other");
    EXPECT_FALSE(opened.session.open(opened.dir.path("missing.map"), otherNames));
    EXPECT_EQ(opened.session.stockNames(), BuiltInMapNames());
    EXPECT_TRUE(opened.session.canUndo());
    EXPECT_EQ(opened.session.map().loadedPath(), opened.fixture.path);
}

// What a refused write puts back: the record's value, and nothing for a
// kind whose record is not shown or belongs to an earlier load.
TEST(MapSession, FieldValueIsTheShownRecords) {
    Opened opened;
    EXPECT_EQ(opened.session.fieldValue(EditField::ScriptName)->text, opened.session.map().ScriptHeaderCache[0].Name.str());
    EXPECT_EQ(opened.session.fieldValue(EditField::GlobalType)->index, opened.session.map().GlobalHeaderCache[1].Type);
    EXPECT_FALSE(opened.session.commitField(EditField::ScriptName, std::string(40, 'x')));
    EXPECT_EQ(opened.session.fieldValue(EditField::ScriptName)->text, opened.session.map().ScriptHeaderCache[0].Name.str());

    ASSERT_TRUE(opened.session.open(opened.fixture.path, BuiltInMapNames()));
    EXPECT_FALSE(opened.session.fieldValue(EditField::ScriptName));
    EXPECT_FALSE(opened.session.shown(RecordKind::Syntax));
}

}  // namespace
}  // namespace quorin
