// SPDX-License-Identifier: GPL-3.0-or-later
// File > Compare With… as a user reaches it: the result window it opens,
// its title, colours and message, a map that cannot be loaded, and closing
// the window while the comparison runs. The sections themselves belong to
// the comparison's own tests.

#include <QAction>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include "builder/DemoMap.h"
#include "fixtures/HostileMaps.h"
#include "support/TempMap.h"
#include "ui/extract/DiffColours.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/CompareRun.h"
#include "ui/main/MainWindow.h"
#include "ui/support/ExtractionFixtures.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::ui;
using namespace quorin::uitest;

namespace {

constexpr const char* kCompareWith = "FileCompareWith";

// The demo map with intro's type changed and one global renamed.
MapBuilder ChangedDemo() {
    MapBuilder map = DemoMap();
    map.scripts[1].Type = 3;
    map.globals[0].Name = "alarm_sounded";
    return map;
}

// Every script walks every node, and every node differs between the two:
// a comparison that runs long enough to be closed while it runs.
MapBuilder WideWalk(std::int32_t value) {
    MapBuilder map = WideWalkMap(20000, 3000);
    for (Syntax& node : map.nodes) node.ScriptValue = value;
    return map;
}

// The colour the first line that starts with prefix is drawn in.
QColor ColourOfLine(ResultWindow& window, const QString& prefix) {
    for (QTextBlock block = window.field().document()->begin(); block.isValid(); block = block.next()) {
        if (!block.text().startsWith(prefix)) continue;
        const QList<QTextLayout::FormatRange> ranges = block.layout()->formats();
        return ranges.isEmpty() ? QColor() : ranges.first().format.foreground().color();
    }
    return {};
}

}  // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT

    MainWindow& main() { return wired_.window(); }
    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;

    QString write(const MapBuilder& map, const char* name) {
        return QString::fromStdString(testing::WriteMap(dir_, map, name));
    }
    // File > Compare With… answered with path; the result windows it opened.
    QList<ResultWindow*> compareWith(const QString& path) {
        const QList<ResultWindow*> before = ResultWindows();
        dialogs_.answerOpen(path);
        TriggerMenuItem(main(), kCompareWith);
        return NewResultWindows(before);
    }

private slots:
    void initTestCase() { main().show(); }
    void cleanup() { CloseResultWindows(); }

    void nothingToCompareBeforeALoad() { QVERIFY(!MenuItem(main(), kCompareWith)->isEnabled()); }

    void opensAColouredResultWindow() {
        QCOMPARE(OpenThroughMenu(main(), dialogs_, write(DemoMap(), "old.map")), QStringList{"Map loaded!"});
        QVERIFY(MenuItem(main(), kCompareWith)->isEnabled());
        const qsizetype before = dialogs_.messages.size();
        const QList<ResultWindow*> opened = compareWith(write(ChangedDemo(), "new.map"));
        QCOMPARE(opened.size(), 1);
        ResultWindow& window = *opened.first();
        QCOMPARE(window.objectName(), QStringLiteral("Extract"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Compare \u2014 old.map / new.map"));
        // The message comes once the text is in.
        QTRY_COMPARE(dialogs_.messages.size(), before + 1);
        QCOMPARE(dialogs_.messages.last(), QStringLiteral("3 records differ: 1 changed, 1 added, 1 removed."));
        QVERIFY(window.field().toPlainText().startsWith(QStringLiteral("--- a/script/intro\n+++ b/script/intro\n@@ ")));
        QVERIFY(MenuItem(window, "FileSaveAs")->isEnabled());
        QCOMPARE(window.suggestedName(), QStringLiteral("compare.diff"));
    }

    void colours_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("section header") << "+++ b/script/intro" << DiffColours::headerColour();
        QTest::newRow("hunk header") << "@@ -1,4 +1,4 @@" << DiffColours::headerColour();
        QTest::newRow("removed line") << "-(script startup intro" << DiffColours::removedColour();
        QTest::newRow("added line") << "+(script static void intro" << DiffColours::addedColour();
        QTest::newRow("context line") << " (begin" << QColor();
    }
    void colours() {
        QFETCH(QString, line);
        QFETCH(QColor, colour);
        const qsizetype before = dialogs_.messages.size();
        const QList<ResultWindow*> opened = compareWith(write(ChangedDemo(), "new.map"));
        QCOMPARE(opened.size(), 1);
        QTRY_COMPARE(dialogs_.messages.size(), before + 1);
        QCOMPARE(ColourOfLine(*opened.first(), line), colour);
    }

    void aMapThatCannotBeLoadedOpensNoWindow() {
        const QString junk = QString::fromStdString(dir_.path("junk.map"));
        testing::WriteBytes(junk.toStdString(), {'j', 'u', 'n', 'k'});
        const qsizetype before = dialogs_.messages.size();
        QVERIFY(compareWith(junk).isEmpty());
        QCOMPARE(dialogs_.messages.size(), before + 1);
        // The load's own message, naming the file.
        QVERIFY2(dialogs_.messages.last().contains(junk), qPrintable(dialogs_.messages.last()));
        QVERIFY(dialogs_.messages.last().contains(QStringLiteral("damaged")));
    }

    void closingTheWindowStopsTheComparison() {
        QCOMPARE(OpenThroughMenu(main(), dialogs_, write(WideWalk(1), "wide.map")), QStringList{"Map loaded!"});
        const qsizetype before = dialogs_.messages.size();
        const QList<ResultWindow*> opened = compareWith(write(WideWalk(2), "wider.map"));
        QCOMPARE(opened.size(), 1);
        QVERIFY(!qApp->findChildren<CompareRun*>().isEmpty());
        QPointer<ResultWindow> window = opened.first();
        window->close();
        QTRY_VERIFY(!window);
        QTRY_VERIFY_WITH_TIMEOUT(qApp->findChildren<CompareRun*>().isEmpty(), 30000);
        QTest::qWait(100);
        QCOMPARE(dialogs_.messages.size(), before);
        QVERIFY(ResultWindows().isEmpty());
    }
};

QTEST_MAIN(CompareWindowTest)
#include "compare_window_test.moc"
