// SPDX-License-Identifier: GPL-3.0-or-later
// The script tree as widgets: the rows the browse layer gives, made at each
// expansion and dropped at each collapse. Which rows those are is the
// browse layer's (tests/core/browse_test.cpp).

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "browse/TreeRows.h"
#include "builder/DemoMap.h"
#include "support/EdgeMaps.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/shell/MapText.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

Q_DECLARE_METATYPE(quorin::RowKey)

namespace {

QStringList Texts(const std::vector<TreeRow>& rows) {
    QStringList texts;
    for (const TreeRow& row : rows) texts << ui::FromMapText(row.text);
    return texts;
}

QTreeWidgetItem::ChildIndicatorPolicy IndicatorFor(const TreeRow& row) {
    return row.folder ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator;
}

}  // namespace

class ScriptTreeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void newMapReplacesTheRows();
    void expandingAddsTheBrowseRows_data();
    void expandingAddsTheBrowseRows();
    void collapseDropsChildrenAndReexpandRebuilds();
    void expandingSelectsTheRowFirst();
    void unknownFolderRow();

private:
    MainWindow& window() { return wired_.window(); }
    QTreeWidget& list() { return List(window()); }
    void open(const MapBuilder& map, const char* name);

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void ScriptTreeTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void ScriptTreeTest::open(const MapBuilder& map, const char* name) {
    const QString path = QString::fromStdString(testing::WriteMap(dir_, map, name));
    QCOMPARE(OpenThroughMenu(window(), dialogs_, path), QStringList{QStringLiteral("Map loaded!")});
}

void ScriptTreeTest::newMapReplacesTheRows() {
    open(DemoMap(), "first.map");
    QVERIFY(ExpandPath(list(), {"scripts", "s: intro"}));
    // Only the second map's folders stay, with no children made yet.
    open(testing::CountsMap(0, 3), "counts.map");
    const std::vector<TreeRow> top = TopRows(window().state());
    QCOMPARE(TopTexts(list()), Texts(top));
    for (int i = 0; i < list().topLevelItemCount(); ++i) {
        QTreeWidgetItem* folder = list().topLevelItem(i);
        QCOMPARE(folder->childCount(), 0);
        QCOMPARE(folder->childIndicatorPolicy(), IndicatorFor(top[static_cast<std::size_t>(i)]));
    }
}

void ScriptTreeTest::expandingAddsTheBrowseRows_data() {
    QTest::addColumn<QStringList>("path");  // rows expanded in turn
    QTest::addColumn<RowKey>("key");        // the last row's
    QTest::newRow("scripts") << QStringList{"scripts"} << RowKey{RowKind::ScriptsFolder, 0};
    QTest::newRow("globals") << QStringList{"globals"} << RowKey{RowKind::GlobalsFolder, 0};
    QTest::newRow("script") << QStringList{"scripts", "s: patrol_loop"} << RowKey{RowKind::Script, 0};
    QTest::newRow("global") << QStringList{"globals", "g: guard_count"} << RowKey{RowKind::Global, 2};
}

void ScriptTreeTest::expandingAddsTheBrowseRows() {
    QFETCH(QStringList, path);
    QFETCH(RowKey, key);
    open(DemoMap(), "demo.map");
    const auto messagesBefore = dialogs_.messages.size();
    QTreeWidgetItem* row = ExpandPath(list(), path);
    QVERIFY(row);
    QVERIFY(row->isExpanded());
    const ChildRows children = ChildRowsFor(window().state(), key);
    QVERIFY(!children.rows.empty());
    QCOMPARE(ChildTexts(*row), Texts(children.rows));
    // Folder rows show their expand indicator before they have children.
    for (int i = 0; i < row->childCount(); ++i) {
        QCOMPARE(row->child(i)->childIndicatorPolicy(), IndicatorFor(children.rows[static_cast<std::size_t>(i)]));
    }
    QCOMPARE(dialogs_.messages.size(), messagesBefore);
}

void ScriptTreeTest::collapseDropsChildrenAndReexpandRebuilds() {
    open(DemoMap(), "demo.map");
    QTreeWidgetItem* script = ExpandPath(list(), {"scripts", "s: intro"});
    QVERIFY(script);
    QTreeWidgetItem* scripts = Row(list(), "scripts");
    const QStringList scriptRows = ChildTexts(*scripts);
    const QStringList nodes = ChildTexts(*script);
    QVERIFY(!nodes.isEmpty());

    CollapseRow(list(), *scripts);
    QVERIFY(!scripts->isExpanded());
    QCOMPARE(scripts->childCount(), 0);
    QCOMPARE(list().currentItem(), scripts);

    for (int round = 0; round < 2; ++round) {
        script = ExpandPath(list(), {"scripts", "s: intro"});
        QCOMPARE(ChildTexts(*scripts), scriptRows);
        QCOMPARE(ChildTexts(*script), nodes);
        CollapseRow(list(), *script);
        QCOMPARE(script->childCount(), 0);
        QCOMPARE(ChildTexts(*scripts), scriptRows);
        CollapseRow(list(), *scripts);
    }
}

void ScriptTreeTest::expandingSelectsTheRowFirst() {
    open(DemoMap(), "demo.map");
    QTreeWidgetItem* globals = ExpandPath(list(), {"globals"});
    QTreeWidgetItem* global = Row(list(), "g: vault_code", globals);
    // The expand indicator alone expands the row; it becomes the selection.
    list().expandItem(global);
    QCOMPARE(list().currentItem(), global);
    QCOMPARE(CurrentPage(window()), 2);
    QCOMPARE(Field(window(), "FldGlobalName").text(), QStringLiteral("vault_code"));

    // A top folder is selected too, but the page stays as it was.
    QTreeWidgetItem* scripts = Row(list(), "scripts");
    list().expandItem(scripts);
    QCOMPARE(list().currentItem(), scripts);
    QCOMPARE(CurrentPage(window()), 2);
    QCOMPARE(Field(window(), "FldGlobalName").text(), QStringLiteral("vault_code"));

    list().expandItem(Row(list(), "s: watch_gate", scripts));
    QCOMPARE(CurrentPage(window()), 1);
    QCOMPARE(Field(window(), "FldScriptName").text(), QStringLiteral("watch_gate"));
}

void ScriptTreeTest::unknownFolderRow() {
    open(DemoMap(), "demo.map");
    // No load makes such a row; a folder that is neither kind gets a message.
    auto* stray = new QTreeWidgetItem(QStringList{QStringLiteral("x: stray")});
    stray->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    list().addTopLevelItem(stray);
    const auto messagesBefore = dialogs_.messages.size();
    ExpandRow(list(), *stray);
    QCOMPARE(dialogs_.messages.mid(messagesBefore),
             QStringList{QStringLiteral("i dont know what you did but this isnt a global or a script?!")});
    QCOMPARE(stray->childCount(), 0);
}

QTEST_MAIN(ScriptTreeTest)
#include "script_tree_test.moc"
