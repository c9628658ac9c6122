// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as built at start-up: controls and their places, the
// shared menu bar, Protect Map's enabling, File > Open, the Edit items and
// every menu command start-up wires.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/RangeWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/shell/MenuBar.h"
#include "ui/support/ExtractionFixtures.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::ui;
using namespace quorin::uitest;

Q_DECLARE_METATYPE(quorin::ui::MessageKind)

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startsEmpty();
    void controls_data();
    void controls();
    void heightStretchesWidthStaysFixed();
    void menuItems_data();
    void menuItems();
    void protectMapEnabledByFirstLoad();
    void otherWindowsShareMenus();
    void cancelledOpenKeepsTheMap();
    void refusalShowsThePathAsNamed();
    void editItemsActOnFocusedField();
    void wiredCommandsReachTheirHandlers_data();
    void wiredCommandsReachTheirHandlers();
    void writeItemsFollowTheMap();
    void readOnlyOpeningShowsInTheTitle();
    void openDialogsAreTitled_data();
    void openDialogsAreTitled();
    void boxesCarryTheirKindsIcon_data();
    void boxesCarryTheirKindsIcon();
    void productionBoxesShowTheIcon();

private:
    MainWindow& window() { return wired_.window(); }
    QWidget& content() { return *window().centralWidget(); }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void MainWindowTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void MainWindowTest::startsEmpty() {
    QCOMPARE(window().windowTitle(), QStringLiteral("Quorin"));
    QCOMPARE(CurrentPage(window()), 0);
    QCOMPARE(List(window()).topLevelItemCount(), 0);
    QVERIFY(!List(window()).isEnabled());
    QVERIFY(List(window()).isHeaderHidden());
    QCOMPARE(List(window()).columnCount(), 1);
    QCOMPARE(content().size(), QSize(700, 722));
    // The menu bar sits above the content and the status line below it, so
    // the window is taller by both.
    QCOMPARE(window().height(), 722 + window().menuBar()->height() + window().statusBar()->height());
    // Page 0 carries the credits.
    auto* credits = window().findChild<QStackedWidget*>(QStringLiteral("PageEditor"))->widget(0);
    QVERIFY(credits->findChildren<QLabel*>().size() >= 4);
}

void MainWindowTest::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");  // window coordinates
    QTest::addColumn<QString>("caption");
    const struct {
        const char* name;
        QRect place;
        const char* caption;
    } rows[] = {
        // The frame, and on each page a label, a field, a popup and the text.
        {"Lb_Select", {0, 0, 364, 722}, ""},
        {"PageEditor", {376, 0, 324, 702}, ""},
        {"StaticText1", {382, 7, 104, 20}, "Script Name"},
        {"FldScriptName", {498, 8, 182, 22}, ""},
        {"PopScriptReturn", {498, 72, 140, 20}, ""},
        {"FldScriptDeComp", {382, 137, 298, 517}, ""},
        {"PopGlobalType", {498, 40, 140, 20}, ""},
        {"StaticText8", {382, 75, 104, 20}, "Expression Pointer"},
        {"FldGlobalDecomp", {382, 107, 298, 66}, ""},
        {"FldSyntaxSibExp", {499, 141, 65, 22}, ""},
        {"FldSyntaxScriptValue", {498, 200, 46, 22}, ""},
        {"StaticText21", {382, 236, 104, 20}, "Child Expression"},
        {"FldSyntaxCommand", {382, 268, 298, 66}, ""},
    };
    for (const auto& row : rows) {
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.place << QString::fromLatin1(row.caption);
    }
}

void MainWindowTest::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, caption);
    auto* control = window().findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    const QPoint topLeft = control->parentWidget()->mapTo(&content(), control->pos());
    QCOMPARE(QRect(topLeft, control->size()), place);
    if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
}

void MainWindowTest::heightStretchesWidthStaysFixed() {
    const QSize before = window().size();
    window().resize(before.width() + 150, before.height() + 200);
    QTRY_COMPARE(content().height(), 922);
    QCOMPARE(window().width(), before.width());
    QCOMPARE(List(window()).geometry(), QRect(0, 0, 364, 922));
    QCOMPARE(window().findChild<QWidget*>(QStringLiteral("PageEditor"))->geometry(), QRect(376, 0, 324, 902));

    window().resize(before.width(), 10);
    QTRY_COMPARE(content().height(), 64);
    QCOMPARE(List(window()).height(), 64);
    window().resize(before);
    QTRY_COMPARE(content().size(), QSize(700, 722));
}

