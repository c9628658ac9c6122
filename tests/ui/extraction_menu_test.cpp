// SPDX-License-Identifier: GPL-3.0-or-later
// The extraction commands as the shared menu bar reaches them, from the main
// window and from the extraction windows themselves.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QtTest>

#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/ExtractionCommands.h"
#include "ui/extract/RangeWindow.h"
#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "support/WholeText.h"
#include "ui/support/ExtractionFixtures.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::ui;
using namespace quorin::uitest;

namespace {

RangeWindow* OpenRangeWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<RangeWindow*>(widget); window && window->isVisible()) return window;
    return nullptr;
}

QStringList StartRows(RangeWindow& window) {
    auto& start = *window.findChild<QComboBox*>(QStringLiteral("ScrStart"));
    QStringList rows;
    for (int i = 0; i < start.count(); ++i) rows << start.itemText(i);
    return rows;
}

}  // namespace

class ExtractionMenuTest : public QObject {
    Q_OBJECT

    MainWindow& main() { return wired_.window(); }
    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;

private slots:
    void initTestCase() { main().show(); }

    void commandsFromEveryWindow() {
        const QString demo = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "demo.map"));
        const QString other = QString::fromStdString(testing::WriteMap(dir_, RenamedDemo("other_", 4, 4), "other.map"));
        QCOMPARE(OpenThroughMenu(main(), dialogs_, demo), QStringList{QStringLiteral("Map loaded!")});

        TriggerMenuItem(main(), "ExtractScriptRange");
        RangeWindow* range = OpenRangeWindow();
        QVERIFY(range);
        QVERIFY(range->findChild<QMenuBar*>(QStringLiteral("MenuBar1")));
        QCOMPARE(range->findChild<QStackedWidget*>(QStringLiteral("BgkRnd"))->currentIndex(), 1);
        QCOMPARE(StartRows(*range).first(), QStringLiteral("patrol_loop"));

        // File > Open on the range window's own bar loads into the main
        // window, and the open range window now offers the new names.
        QCOMPARE(OpenThroughMenu(*range, dialogs_, other), QStringList{QStringLiteral("Map loaded!")});
        QCOMPARE(StartRows(*range), (QStringList{"other_patrol_loop", "other_intro", "other_watch_gate"}));
        TriggerMenuItem(*range, "ExtractGlobalRange");
        QCOMPARE(OpenRangeWindow(), range);
        QCOMPARE(range->findChild<QStackedWidget*>(QStringLiteral("BgkRnd"))->currentIndex(), 2);

        // Extract > All from the range window's bar extracts the main
        // window's map into a result window with a bar of its own.
        const QString all = Latin1(testing::ExtractAllWhole(main().state()).text);
        const auto messagesBefore = dialogs_.messages.size();
        TriggerMenuItem(*range, "Extractall");
        QTRY_COMPARE(dialogs_.messages.size(), messagesBefore + 1);
        QCOMPARE(ResultWindows().size(), 1);
        ResultWindow& result = *ResultWindows().first();
        QCOMPARE(FieldText(result), all);
        QVERIFY(result.findChild<QMenuBar*>(QStringLiteral("MenuBar1")));

        // Database from the result window's bar.
        TriggerMenuItem(result, "ScriptToolsdatabase");
        QCOMPARE(ResultWindows().size(), 2);
        QTRY_COMPARE(dialogs_.messages.size(), messagesBefore + 2);
        QString lines;
        for (const std::string& line : testing::CommandDatabaseWhole(main().state().SyntaxCache).lines) lines += Latin1(line);
        bool found = false;
        for (ResultWindow* window : ResultWindows())
            if (window->windowTitle() == QStringLiteral("Map Script command DataBase"))
                found = FieldText(*window) == lines;
        QVERIFY(found);
        CloseResultWindows();
    }

    // File > Save As in a result window writes its text as shown, under the
    // name the run suggests; windows without such a text keep it disabled.
    void saveAsFromAResultWindow_data() {
        QTest::addColumn<QString>("added");   // typed into the field before saving
        QTest::addColumn<bool>("latin1");     // else the file holds UTF-8
        QTest::newRow("as extracted") << QString() << true;
        QTest::newRow("edited, Latin-1") << QStringLiteral("caf\u00e9\n") << true;
        QTest::newRow("edited, beyond Latin-1") << QStringLiteral("\u20ac\n") << false;
    }
    void saveAsFromAResultWindow() {
        QFETCH(QString, added);
        QFETCH(bool, latin1);
        const QString demo = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "save.map"));
        QCOMPARE(OpenThroughMenu(main(), dialogs_, demo), QStringList{QStringLiteral("Map loaded!")});
        QVERIFY(!MenuItem(main(), "FileSaveAs")->isEnabled());
        TriggerMenuItem(main(), "ExtractScriptRange");
        QVERIFY(!MenuItem(*OpenRangeWindow(), "FileSaveAs")->isEnabled());
        OpenRangeWindow()->close();

        const auto messagesBefore = dialogs_.messages.size();
        TriggerMenuItem(main(), "Extractall");
        QTRY_COMPARE(dialogs_.messages.size(), messagesBefore + 1);
        ResultWindow& result = *ResultWindows().first();
        QVERIFY(MenuItem(result, "FileSaveAs")->isEnabled());
        result.field().moveCursor(QTextCursor::End);
        result.field().insertPlainText(added);

        const QString path = QString::fromStdString(dir_.path("saved.txt"));
        dialogs_.suggestedNames.clear();
        dialogs_.answerSave(path);
        TriggerMenuItem(result, "FileSaveAs");
        QCOMPARE(dialogs_.suggestedNames, QStringList{QStringLiteral("extract-all.txt")});
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString shown = FieldText(result);
        QVERIFY(shown.endsWith(added));
        QCOMPARE(saved.readAll(), latin1 ? shown.toLatin1() : shown.toUtf8());
        QCOMPARE(dialogs_.messages.size(), messagesBefore + 1);  // no failure shown

        // A cancelled dialog writes nothing.
        QVERIFY(saved.remove());
        TriggerMenuItem(result, "FileSaveAs");
        QVERIFY(!QFile::exists(path));
        CloseResultWindows();
    }
};

QTEST_MAIN(ExtractionMenuTest)
#include "extraction_menu_test.moc"
