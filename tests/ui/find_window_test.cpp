// SPDX-License-Identifier: GPL-3.0-or-later
// The Find window: typing searches after a pause, a new load searches the
// new map, and activating a hit shows its row in the main window. Which
// records are hits, and which row a hit leads to, is the core's
// (tests/core/map_search_test.cpp).

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "builder/DemoMap.h"
#include "search/MapSearch.h"
#include "support/EdgeMaps.h"
#include "support/TempMap.h"
#include "ui/find/FindWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

ui::FindWindow* OpenFindWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* find = qobject_cast<ui::FindWindow*>(widget); find && find->isVisible()) return find;
    }
    return nullptr;
}

QStringList RowTexts(const QTreeView& view, int row) {
    QStringList texts;
    for (int column = 0; column < view.model()->columnCount(); ++column) {
        texts << view.model()->index(row, column).data().toString();
    }
    return texts;
}

// Everything the editor shows: every field's text and every popup's item.
QStringList EditorShows(MainWindow& window) {
    QStringList shown{QString::number(CurrentPage(window))};
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) shown << field->objectName() + "=" + field->text();
    for (QPlainTextEdit* area : window.findChildren<QPlainTextEdit*>()) shown << area->objectName() + "=" + area->toPlainText();
    for (QComboBox* popup : window.findChildren<QComboBox*>()) {
        shown << popup->objectName() + "=" + QString::number(popup->currentIndex());
    }
    return shown;
}

}  // namespace

class FindWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Closing the main window is part of a test, not the end of the run.
        QApplication::setQuitOnLastWindowClosed(false);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }
    void cleanup() {
        if (ui::FindWindow* find = OpenFindWindow()) find->close();
        QTRY_VERIFY(!OpenFindWindow());
    }

    void menuItemOpensOneWindow() {
        QAction* item = MenuItem(window(), "ScriptToolsFindInMap");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Find in Map…"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
        ui::FindWindow* find = openFind();
        QVERIFY(find);
        TriggerMenuItem(window(), "ScriptToolsFindInMap");
        QCOMPARE(OpenFindWindow(), find);
        // Its own bar reaches the same commands.
        QVERIFY(find->findChild<QAction*>(QStringLiteral("ScriptToolsFindInMap")));
    }

    void typingSearchesAfterAPause() {
        open(testing::SearchMap(), "search.map");
        ui::FindWindow* find = openFind();
        TypeInto(query(*find), "VAULT_open");
        QVERIFY(find->searching());
        QVERIFY2(find->hits().empty(), "no search for every key");
        QTRY_VERIFY(!find->searching());
        QVERIFY(find->hits() == FindInMap(window().state(), "VAULT_open").hits);
        QTreeView& view = hitList(*find);
        QCOMPARE(view.model()->rowCount(), 3);
        QCOMPARE(RowTexts(view, 0), (QStringList{"global", "vault_open", "", ""}));
        QCOMPARE(RowTexts(view, 2), (QStringList{"use", "beta", "16", "vault_open"}));
        QCOMPARE(find->findChild<QLabel*>(QStringLiteral("LblFindCount"))->text(), QStringLiteral("3 hits"));

        // Emptying the field empties the list.
        TypeInto(query(*find), "");
        QTRY_VERIFY(!find->searching());
        QCOMPARE(view.model()->rowCount(), 0);
    }

    void activatingAHit_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("hit");
        QTest::addColumn<QString>("selected");  // the selected row's text
        QTest::addColumn<QString>("parent");    // its parent's text
        QTest::addColumn<int>("parentRow");     // the parent's place among its siblings
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("shownName");  // a field of that page

        // beta's rows are 20 21 14 15 16 17 18 19: the node is in another
        // script's walk too, and the row under beta is the one chosen.
        QTest::newRow("use") << "vault_open" << 2 << "16"
                             << "s: beta" << 1 << 3 << "FldSyntaxCommand=vault_open";
        QTest::newRow("use on the child line")
            << "begin" << 1 << "21"
            << "s: beta" << 1 << 3 << "FldSyntaxExpIdent=21";
        QTest::newRow("script") << QString::fromLatin1("\xe9") << 0 << QString::fromLatin1("s: caf\xe9") << "scripts" << 0
                                << 1 << QString::fromLatin1("FldScriptName=caf\xe9");
        QTest::newRow("global") << "vault" << 0 << "g: vault_open"
                                << "globals" << 1 << 2 << "FldGlobalName=vault_open";
        // The root the dictionary lacks: its row reaches node 0, which the
        // script's text shows in its place.
        QTest::newRow("use through a missing root") << "fallback" << 0 << "999"
                                                    << "s: lost" << 3 << 3 << "FldSyntaxCommand=Fallback_Text";
    }
    void activatingAHit() {
        QFETCH(QString, query);
        QFETCH(int, hit);
        QFETCH(QString, selected);
        QFETCH(QString, parent);
        QFETCH(int, parentRow);
        QFETCH(int, page);
        QFETCH(QString, shownName);
        open(testing::SearchMap(), "search.map");
        ui::FindWindow* find = openFind();
        TypeInto(this->query(*find), query);
        QTRY_VERIFY(!find->searching());
        QTreeView& view = hitList(*find);
        QVERIFY(view.model()->rowCount() > hit);

        // Return on the row activates it, as a double click does.
        view.setFocus();
        view.setCurrentIndex(view.model()->index(hit, 0));
        QTest::keyClick(&view, Qt::Key_Return);

        QTreeWidgetItem* row = List(window()).currentItem();
        QVERIFY(row);
        QCOMPARE(row->text(0), selected);
        QVERIFY(row->isSelected());
        QVERIFY(row->parent());
        QCOMPARE(row->parent()->text(0), parent);
        QVERIFY(row->parent()->isExpanded());
        const int place = row->parent()->parent() ? row->parent()->parent()->indexOfChild(row->parent())
                                                  : List(window()).indexOfTopLevelItem(row->parent());
        QCOMPARE(place, parentRow);
        QCOMPARE(CurrentPage(window()), page);
        const QStringList shown = EditorShows(window());
        QVERIFY2(shown.contains(shownName), qPrintable(shown.join('\n')));

        // The page is the one a click on that row shows.
        ClickRow(List(window()), *row->parent());
        ClickRow(List(window()), *row);
        QCOMPARE(EditorShows(window()), shown);

        // Activated again while the row is still selected, it shows anew.
        const QString shownField = shownName.left(shownName.indexOf('='));
        if (auto* line = window().findChild<QLineEdit*>(shownField)) line->setText(QStringLiteral("scribbled"));
        if (auto* area = window().findChild<QPlainTextEdit*>(shownField)) area->setPlainText(QStringLiteral("scribbled"));
        QVERIFY(EditorShows(window()) != shown);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(List(window()).currentItem(), row);
        QCOMPARE(EditorShows(window()), shown);
    }

    // intro renamed to watch_gate: both rows then read "s: watch_gate", yet
    // each, and each of the two hits, shows its own script, and an edit on
    // the second one's page goes to the real watch_gate.
    void renamedRecordLeavesTheOtherReachable() {
        open(DemoMap(), "renamed.map");
        QVERIFY(SelectRow(List(window()), {"scripts"}, "s: intro"));
        QLineEdit& name = Field(window(), "FldScriptName");
        TypeInto(name, QStringLiteral("watch_gate"));
        QTest::keyClick(&name, Qt::Key_Return);
        QTreeWidgetItem* scripts = Row(List(window()), QStringLiteral("scripts"));
        QTreeWidgetItem* intro = scripts->child(1);
        QTreeWidgetItem* gate = scripts->child(2);
        QCOMPARE(intro->text(0), QStringLiteral("s: watch_gate"));
        QCOMPARE(gate->text(0), QStringLiteral("s: watch_gate"));
        auto& script = *window().findChild<QPlainTextEdit*>(QStringLiteral("FldScriptDeComp"));
        const QString introText = script.toPlainText();
        QVERIFY2(introText.contains(QStringLiteral("print")), qPrintable(introText));

        ClickRow(List(window()), *gate);
        QVERIFY2(script.toPlainText().contains(QStringLiteral("volume_test gate_volume")), qPrintable(script.toPlainText()));
        ExpandRow(List(window()), *gate);
        QCOMPARE(gate->child(0)->text(0), QStringLiteral("127"));
        ClickRow(List(window()), *intro);
        QCOMPARE(script.toPlainText(), introText);

        ui::FindWindow* find = openFind();
        TypeInto(query(*find), "watch_gate");
        QTRY_VERIFY(!find->searching());
        QTreeView& view = hitList(*find);
        QCOMPARE(view.model()->rowCount(), 2);
        view.setFocus();
        view.setCurrentIndex(view.model()->index(1, 0));
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(List(window()).currentItem(), gate);
        QVERIFY(script.toPlainText().contains(QStringLiteral("volume_test gate_volume")));

        QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
        TypeInto(pointer, QStringLiteral("-3"));
        QTest::keyClick(&pointer, Qt::Key_Return);
        QCOMPARE(window().state().ScriptHeaderCache[2].ExpPointer, -3);
        QCOMPARE(window().state().ScriptHeaderCache[1].ExpPointer, 119);
    }

    void followsANewLoad() {
        open(testing::SearchMap(), "search.map");
        ui::FindWindow* find = openFind();
        TypeInto(query(*find), "begin");
        QTRY_VERIFY(!find->searching());
        QCOMPARE(find->hits().size(), std::size_t{3});

        // Loaded while a search waits for the pause: what arrives belongs to
        // the new map.
        TypeInto(query(*find), "print");
        QVERIFY(find->searching());
        open(testing::EdgeMap(), "edge.map");
        QTRY_VERIFY(!find->searching());
        QVERIFY(find->hits() == FindInMap(window().state(), "print").hits);
        QCOMPARE(find->hits().size(), std::size_t{2});

        // Activating a hit found in the new map reaches the new tree.
        QTreeView& view = hitList(*find);
        view.setFocus();
        view.setCurrentIndex(view.model()->index(1, 0));
        QTest::keyClick(&view, Qt::Key_Return);
        QTreeWidgetItem* row = List(window()).currentItem();
        QCOMPARE(row->text(0), QStringLiteral("12"));
        QCOMPARE(row->parent()->text(0), QStringLiteral("s: a: b"));
    }

    void closesWithTheMainWindow() {
        QPointer<ui::FindWindow> find = openFind();
        QVERIFY(find);
        window().close();
        QTRY_VERIFY(!find);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

private:
    MainWindow& window() { return wired_.window(); }
    void open(const MapBuilder& map, const char* name) {
        const QStringList shown = OpenThroughMenu(window(), dialogs_, QString::fromStdString(testing::WriteMap(dir_, map, name)));
        QCOMPARE(shown, QStringList{QStringLiteral("Map loaded!")});
    }
    ui::FindWindow* openFind() {
        TriggerMenuItem(window(), "ScriptToolsFindInMap");
        return OpenFindWindow();
    }
    static QLineEdit& query(ui::FindWindow& find) { return *find.findChild<QLineEdit*>(QStringLiteral("FldFindQuery")); }
    static QTreeView& hitList(ui::FindWindow& find) { return *find.findChild<QTreeView*>(QStringLiteral("LstFindHits")); }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

QTEST_MAIN(FindWindowTest)
#include "find_window_test.moc"
