// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting a row fills the page's widgets and never writes to the file.
// What a row shows is the browse layer's (tests/core/browse_test.cpp).

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "builder/DemoMap.h"
#include "support/EdgeMaps.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

using FieldTexts = QList<QPair<QString, QString>>;  // control name, text shown
using PopupItems = QList<QPair<QString, int>>;      // popup name, chosen item

class SelectionDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void rowFillsThePage_data();
    void rowFillsThePage();
    void nameAboveByte127ShowsAsStored();
    void codeWithoutItemChoosesNoItem();
    void selectingEveryRowWritesNothing();
    void eachBranchKeepsItsOwnRecord();
    void emptySelectionKeepsThePage();

private:
    MainWindow& window() { return wired_.window(); }
    QTreeWidget& list() { return List(window()); }
    QString open(const MapBuilder& map, const char* name);
    void select(const QStringList& path, const QString& row);
    QString text(const char* name) {
        return window().findChild<QPlainTextEdit*>(QString::fromLatin1(name))->toPlainText();
    }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void SelectionDisplayTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

QString SelectionDisplayTest::open(const MapBuilder& map, const char* name) {
    const QString path = QString::fromStdString(testing::WriteMap(dir_, map, name));
    OpenThroughMenu(window(), dialogs_, path);
    return path;
}

// Expands the path, then clicks the row among the last row's children.
void SelectionDisplayTest::select(const QStringList& path, const QString& row) {
    QTreeWidgetItem* parent = ExpandPath(list(), path);
    QVERIFY(parent);
    QTreeWidgetItem* item = Row(list(), row, parent);
    QVERIFY2(item, qPrintable(row));
    ClickRow(list(), *item);
    QCOMPARE(list().currentItem(), item);
}

void SelectionDisplayTest::rowFillsThePage_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("page");
    QTest::addColumn<FieldTexts>("fields");
    QTest::addColumn<PopupItems>("popups");
    QTest::addColumn<QString>("multiLine");  // control name: its expected text

    // Records the core's page table does not use, so no value is checked twice.
    QTest::newRow("script") << QStringList{"scripts"} << "s: watch_gate" << 1
                            << FieldTexts{{"FldScriptName", "watch_gate"}, {"FldScriptExpPointer", "127"}}
                            << PopupItems{{"PopScriptType", 2}, {"PopScriptReturn", 4}}
                            << "FldScriptDeComp:(script continuous watch_gate\n(begin\n"
                               "( sleep_until( volume_test gate_volume) 30)\n))";
    QTest::newRow("global") << QStringList{"globals"} << "g: vault_code" << 2
                            << FieldTexts{{"FldGlobalName", "vault_code"}, {"FldGlobalExpPointer", "152"}}
                            << PopupItems{{"PopGlobalType", 8}} << "FldGlobalDecomp:(global long vault_code 1200)";
    QTest::newRow("node") << QStringList{"scripts", "s: watch_gate"} << "125" << 3
                          << FieldTexts{{"FldSyntaxExpIdent", "125"}, {"FldSyntaxSibExp", "126"},
                                        {"FldSyntaxKidExp", "-1"}}
                          << PopupItems{{"PopSyntaxType", 11}} << "FldSyntaxCommand:gate_volume";
}

void SelectionDisplayTest::rowFillsThePage() {
    QFETCH(QStringList, path);
    QFETCH(QString, row);
    QFETCH(int, page);
    QFETCH(FieldTexts, fields);
    QFETCH(PopupItems, popups);
    QFETCH(QString, multiLine);
    open(DemoMap(), "demo.map");
    select(path, row);
    QCOMPARE(CurrentPage(window()), page);
    for (const auto& [name, expected] : fields) QCOMPARE(Field(window(), qPrintable(name)).text(), expected);
    for (const auto& [name, expected] : popups) QCOMPARE(Popup(window(), qPrintable(name)).currentIndex(), expected);
    const auto cut = multiLine.indexOf(QLatin1Char(':'));
    QCOMPARE(text(qPrintable(multiLine.left(cut))), multiLine.mid(cut + 1));
}

void SelectionDisplayTest::nameAboveByte127ShowsAsStored() {
    // Each byte of the name is one character in the row and in the field.
    open(testing::EdgeMap(), "edge.map");
    select({"scripts"}, QString::fromLatin1("s: caf\xe9"));
    QCOMPARE(Field(window(), "FldScriptName").text(), QString::fromLatin1("caf\xe9"));
}

void SelectionDisplayTest::codeWithoutItemChoosesNoItem() {
    open(testing::EdgeMap(), "edge.map");
    select({"globals"}, "g: g1");
    QCOMPARE(Popup(window(), "PopGlobalType").currentIndex(), 7);
    select({"globals"}, "g: odd");
    QCOMPARE(Field(window(), "FldGlobalName").text(), QStringLiteral("odd"));
    QCOMPARE(Popup(window(), "PopGlobalType").currentIndex(), -1);
}

void SelectionDisplayTest::selectingEveryRowWritesNothing() {
    const QString path = open(DemoMap(), "untouched.map");
    const auto before = testing::ReadBytes(path.toStdString());
    // Open every folder, then walk the whole tree with the Down key: each
    // step shows another record (scripts of every type, globals, nodes).
    for (const char* folder : {"scripts", "globals"}) {
        QTreeWidgetItem* top = ExpandPath(list(), {QString::fromLatin1(folder)});
        for (int i = 0; i < top->childCount(); ++i) list().expandItem(top->child(i));
    }
    int rows = 0;
    for (QTreeWidgetItemIterator it(&list()); *it; ++it) ++rows;
    ClickRow(list(), *list().topLevelItem(0));
    int steps = 0;
    QSet<int> pages;
    for (QTreeWidgetItem* last = nullptr; last != list().currentItem(); ++steps) {
        last = list().currentItem();
        pages.insert(CurrentPage(window()));
        QTest::keyClick(&list(), Qt::Key_Down);
    }
    QCOMPARE(steps, rows);
    QVERIFY(rows > 70);
    QCOMPARE(pages, (QSet<int>{1, 2, 3}));
    QVERIFY(testing::ReadBytes(path.toStdString()) == before);
}

void SelectionDisplayTest::eachBranchKeepsItsOwnRecord() {
    open(DemoMap(), "demo.map");
    const MapState& state = window().state();
    QVERIFY(!state.LoadedScript && !state.LoadedGlobal && !state.LoadedSyntax);
    select({"scripts"}, "s: watch_gate");
    select({"scripts", "s: watch_gate"}, "124");
    ClickRow(list(), *Row(list(), "scripts"));
    QCOMPARE(CurrentPage(window()), 3);
    QVERIFY(state.loadedScript() && state.loadedSyntax());
    QCOMPARE(state.loadedScript()->Name, std::string("watch_gate"));
    QCOMPARE(state.loadedSyntax()->ExpIdentity, 124);
    QVERIFY(!state.LoadedGlobal);
    QCOMPARE(Field(window(), "FldSyntaxExpIdent").text(), QStringLiteral("124"));
}

void SelectionDisplayTest::emptySelectionKeepsThePage() {
    open(DemoMap(), "demo.map");
    select({"globals"}, "g: guard_count");
    list().clearSelection();
    QCOMPARE(CurrentPage(window()), 2);
    QCOMPARE(Field(window(), "FldGlobalName").text(), QStringLiteral("guard_count"));
}

QTEST_MAIN(SelectionDisplayTest)
#include "selection_display_test.moc"
