// SPDX-License-Identifier: GPL-3.0-or-later
// The shared menu bar: the order MenuBar1 is built in, and what every bar
// shares (handlers, enabling, check marks, submenus filled on opening), on a
// table of its own so that the kinds MenuBar1 does not use yet are covered.

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <memory>

#include "ui/shell/MenuBar.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin::ui;
using namespace quorin::uitest;

namespace {

constexpr MenuEntry kTestBar[] = {
    Menu("TestMenu", "&Test"),
    Item("TestSaveAs", "Save &As"),
    CheckItem("TestWrap", "&Wrap Lines"),
    FilledMenu("TestRecent", "&Recent"),
    EndMenu(),
    DisabledAtStart(Item("TestProtect", "Protect")),
    EndMenu(),
};

std::unique_ptr<QMainWindow> WindowWith(std::span<const MenuEntry> table, const char* barName = "TestBar") {
    auto window = std::make_unique<QMainWindow>();
    InstallMenuBar(*window, table, barName);
    return window;
}

QStringList ItemNames(const QWidget& menu) {
    QStringList names;
    for (QAction* action : menu.actions()) {
        names << (action->menu() ? action->menu()->objectName() : action->objectName());
    }
    return names;
}

QStringList ItemTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) texts << action->text();
    return texts;
}

}  // namespace