void MainWindowTest::menuItems_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    const QKeySequence none;
    QTest::newRow("FileQuit") << "FileMenu" << "FileQuit" << "&Quit" << QKeySequence(Qt::CTRL | Qt::Key_Q);
    QTest::newRow("Fileopen") << "FileMenu" << "Fileopen" << "&Open" << QKeySequence(Qt::CTRL | Qt::Key_O);
    QTest::newRow("FileOpenReadOnly") << "FileMenu" << "FileOpenReadOnly" << QStringLiteral("Open &Read-Only\u2026")
                                      << none;
    QTest::newRow("FileCompareWith") << "FileMenu" << "FileCompareWith" << QStringLiteral("Compare &With\u2026")
                                     << QKeySequence(Qt::CTRL | Qt::Key_D);
    QTest::newRow("EditUndo") << "EditMenu" << "EditUndo" << "&Undo" << QKeySequence(Qt::CTRL | Qt::Key_Z);
    QTest::newRow("UntitledMenu1") << "EditMenu" << "UntitledMenu1" << "" << none;
    QTest::newRow("EditCut") << "EditMenu" << "EditCut" << "Cu&t" << QKeySequence(Qt::CTRL | Qt::Key_X);
    QTest::newRow("EditCopy") << "EditMenu" << "EditCopy" << "&Copy" << QKeySequence(Qt::CTRL | Qt::Key_C);
    QTest::newRow("EditPaste") << "EditMenu" << "EditPaste" << "&Paste" << QKeySequence(Qt::CTRL | Qt::Key_V);
    QTest::newRow("EditClear") << "EditMenu" << "EditClear" << "&Delete" << none;
    QTest::newRow("UntitledMenu0") << "EditMenu" << "UntitledMenu0" << "" << none;
    QTest::newRow("EditSelectAll") << "EditMenu" << "EditSelectAll" << "Select &All" << QKeySequence(Qt::CTRL | Qt::Key_A);
    QTest::newRow("FileSaveAs") << "FileMenu" << "FileSaveAs" << QStringLiteral("Save &As\u2026")
                                << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    QTest::newRow("EditFind") << "EditMenu" << "EditFind" << QStringLiteral("&Find\u2026")
                              << QKeySequence(Qt::CTRL | Qt::Key_F);
    QTest::newRow("EditFindNext") << "EditMenu" << "EditFindNext" << "Find &Next" << QKeySequence(Qt::Key_F3);
    QTest::newRow("EditFindPrevious") << "EditMenu" << "EditFindPrevious" << "Find Pre&vious"
                                      << QKeySequence(Qt::SHIFT | Qt::Key_F3);
    QTest::newRow("ScriptToolsProtectMap") << "ScriptMenu" << "ScriptToolsProtectMap" << "&Protect Map"
                                           << QKeySequence(Qt::CTRL | Qt::Key_P);
    QTest::newRow("Extractall") << "ScriptToolsExtract" << "Extractall" << "All" << none;
    QTest::newRow("ExtractGlobalRange") << "ScriptToolsExtract" << "ExtractGlobalRange" << "Global Range" << none;
    QTest::newRow("ExtractScriptRange") << "ScriptToolsExtract" << "ExtractScriptRange" << "Script Range" << none;
    QTest::newRow("ScriptToolsdatabase") << "ScriptMenu" << "ScriptToolsdatabase" << "&Database" << none;
    QTest::newRow("ScriptToolsUndoWrite") << "ScriptMenu" << "ScriptToolsUndoWrite" << "&Undo Last Write"
                                          << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QTest::newRow("ScriptToolsRedoWrite") << "ScriptMenu" << "ScriptToolsRedoWrite" << "&Redo Write"
                                          << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y);
    QTest::newRow("ScriptToolsBackUp") << "ScriptMenu" << "ScriptToolsBackUp" << "Back Up Before First Write" << none;
}

