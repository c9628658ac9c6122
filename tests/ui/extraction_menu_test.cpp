// The extraction commands as the shared menu bar reaches them, from the main
// window and from the extraction windows themselves.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QStackedWidget>
#include <QtTest>

#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "ui/extract/Extract.h"
#include "ui/extract/ExtractionCommands.h"
#include "ui/extract/WinRange.h"
#include "map/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "support/WholeText.h"
#include "ui/support/ExtractionFixtures.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::ui;
using namespace quorin::uitest;

namespace {

WinRange* OpenRangeWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<WinRange*>(widget); window && window->isVisible()) return window;
    return nullptr;
}

QStringList StartRows(WinRange& window) {
    auto& start = *window.findChild<QComboBox*>(QStringLiteral("ScrStart"));
    QStringList rows;
    for (int i = 0; i < start.count(); ++i) rows << start.itemText(i);
    return rows;
}

}  // namespace

class ExtractionMenuTest : public QObject {
    Q_OBJECT

    MainWindow& main() { return WiredMainWindow(); }
    ScriptedDialogs dialogs_;
    testing::TempDir dir_;

private slots:
    void initTestCase() { main().show(); }

    void commandsFromEveryWindow() {
        const QString demo = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "demo.map"));
        const QString other = QString::fromStdString(testing::WriteMap(dir_, RenamedDemo("other_", 4, 4), "other.map"));
        QCOMPARE(OpenThroughMenu(main(), dialogs_, demo), QStringList{QStringLiteral("Map loaded!")});

        TriggerMenuItem(main(), "ExtractScriptRange");
        WinRange* range = OpenRangeWindow();
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
        Extract& result = *ResultWindows().first();
        QCOMPARE(FieldText(result), all);
        QVERIFY(result.findChild<QMenuBar*>(QStringLiteral("MenuBar1")));

        // Database from the result window's bar.
        TriggerMenuItem(result, "ScriptToolsdatabase");
        QCOMPARE(ResultWindows().size(), 2);
        QCOMPARE(dialogs_.messages.size(), messagesBefore + 2);
        QString lines;
        for (const std::string& line : testing::CommandDatabaseWhole(main().state().SyntaxCache).lines) lines += Latin1(line);
        bool found = false;
        for (Extract* window : ResultWindows())
            if (window->windowTitle() == QStringLiteral("Map Script command DataBase"))
                found = FieldText(*window) == lines;
        QVERIFY(found);
        CloseResultWindows();
    }
};

QTEST_MAIN(ExtractionMenuTest)
#include "extraction_menu_test.moc"
