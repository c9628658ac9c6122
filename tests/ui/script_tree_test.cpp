// The script tree: folder rows of a load, children made at each expansion
// and dropped at each collapse, rows told apart by their text alone.

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "map/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/support/EdgeMaps.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

class ScriptTreeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void folderRows_data();
    void folderRows();
    void foldersListEveryRecordInOrder();
    void childRows_data();
    void childRows();
    void collapseDropsChildrenAndReexpandRebuilds();
    void expandingSelectsTheRowFirst();
    void unknownFolderRow();

private:
    MainWindow& window() { return WiredMainWindow(); }
    QTreeWidget& list() { return List(window()); }
    void open(const MapBuilder& map, const char* name);

    ScriptedDialogs dialogs_;
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

void ScriptTreeTest::folderRows_data() {
    QTest::addColumn<int>("scripts");
    QTest::addColumn<int>("globals");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("both") << 2 << 3 << QStringList{"scripts", "globals"};
    QTest::newRow("no globals") << 2 << 0 << QStringList{"scripts"};
    QTest::newRow("no scripts") << 0 << 3 << QStringList{"globals"};
    QTest::newRow("neither") << 0 << 0 << QStringList{};
}

void ScriptTreeTest::folderRows() {
    QFETCH(int, scripts);
    QFETCH(int, globals);
    QFETCH(QStringList, rows);
    // A second map after a first leaves only its own rows.
    open(DemoMap(), "first.map");
    open(CountsMap(scripts, globals), "counts.map");
    QCOMPARE(TopTexts(list()), rows);
    for (int i = 0; i < list().topLevelItemCount(); ++i) {
        QTreeWidgetItem* folder = list().topLevelItem(i);
        QCOMPARE(folder->childCount(), 0);
        QCOMPARE(folder->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    }
}

void ScriptTreeTest::foldersListEveryRecordInOrder() {
    open(DemoMap(), "demo.map");
    QTreeWidgetItem* scripts = ExpandPath(list(), {"scripts"});
    QVERIFY(scripts && scripts->isExpanded());
    QCOMPARE(ChildTexts(*scripts), (QStringList{"s: patrol_loop", "s: intro", "s: watch_gate", "s: open_vault",
                                                "s: difficulty_bonus", "s: debug_hook"}));
    QTreeWidgetItem* globals = ExpandPath(list(), {"globals"});
    QCOMPARE(ChildTexts(*globals), (QStringList{"g: alarm_raised", "g: vault_open", "g: guard_count",
                                                "g: gravity_scale", "g: vault_code", "g: briefing_line"}));
    for (QTreeWidgetItem* folder : {scripts, globals}) {
        for (int i = 0; i < folder->childCount(); ++i) {
            QCOMPARE(folder->child(i)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        }
    }
}

void ScriptTreeTest::childRows_data() {
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QStringList>("path");  // rows expanded in turn
    QTest::addColumn<QStringList>("rows");  // children of the last one
    QTest::addColumn<bool>("folders");      // whether those children can be expanded
    // Root, its first child, then the nodes the decompiler walks.
    QTest::newRow("demo script") << true << QStringList{"scripts", "s: patrol_loop"}
                                 << QStringList{"110", "111", "101", "102", "103", "104", "105", "106", "107", "108",
                                                "109"}
                                 << false;
    QTest::newRow("root child not a group") << true << QStringList{"scripts", "s: debug_hook"}
                                            << QStringList{"147", "148", "146"} << false;
    QTest::newRow("global") << true << QStringList{"globals", "g: guard_count"}
                            << QStringList{"g: guard_count", "150"} << false;
    // Two scripts named alike: both rows lead to the later one.
    QTest::newRow("shared name") << false << QStringList{"scripts", "s: twice"} << QStringList{"17", "18", "16"}
                                 << false;
    QTest::newRow("sibling after root") << false << QStringList{"scripts", "s: late"} << QStringList{"19", "20"}
                                        << false;
    QTest::newRow("root not a node") << false << QStringList{"scripts", "s: lost"} << QStringList{"999"} << false;
    QTest::newRow("name cut at separator") << false << QStringList{"scripts", "s: a: b"} << QStringList{} << false;
    QTest::newRow("edge globals") << false << QStringList{"globals"} << QStringList{"g: g1", "g: flag", "g: odd"} << true;
    QTest::newRow("edge scripts") << false << QStringList{"scripts"}
                                  << QStringList{"s: twice", "s: twice", "s: late", "s: lost", "s: a: b",
                                                 QString::fromLatin1("s: caf\xe9")}
                                  << true;
}

void ScriptTreeTest::childRows() {
    QFETCH(bool, demo);
    QFETCH(QStringList, path);
    QFETCH(QStringList, rows);
    QFETCH(bool, folders);
    open(demo ? DemoMap() : EdgeMap(), demo ? "demo.map" : "edge.map");
    const auto messagesBefore = dialogs_.messages.size();
    QTreeWidgetItem* row = ExpandPath(list(), path);
    QVERIFY(row);
    QVERIFY(row->isExpanded());
    QCOMPARE(ChildTexts(*row), rows);
    for (int i = 0; i < row->childCount(); ++i) {
        QCOMPARE(row->child(i)->childIndicatorPolicy(),
                 folders ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
    }
    QCOMPARE(dialogs_.messages.size(), messagesBefore);
}

void ScriptTreeTest::collapseDropsChildrenAndReexpandRebuilds() {
    open(DemoMap(), "demo.map");
    QTreeWidgetItem* script = ExpandPath(list(), {"scripts", "s: intro"});
    QVERIFY(script);
    const QStringList nodes = ChildTexts(*script);
    QCOMPARE(nodes.size(), 9);  // root, child, positions 12 to 18

    QTreeWidgetItem* scripts = Row(list(), "scripts");
    CollapseRow(list(), *scripts);
    QVERIFY(!scripts->isExpanded());
    QCOMPARE(scripts->childCount(), 0);
    QCOMPARE(list().currentItem(), scripts);

    for (int round = 0; round < 2; ++round) {
        script = ExpandPath(list(), {"scripts", "s: intro"});
        QCOMPARE(scripts->childCount(), 6);
        QCOMPARE(ChildTexts(*script), nodes);
        CollapseRow(list(), *script);
        QCOMPARE(script->childCount(), 0);
        QCOMPARE(scripts->childCount(), 6);
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