void MainWindowTest::menuItems() {
    QFETCH(QString, menu);
    QFETCH(QString, item);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    auto* bar = window().menuBar();
    QCOMPARE(bar->objectName(), QStringLiteral("MenuBar1"));
    auto* owner = bar->findChild<QMenu*>(menu);
    QVERIFY(owner);
    QAction* action = nullptr;
    for (QAction* candidate : owner->actions()) {
        if (candidate->objectName() == item) action = candidate;
    }
    QVERIFY2(action, qPrintable(item));
    if (action->isSeparator()) return;
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut(), shortcut);
}

void MainWindowTest::protectMapEnabledByFirstLoad() {
    QAction* protect = MenuItem(window(), "ScriptToolsProtectMap");
    QVERIFY(!protect->isEnabled());
    QSignalSpy loads(&window(), &MainWindow::mapLoaded);

    auto refused = DemoMap();
    refused.version = 609;
    QCOMPARE(OpenThroughMenu(window(), dialogs_, QString::fromStdString(testing::WriteMap(dir_, refused, "old.map"))),
             QStringList{QStringLiteral("cant load |1|")});
    QVERIFY(!protect->isEnabled());
    QCOMPARE(List(window()).topLevelItemCount(), 0);
    QCOMPARE(loads.count(), 0);

    const QString demo = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "demo.map"));
    QCOMPARE(OpenThroughMenu(window(), dialogs_, demo), QStringList{QStringLiteral("Map loaded!")});
    QVERIFY(protect->isEnabled());
    QVERIFY(List(window()).isEnabled());
    QCOMPARE(loads.count(), 1);
    QCOMPARE(TopTexts(List(window())), (QStringList{"scripts", "globals"}));
    QVERIFY(dialogs_.lastFilter.contains(QStringLiteral("*.map")));
}

void MainWindowTest::otherWindowsShareMenus() {
    QMainWindow other;
    wired_.menus().installBar(other);
    QCOMPARE(other.menuBar()->objectName(), QStringLiteral("MenuBar1"));
    // Protect Map follows the one loaded map, whichever bar shows it.
    QCOMPARE(MenuItem(other, "ScriptToolsProtectMap")->isEnabled(), wired_.menus().isEnabled(MenuCommand::ProtectMap));
    wired_.menus().setEnabled(MenuCommand::ProtectMap, false);
    QVERIFY(!MenuItem(other, "ScriptToolsProtectMap")->isEnabled());
    QVERIFY(!MenuItem(window(), "ScriptToolsProtectMap")->isEnabled());
    wired_.menus().setEnabled(MenuCommand::ProtectMap, true);
    QVERIFY(MenuItem(other, "ScriptToolsProtectMap")->isEnabled());

    // File > Open on another window loads into the main window.
    const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "again.map"));
    const int dialogsBefore = dialogs_.openDialogs;
    QCOMPARE(OpenThroughMenu(other, dialogs_, path).value(0), QStringLiteral("Map loaded!"));
    QCOMPARE(dialogs_.openDialogs, dialogsBefore + 1);
    QCOMPARE(window().state().loadedPath(), path.toStdString());
}

void MainWindowTest::cancelledOpenKeepsTheMap() {
    const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "kept.map"));
    OpenThroughMenu(window(), dialogs_, path);
    const auto messagesBefore = dialogs_.messages.size();
    TriggerMenuItem(window(), "Fileopen");  // nothing queued: the user cancels
    QCOMPARE(dialogs_.messages.size(), messagesBefore);
    QCOMPARE(window().state().loadedPath(), path.toStdString());  // still the map edits write
    QCOMPARE(TopTexts(List(window())), (QStringList{"scripts", "globals"}));
    QCOMPARE(window().state().ScriptHeaderCache.size(), std::size_t{6});
}

void MainWindowTest::refusalShowsThePathAsNamed() {
    // The message quotes the path's bytes; they are the file system's, not
    // map text, so a non-ASCII folder name must not turn into other letters.
    const QString path = QString::fromStdString(dir_.path("")) + QString::fromUtf8("k\u00e4rta \u5730\u56f3.map");
    QCOMPARE(OpenThroughMenu(window(), dialogs_, path),
             QStringList{QStringLiteral("Can't open \"%1\": the file does not exist.").arg(path)});
}

