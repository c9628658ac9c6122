// SPDX-License-Identifier: GPL-3.0-or-later
// The shared menu bar: the order MenuBar1 is built in, one item for every
// command, and what the bars of one router share (handlers, enabling, check
// marks, submenus filled on opening), on a small table of its own with one
// entry of each kind.

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
    Item(MenuCommand::SaveAs, "Save &As"),
    CheckItem(MenuCommand::BackUpBeforeFirstWrite, "&Wrap Lines"),
    FilledMenu(MenuCommand::OpenRecent, "&Recent"),
    EndMenu(),
    DisabledAtStart(Item(MenuCommand::ProtectMap, "Protect")),
    EndMenu(),
};

// The test bar's entries by what they stand for here.
constexpr MenuCommand kSave = MenuCommand::SaveAs;
constexpr MenuCommand kWrap = MenuCommand::BackUpBeforeFirstWrite;
constexpr MenuCommand kRecent = MenuCommand::OpenRecent;
constexpr MenuCommand kProtect = MenuCommand::ProtectMap;

std::unique_ptr<QMainWindow> WindowWith(MenuRouter& router) {
    auto window = std::make_unique<QMainWindow>();
    router.installBar(*window);
    return window;
}

QAction* ItemOf(QWidget& window, MenuCommand command) { return MenuItem(window, MenuCommandName(command)); }
void Trigger(QWidget& window, MenuCommand command) { TriggerMenuItem(window, MenuCommandName(command)); }

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
        MenuRouter router;
        QMainWindow window;
        router.installBar(window);
        QMenuBar* bar = window.menuBar();
        QCOMPARE(bar->objectName(), QStringLiteral("MenuBar1"));
        const QWidget* owner = menu.isEmpty() ? static_cast<QWidget*>(bar) : bar->findChild<QMenu*>(menu);
        QVERIFY(owner);
        QCOMPARE(ItemNames(*owner), items);
    }

    // Every command of the table is one item (or one submenu) on the bar,
    // found by its command's name.
    void everyCommandHasOneItem() {
        MenuRouter router;
        QMainWindow window;
        router.installBar(window);
        for (int command = 0; command < kMenuCommandCount; ++command) {
            const QString name = QLatin1String(MenuCommandName(static_cast<MenuCommand>(command)));
            const auto found = window.menuBar()->findChildren<QAction*>(name).size() +
                               window.menuBar()->findChildren<QMenu*>(name).size();
            QVERIFY2(found == 1, qPrintable(QStringLiteral("%1: %2 items").arg(name).arg(found)));
        }
    }

    void handlerKnowsTheWindowUsed() {
        MenuRouter router(kTestBar, "TestBar");
        auto first = WindowWith(router);
        auto second = WindowWith(router);
        QCOMPARE(first->menuBar()->objectName(), QStringLiteral("TestBar"));
        QList<QMainWindow*> from;
        router.setCommand(kSave, [&from](QMainWindow& window) { from << &window; });
        Trigger(*first, kSave);
        Trigger(*second, kSave);
        // A bar installed after the wiring reaches the same handler.
        auto third = WindowWith(router);
        Trigger(*third, kSave);
        QCOMPARE(from, (QList<QMainWindow*>{first.get(), second.get(), third.get()}));

        // Wired anew, the item reaches only the new handler; unwired, nothing.
        int rewired = 0;
        router.setCommand(kSave, [&rewired](QMainWindow&) { ++rewired; });
        Trigger(*first, kSave);
        router.setCommand(kSave, {});
        Trigger(*first, kSave);
        QCOMPARE(rewired, 1);
        QCOMPARE(from.size(), 3);

        // A bar that outlives its router reaches no handler.
        {
            MenuRouter gone(kTestBar, "TestBar");
            auto orphan = WindowWith(gone);
            gone.setCommand(kSave, [&rewired](QMainWindow&) { ++rewired; });
            second = std::move(orphan);
        }
        Trigger(*second, kSave);
        QCOMPARE(rewired, 1);
    }

    void sharedEnablingReachesLaterBars() {
        MenuRouter router(kTestBar, "TestBar");
        auto early = WindowWith(router);
        QVERIFY(!ItemOf(*early, kProtect)->isEnabled());
        QVERIFY(!router.isEnabled(kProtect));
        router.setEnabled(kProtect, true);
        QVERIFY(ItemOf(*early, kProtect)->isEnabled());
        auto late = WindowWith(router);
        QVERIFY(ItemOf(*late, kProtect)->isEnabled());
        router.setEnabled(kProtect, false);
        QVERIFY(!ItemOf(*early, kProtect)->isEnabled());
        QVERIFY(!ItemOf(*late, kProtect)->isEnabled());
        // The other commands keep their own state.
        QVERIFY(ItemOf(*late, kSave)->isEnabled());
    }

    void enablingOnOneWindowOnly() {
        MenuRouter router(kTestBar, "TestBar");
        auto result = WindowWith(router);
        auto main = WindowWith(router);
        router.setEnabledOn(*main, kSave, false);
        QVERIFY(ItemOf(*result, kSave)->isEnabled());
        QVERIFY(!ItemOf(*main, kSave)->isEnabled());

        // Enabled where both the shared and the window's own state say so.
        router.setEnabled(kSave, false);
        QVERIFY(!ItemOf(*result, kSave)->isEnabled());
        router.setEnabled(kSave, true);
        QVERIFY(ItemOf(*result, kSave)->isEnabled());
        QVERIFY(!ItemOf(*main, kSave)->isEnabled());
        router.setEnabledOn(*main, kSave, true);
        QVERIFY(ItemOf(*main, kSave)->isEnabled());
    }

    void checkMarkIsSharedAndFlippedFirst() {
        MenuRouter router(kTestBar, "TestBar");
        auto first = WindowWith(router);
        auto second = WindowWith(router);
        QVERIFY(ItemOf(*first, kWrap)->isCheckable());
        QVERIFY(!ItemOf(*first, kWrap)->isChecked());
        QList<bool> seenByHandler;
        router.setCommand(kWrap, [&](QMainWindow&) { seenByHandler << router.isChecked(kWrap); });
        Trigger(*first, kWrap);
        QVERIFY(ItemOf(*second, kWrap)->isChecked());
        auto later = WindowWith(router);
        QVERIFY(ItemOf(*later, kWrap)->isChecked());
        Trigger(*second, kWrap);
        QVERIFY(!ItemOf(*first, kWrap)->isChecked());
        QCOMPARE(seenByHandler, (QList<bool>{true, false}));
        router.setChecked(kWrap, true);
        QVERIFY(ItemOf(*first, kWrap)->isChecked());
        QVERIFY(ItemOf(*second, kWrap)->isChecked());
    }

    void filledSubmenuIsMadeOnEachOpening() {
        MenuRouter router(kTestBar, "TestBar");
        auto window = WindowWith(router);
        auto* recent = window->findChild<QMenu*>(QLatin1String(MenuCommandName(kRecent)));
        QVERIFY(recent);
        QVERIFY(recent->actions().isEmpty());
        QStringList files{"a.map", "b.map"};
        QList<QMainWindow*> from;
        router.setFiller(kRecent, [&](QMenu& menu, QMainWindow& window) {
            from << &window;
            for (const QString& file : files) menu.addAction(file);
        });
        emit recent->aboutToShow();
        QCOMPARE(ItemTexts(*recent), files);
        files = {"c.map"};
        emit recent->aboutToShow();
        QCOMPARE(ItemTexts(*recent), files);
        QCOMPARE(from, (QList<QMainWindow*>{window.get(), window.get()}));
        router.setFiller(kRecent, {});
        emit recent->aboutToShow();
        QVERIFY(recent->actions().isEmpty());
    }
};

QTEST_MAIN(MenuBarTest)
#include "menu_bar_test.moc"