class MenuBarTest : public QObject {
    Q_OBJECT

private slots:
    void menuBar1Order_data() {
        QTest::addColumn<QString>("menu");  // empty: the bar itself
        QTest::addColumn<QStringList>("items");
        QTest::newRow("bar") << QString() << QStringList{"FileMenu", "EditMenu", "ScriptMenu", "HelpMenu"};
        QTest::newRow("File") << "FileMenu"
                              << QStringList{"FileQuit", "Fileopen", "FileOpenReadOnly", "FileOpenRecent",
                                             "FileCompareWith", "FileSaving", "FileSaveAs"};
        QTest::newRow("Edit") << "EditMenu"
                              << QStringList{"EditUndo",      "UntitledMenu1", "EditCut",     "EditCopy",
                                             "EditPaste",     "EditClear",     "UntitledMenu0", "EditSelectAll",
                                             "EditFinding",   "EditFind",      "EditFindNext", "EditFindPrevious"};
        QTest::newRow("Script Tools") << "ScriptMenu"
                                      << QStringList{"ScriptToolsProtectMap", "ScriptToolsExtract", "ScriptToolsdatabase",
                                                     "ScriptToolsFindInMap", "ScriptToolsEditAsText",
                                                     "ScriptToolsWrites",     "ScriptToolsUndoWrite", "ScriptToolsRedoWrite",
                                                     "ScriptToolsBackUp"};
        QTest::newRow("Extract...") << "ScriptToolsExtract"
                                    << QStringList{"Extractall", "ExtractGlobalRange", "ExtractScriptRange"};
        QTest::newRow("Help") << "HelpMenu"
                              << QStringList{"HelpAbout", "HelpAboutQt", "HelpKeys", "HelpKeyboardShortcuts"};
    }
    void menuBar1Order() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        QMainWindow window;
        InstallMenuBar(window);
        QMenuBar* bar = window.menuBar();
        QCOMPARE(bar->objectName(), QStringLiteral("MenuBar1"));
        const QWidget* owner = menu.isEmpty() ? static_cast<QWidget*>(bar) : bar->findChild<QMenu*>(menu);
        QVERIFY(owner);
        QCOMPARE(ItemNames(*owner), items);
    }

    void handlerKnowsTheWindowUsed() {
        auto first = WindowWith(kTestBar);
        auto second = WindowWith(kTestBar);
        QList<QMainWindow*> from;
        SetMenuCommand("TestSaveAs", [&from](QMainWindow& window) { from << &window; });
        TriggerMenuItem(*first, "TestSaveAs");
        TriggerMenuItem(*second, "TestSaveAs");
        // A bar installed after the wiring reaches the same handler.
        auto third = WindowWith(kTestBar);
        TriggerMenuItem(*third, "TestSaveAs");
        QCOMPARE(from, (QList<QMainWindow*>{first.get(), second.get(), third.get()}));

        // Wired anew, the item reaches only the new handler; unwired, nothing.
        int rewired = 0;
        SetMenuCommand("TestSaveAs", [&rewired](QMainWindow&) { ++rewired; });
        TriggerMenuItem(*first, "TestSaveAs");
        SetMenuCommand("TestSaveAs", {});
        TriggerMenuItem(*first, "TestSaveAs");
        QCOMPARE(rewired, 1);
        QCOMPARE(from.size(), 3);
    }

    void sharedEnablingReachesLaterBars() {
        auto early = WindowWith(kTestBar);
        QVERIFY(!MenuItem(*early, "TestProtect")->isEnabled());
        QVERIFY(!MenuItemEnabled("TestProtect"));
        SetMenuItemEnabled("TestProtect", true);
        QVERIFY(MenuItem(*early, "TestProtect")->isEnabled());
        auto late = WindowWith(kTestBar);
        QVERIFY(MenuItem(*late, "TestProtect")->isEnabled());
        SetMenuItemEnabled("TestProtect", false);
        QVERIFY(!MenuItem(*early, "TestProtect")->isEnabled());
        QVERIFY(!MenuItem(*late, "TestProtect")->isEnabled());
        // A bar made from another table keeps its own items.
        QVERIFY(MenuItem(*late, "TestSaveAs")->isEnabled());
    }

    void enablingOnOneWindowOnly() {
        auto result = WindowWith(kTestBar);
        auto main = WindowWith(kTestBar);
        SetMenuItemEnabledOn(*main, "TestSaveAs", false);
        QVERIFY(MenuItem(*result, "TestSaveAs")->isEnabled());
        QVERIFY(!MenuItem(*main, "TestSaveAs")->isEnabled());

        // Enabled where both the shared and the window's own state say so.
        SetMenuItemEnabled("TestSaveAs", false);
        QVERIFY(!MenuItem(*result, "TestSaveAs")->isEnabled());
        SetMenuItemEnabled("TestSaveAs", true);
        QVERIFY(MenuItem(*result, "TestSaveAs")->isEnabled());
        QVERIFY(!MenuItem(*main, "TestSaveAs")->isEnabled());
        SetMenuItemEnabledOn(*main, "TestSaveAs", true);
        QVERIFY(MenuItem(*main, "TestSaveAs")->isEnabled());
    }

    void checkMarkIsSharedAndFlippedFirst() {
        auto first = WindowWith(kTestBar);
        auto second = WindowWith(kTestBar);
        QVERIFY(MenuItem(*first, "TestWrap")->isCheckable());
        QVERIFY(!MenuItem(*first, "TestWrap")->isChecked());
        QList<bool> seenByHandler;
        SetMenuCommand("TestWrap", [&](QMainWindow&) { seenByHandler << MenuItemChecked("TestWrap"); });
        TriggerMenuItem(*first, "TestWrap");
        QVERIFY(MenuItem(*second, "TestWrap")->isChecked());
        auto later = WindowWith(kTestBar);
        QVERIFY(MenuItem(*later, "TestWrap")->isChecked());
        TriggerMenuItem(*second, "TestWrap");
        QVERIFY(!MenuItem(*first, "TestWrap")->isChecked());
        QCOMPARE(seenByHandler, (QList<bool>{true, false}));
        SetMenuItemChecked("TestWrap", true);
        QVERIFY(MenuItem(*first, "TestWrap")->isChecked());
        QVERIFY(MenuItem(*second, "TestWrap")->isChecked());
        SetMenuCommand("TestWrap", {});
    }

    void filledSubmenuIsMadeOnEachOpening() {
        auto window = WindowWith(kTestBar);
        auto* recent = window->findChild<QMenu*>(QStringLiteral("TestRecent"));
        QVERIFY(recent);
        QVERIFY(recent->actions().isEmpty());
        QStringList files{"a.map", "b.map"};
        QList<QMainWindow*> from;
        SetSubmenuFiller("TestRecent", [&](QMenu& menu, QMainWindow& window) {
            from << &window;
            for (const QString& file : files) menu.addAction(file);
        });
        emit recent->aboutToShow();
        QCOMPARE(ItemTexts(*recent), files);
        files = {"c.map"};
        emit recent->aboutToShow();
        QCOMPARE(ItemTexts(*recent), files);
        QCOMPARE(from, (QList<QMainWindow*>{window.get(), window.get()}));
        SetSubmenuFiller("TestRecent", {});
        emit recent->aboutToShow();
        QVERIFY(recent->actions().isEmpty());
    }
};

QTEST_MAIN(MenuBarTest)
#include "menu_bar_test.moc"