void MainWindowTest::editItemsActOnFocusedField() {
    const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "edit.map"));
    OpenThroughMenu(window(), dialogs_, path);
    QTreeWidget& list = List(window());
    QTreeWidgetItem* script = ExpandPath(list, {"scripts"});
    QVERIFY(script);
    ClickRow(list, *Row(list, "s: intro", script));
    QLineEdit& name = Field(window(), "FldScriptName");
    QCOMPARE(name.text(), QStringLiteral("intro"));

    QApplication::setActiveWindow(&window());
    name.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&name));
    TriggerMenuItem(window(), "EditSelectAll");
    QCOMPARE(name.selectedText(), QStringLiteral("intro"));
    TriggerMenuItem(window(), "EditCut");
    QCOMPARE(name.text(), QString());
    TriggerMenuItem(window(), "EditPaste");
    TriggerMenuItem(window(), "EditPaste");
    QCOMPARE(name.text(), QStringLiteral("introintro"));
    TriggerMenuItem(window(), "EditUndo");
    QCOMPARE(name.text(), QStringLiteral("intro"));
    name.setSelection(0, 2);
    TriggerMenuItem(window(), "EditCopy");
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("in"));
    TriggerMenuItem(window(), "EditClear");
    QCOMPARE(name.text(), QStringLiteral("tro"));

    auto& text = *window().findChild<QPlainTextEdit*>(QStringLiteral("FldScriptDeComp"));
    text.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&text));
    TriggerMenuItem(window(), "EditSelectAll");
    TriggerMenuItem(window(), "EditCopy");
    QCOMPARE(QApplication::clipboard()->text(), text.toPlainText());
}

void MainWindowTest::wiredCommandsReachTheirHandlers_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("fromResultWindow");
    QTest::addColumn<QString>("reached");  // what the handler opened
    QTest::addColumn<QString>("box");      // part of the one box it shows; empty: no box
    const struct {
        const char* item;
        const char* reached;
        const char* box;
    } rows[] = {
        {"Fileopen", "open dialog", ""},
        {"FileOpenReadOnly", "open dialog", ""},
        {"ScriptToolsProtectMap", "", "Map is now protected"},
        {"ExtractScriptRange", "range page 1", ""},
        {"ExtractGlobalRange", "range page 2", ""},
        {"Extractall", "result window Extracted", "The extraction is done."},
        {"ScriptToolsdatabase", "result window Map Script command DataBase", " were added."},
    };
    for (const bool fromResultWindow : {false, true}) {
        for (const auto& row : rows) {
            QTest::addRow("%s from %s", row.item, fromResultWindow ? "a result window" : "the main window")
                << QString::fromLatin1(row.item) << fromResultWindow << QString::fromLatin1(row.reached)
                << QString::fromLatin1(row.box);
        }
    }
}

void MainWindowTest::wiredCommandsReachTheirHandlers() {
    QFETCH(QString, item);
    QFETCH(bool, fromResultWindow);
    QFETCH(QString, reached);
    QFETCH(QString, box);
    // Each row protects or extracts a copy of its own.
    const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "wired.map"));
    QCOMPARE(OpenThroughMenu(window(), dialogs_, path), QStringList{QStringLiteral("Map loaded!")});
    QMainWindow* from = &window();
    if (fromResultWindow) from = new ResultWindow(wired_.context());
    const QList<ResultWindow*> resultsBefore = ResultWindows();
    const int dialogsBefore = dialogs_.openDialogs;
    const auto messagesBefore = dialogs_.messages.size();

    TriggerMenuItem(*from, item.toLatin1().constData());
    // Extract > All answers once its worker is done.
    if (!box.isEmpty()) QTRY_COMPARE(dialogs_.messages.size(), messagesBefore + 1);
    QStringList opened;
    if (dialogs_.openDialogs > dialogsBefore) opened << QStringLiteral("open dialog");
    QList<RangeWindow*> ranges;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* range = qobject_cast<RangeWindow*>(widget); range && range->isVisible()) ranges << range;
    }
    for (RangeWindow* range : ranges) {
        const int page = range->findChild<QStackedWidget*>(QStringLiteral("BgkRnd"))->currentIndex();
        opened << QStringLiteral("range page %1").arg(page);
    }
    qDeleteAll(ranges);
    for (ResultWindow* result : NewResultWindows(resultsBefore)) opened << QStringLiteral("result window ") + result->windowTitle();
    QCOMPARE(opened.join(QStringLiteral(", ")), reached);
    QCOMPARE(dialogs_.messages.size(), messagesBefore + (box.isEmpty() ? 0 : 1));
    if (!box.isEmpty()) QVERIFY2(dialogs_.messages.last().contains(box), qPrintable(dialogs_.messages.last()));
    CloseResultWindows();
}

