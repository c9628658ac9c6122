// SPDX-License-Identifier: GPL-3.0-or-later
// Extract > All: the worker, its result window and its message.

#include <QPointer>
#include <QtTest>

#include "extract/ExtractAll.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/ExtractionCommands.h"
#include "ui/extract/ExtractAllRun.h"
#include "extract/ResultText.h"
#include "fixtures/HostileMaps.h"
#include "builder/DemoMap.h"
#include "fixtures/MaximalMap.h"
#include "support/WholeText.h"
#include "ui/support/ExtractionFixtures.h"

using namespace quorin;
using namespace quorin::ui;
using namespace quorin::uitest;

namespace {

testing::ExtractAllWholeResult Expected(const MapState& map) { return testing::ExtractAllWhole(map); }

// The message up to its time, which differs from run to run.
QString WithoutTime(const QString& message) { return message.left(message.lastIndexOf(QStringLiteral(" took ")) + 6); }

MapBuilder MaximalUnpadded() {
    MapBuilder map = MaximalMap();
    map.padTo = 0;
    return map;
}

}  // namespace

class ExtractAllTest : public QObject {
    Q_OBJECT

    ExtractionHarness harness_;
    TestMap& map_ = harness_.map;
    std::unique_ptr<ExtractionCommands>& commands_ = harness_.commands;

private slots:
    void init() { QVERIFY(harness_.start(DemoMap())); }
    void cleanup() { harness_.stop(); }