// Protect Map, Undo Last Write and Redo Write are enabled exactly while they
// can do something, on every window's bar; Back Up is a check item, on.
void MainWindowTest::writeItemsFollowTheMap() {
    const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "items.map"));
    QCOMPARE(OpenThroughMenu(window(), dialogs_, path), QStringList{QStringLiteral("Map loaded!")});
    auto* result = new ResultWindow(wired_.context());
    const auto enabled = [&](QWidget& on) {
        QString state;
        for (const char* item : {"ScriptToolsProtectMap", "ScriptToolsUndoWrite", "ScriptToolsRedoWrite"}) {
            state += MenuItem(on, item)->isEnabled() ? QLatin1Char('+') : QLatin1Char('-');
        }
        return state;
    };
    const auto both = [&] {
        const QString state = enabled(window());
        return state == enabled(*result) ? state : state + QStringLiteral(" but ") + enabled(*result);
    };
    QAction* backUp = MenuItem(window(), "ScriptToolsBackUp");
    QVERIFY(backUp->isCheckable());
    QVERIFY(backUp->isChecked());
    QCOMPARE(both(), QStringLiteral("+--"));

    QTreeWidgetItem* scripts = ExpandPath(List(window()), {QStringLiteral("scripts")});
    ClickRow(List(window()), *Row(List(window()), QStringLiteral("s: intro"), scripts));
    QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
    TypeInto(pointer, QStringLiteral("7"));
    QTest::keyClick(&pointer, Qt::Key_Return);
    QCOMPARE(both(), QStringLiteral("++-"));
    TriggerMenuItem(*result, "ScriptToolsUndoWrite");
    QCOMPARE(both(), QStringLiteral("+-+"));
    TriggerMenuItem(window(), "ScriptToolsRedoWrite");
    QCOMPARE(both(), QStringLiteral("++-"));

    // Another load starts with nothing to undo.
    QCOMPARE(OpenThroughMenu(window(), dialogs_, path), QStringList{QStringLiteral("Map loaded!")});
    QCOMPARE(both(), QStringLiteral("+--"));

    // Read-only: nothing that writes is enabled.
    dialogs_.answerOpen(path);
    TriggerMenuItem(window(), "FileOpenReadOnly");
    QCOMPARE(dialogs_.messages.last(), QStringLiteral("Map loaded!"));
    QCOMPARE(both(), QStringLiteral("---"));
    delete result;
}

void MainWindowTest::readOnlyOpeningShowsInTheTitle() {
    const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "title.map"));
    QCOMPARE(OpenThroughMenu(window(), dialogs_, path), QStringList{QStringLiteral("Map loaded!")});
    QCOMPARE(window().windowTitle(), QStringLiteral("Quorin \u2014 title.map"));
    QCOMPARE(window().objectName(), QStringLiteral("MainWindow"));
    QVERIFY(!Field(window(), "FldScriptName").isReadOnly());
    QVERIFY(Popup(window(), "PopScriptType").isEnabled());

    dialogs_.answerOpen(path);
    TriggerMenuItem(window(), "FileOpenReadOnly");
    QCOMPARE(window().windowTitle(), QStringLiteral("Quorin \u2014 title.map [read-only]"));
    QVERIFY(Field(window(), "FldScriptName").isReadOnly());
    QVERIFY(Field(window(), "FldSyntaxKidExp").isReadOnly());
    QVERIFY(!Popup(window(), "PopScriptType").isEnabled());
    QVERIFY(!Popup(window(), "PopSyntaxType").isEnabled());

    // A refused open leaves the title of the map still shown.
    dialogs_.answerOpen(QString::fromStdString(dir_.path("missing.map")));
    TriggerMenuItem(window(), "Fileopen");
    QCOMPARE(window().windowTitle(), QStringLiteral("Quorin \u2014 title.map [read-only]"));
}

void MainWindowTest::openDialogsAreTitled_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");
    QTest::newRow("File > Open") << "Fileopen" << "Open";
    QTest::newRow("File > Open Read-Only") << "FileOpenReadOnly" << "Open Read-Only";
}

void MainWindowTest::openDialogsAreTitled() {
    QFETCH(QString, item);
    QFETCH(QString, title);
    TriggerMenuItem(window(), qPrintable(item));  // nothing queued: cancelled
    QCOMPARE(dialogs_.lastOpenTitle, title);
}

// What went wrong carries the warning icon, what went well the information
// icon; one row for each way the window shows a box.
void MainWindowTest::boxesCarryTheirKindsIcon_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("box");  // the start of its text
    QTest::addColumn<MessageKind>("kind");
    QTest::newRow("map loaded") << "open" << "Map loaded!" << MessageKind::Information;
    QTest::newRow("map refused") << "open refused" << "cant load" << MessageKind::Warning;
    QTest::newRow("name refused") << "name" << "The name" << MessageKind::Warning;
    QTest::newRow("write refused") << "changed" << "The map" << MessageKind::Warning;
    QTest::newRow("map protected") << "protect" << "Map is now protected" << MessageKind::Information;
}

void MainWindowTest::boxesCarryTheirKindsIcon() {
    QFETCH(QString, action);
    QFETCH(QString, box);
    QFETCH(MessageKind, kind);
    MapBuilder map = DemoMap();
    if (action == QLatin1String("open refused")) map.version = 609;
    const std::string path = testing::WriteMap(dir_, map, "kinds.map");
    OpenThroughMenu(window(), dialogs_, QString::fromStdString(path));
    if (action == QLatin1String("protect")) TriggerMenuItem(window(), "ScriptToolsProtectMap");
    if (action == QLatin1String("name") || action == QLatin1String("changed")) {
        if (action == QLatin1String("changed")) {
            testing::WriteBytes(path + ".new", testing::ReadBytes(path));
            QVERIFY(std::rename((path + ".new").c_str(), path.c_str()) == 0);
        }
        QVERIFY(SelectRow(List(window()), {"scripts"}, "s: intro"));
        QLineEdit& name = Field(window(), "FldScriptName");
        TypeInto(name, action == QLatin1String("name") ? QStringLiteral("\u20ac") : QStringLiteral("x"));
        QTest::keyClick(&name, Qt::Key_Return);
    }
    QVERIFY2(dialogs_.messages.last().startsWith(box), qPrintable(dialogs_.messages.last()));
    QCOMPARE(dialogs_.kinds.size(), dialogs_.messages.size());
    QCOMPARE(dialogs_.kinds.last(), kind);
}

// The real boxes show the icon of their kind.
void MainWindowTest::productionBoxesShowTheIcon() {
    OpenThroughMenu(window(), dialogs_, QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "icons.map")));
    QVERIFY(SelectRow(List(window()), {"scripts"}, "s: intro"));
    ModalDialogs modal;
    dialogs_.showMessagesWith = &modal;
    QList<QMessageBox::Icon> icons;
    const auto answer = [&icons] {
        QTimer::singleShot(0, [&icons] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            icons << box->icon();
            box->accept();
        });
    };
    answer();
    TriggerMenuItem(window(), "ScriptToolsProtectMap");
    answer();
    QLineEdit& name = Field(window(), "FldScriptName");
    TypeInto(name, QStringLiteral("\u20ac"));
    QTest::keyClick(&name, Qt::Key_Return);
    dialogs_.showMessagesWith = nullptr;
    QCOMPARE(icons, (QList<QMessageBox::Icon>{QMessageBox::Information, QMessageBox::Warning}));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