    void overlappingRuns_data() {
        QTest::addColumn<int>("runs");
        QTest::addColumn<bool>("maximal");
        QTest::newRow("one, demo") << 1 << false;
        QTest::newRow("two, demo") << 2 << false;
        QTest::newRow("three, maximal") << 3 << true;
    }
    void overlappingRuns() {
        QFETCH(int, runs);
        QFETCH(bool, maximal);
        if (maximal) QVERIFY(map_.load(MaximalUnpadded()));
        const auto expected = Expected(map_.state());
        const QString expectedText = Latin1(expected.text);
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        QList<int> windowsAtMessage;
        dialogs.whileShown = [&](const QString&) { windowsAtMessage.append(ResultWindows().size()); };

        for (int i = 0; i < runs; ++i) commands_->extractAll();
        // Each command returned at once with its own window, still empty.
        const QList<ResultWindow*> windows = ResultWindows();
        QCOMPARE(windows.size(), runs);
        for (ResultWindow* window : windows) QVERIFY(FieldText(*window).isEmpty());
        QVERIFY(dialogs.messages.isEmpty());

        QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), runs, 30000);
        QCOMPARE(ResultWindows().size(), runs);
        for (ResultWindow* window : windows) QCOMPARE(FieldText(*window), expectedText);
        for (const QString& message : dialogs.messages)
            QCOMPARE(WithoutTime(message), WithoutTime(Latin1(expected.message())));
        QCOMPARE(windowsAtMessage, QList<int>(runs, runs));
        for (const QPointer<QWidget>& parent : dialogs.parents) QVERIFY(windows.contains(qobject_cast<ResultWindow*>(parent.data())));
    }

    void noMapLoaded() {
        TestMap empty;
        ExtractionCommands commands(harness_.shell.context(), [&empty]() -> const MapState& { return empty.state(); });
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        commands.extractAll();
        QTRY_COMPARE(dialogs.messages.size(), 1);
        QCOMPARE(FieldText(*ResultWindows().first()), QStringLiteral("\n\n\n\n\n"));
        QVERIFY(dialogs.messages.first().contains(
            QStringLiteral("0 globals were extracted, 0 scripts were extracted, and 0 syntax parts")));
    }

    void changesDuringRunDoNotReachIt_data() {
        QTest::addColumn<bool>("load");
        QTest::newRow("another map loaded") << true;
        QTest::newRow("records edited") << false;
    }
    void changesDuringRunDoNotReachIt() {
        QFETCH(bool, load);
        const QString before = Latin1(Expected(map_.state()).text);
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        commands_->extractAll();
        if (load) {
            QVERIFY(map_.load(RenamedDemo("other_", 3, 2)));
        } else {
            for (auto& script : map_.state().ScriptHeaderCache) script.Name = "edited";
            for (auto& global : map_.state().GlobalHeaderCache) global.Type = 9;
            map_.state().SyntaxCache.clear();
        }
        const QString after = Latin1(Expected(map_.state()).text);
        QVERIFY(after != before);
        QTRY_COMPARE(dialogs.messages.size(), 1);
        QCOMPARE(FieldText(*ResultWindows().first()), before);
        QVERIFY(dialogs.messages.first().startsWith(
            QStringLiteral("The extraction is done.\n6 globals were extracted, 6 scripts were extracted")));

        // The next run extracts what is there now.
        commands_->extractAll();
        QTRY_COMPARE(dialogs.messages.size(), 2);
        const QList<ResultWindow*> windows = ResultWindows();
        QCOMPARE(windows.size(), 2);
        QVERIFY(FieldText(*windows[0]) == after || FieldText(*windows[1]) == after);
    }

    // Closing the window stops the run; a stopped run shows no message.
    void windowClosedDuringRunStopsIt() {
        // Far more text than any window keeps: the run could only end early.
        QVERIFY(map_.load(LongNodeTextsMap(3000, 1024 * 1024)));
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        commands_->extractAll();
        QPointer<ResultWindow> window = ResultWindows().first();
        window->close();
        QTRY_VERIFY(!window);
        QTRY_VERIFY_WITH_TIMEOUT(qApp->findChildren<ExtractAllRun*>().isEmpty(), 30000);
        QTest::qWait(100);
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(ResultWindows().isEmpty());
    }

    // A text past the limit keeps its whole lines up to it, then says how
    // much it left out; the message says the run stopped.
    void textStopsAtTheLimit_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("wholeLines");  // else the kept part gets a line end of its own
        QTest::newRow("a few lines") << 4096 << true;
        QTest::newRow("inside the first line") << 10 << false;
    }
    void textStopsAtTheLimit() {
        QFETCH(int, limit);
        QFETCH(bool, wholeLines);
        QVERIFY(map_.load(MaximalUnpadded()));
        const std::string whole = Expected(map_.state()).text;
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        ExtractAllRun::Start(harness_.shell.context(), map_.state(), static_cast<std::size_t>(limit));
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 1, 30000);
        const QString shown = FieldText(*ResultWindows().first());
        const qsizetype lastLine = shown.lastIndexOf(u'\n') + 1;
        const QString kept = shown.left(wholeLines ? lastLine : lastLine - 1);
        if (wholeLines) QVERIFY(kept.size() <= limit);
        else QCOMPARE(kept.size(), limit);
        QVERIFY(Latin1(whole).startsWith(kept));
        QCOMPARE(shown.mid(lastLine),
                 Latin1(LeftOutLine(static_cast<std::int64_t>(whole.size()) - kept.size(), "extract-all")));
        QVERIFY(dialogs.messages.first().startsWith(QStringLiteral("The extraction was stopped before the end.\n")));
    }

    // Last: it runs the application's event loop and quits it.
    void quitDuringRun() {
        QVERIFY(map_.load(MaximalUnpadded()));
        RecordingDialogs& dialogs = harness_.shell.dialogs.fresh();
        commands_->extractAll();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        QCOMPARE(qApp->exec(), 0);
        // Whatever had been handed over by then may still be shown; nothing
        // arrives after the application has quit.
        const qsizetype shownAtQuit = dialogs.messages.size();
        QTest::qWait(1500);
        QCOMPARE(dialogs.messages.size(), shownAtQuit);
    }
};

QTEST_MAIN(ExtractAllTest)
#include "extract_all_test.moc"
