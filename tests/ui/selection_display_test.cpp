// Selecting a row shows its record: the page, the fields in their formats,
// the script or global text, and never a write to the file.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "map/DemoMap.h"
#include "script/Decompiler.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/support/EdgeMaps.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

using FieldTexts = QList<QPair<QString, QString>>;  // control name, text shown
using PopupItems = QList<QPair<QString, int>>;      // popup name, chosen item

class SelectionDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void rowShowsRecord_data();
    void rowShowsRecord();
    void stringOffsetInHexadecimal();
    void scriptTextIsTheDecompilersText();
    void selectingEveryRowWritesNothing();
    void eachBranchKeepsItsOwnRecord();
    void unknownNameShowsPositionZero();
    void nameBytesRoundTrip();
    void codeWithoutItemChoosesNoItem();
    void emptySelectionAndEmptyCache();

private:
    MainWindow& window() { return WiredMainWindow(); }
    QTreeWidget& list() { return List(window()); }
    QString open(const MapBuilder& map, const char* name);
    void select(const QStringList& path, const QString& row);
    QString text(const char* name) {
        return window().findChild<QPlainTextEdit*>(QString::fromLatin1(name))->toPlainText();
    }

    ScriptedDialogs dialogs_;
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


void SelectionDisplayTest::rowShowsRecord_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("page");
    QTest::addColumn<FieldTexts>("fields");
    QTest::addColumn<PopupItems>("popups");
    QTest::addColumn<QString>("multiLine");  // control name: its expected text

    QTest::newRow("script") << QStringList{"scripts"} << "s: patrol_loop" << 1
                            << FieldTexts{{"FldScriptName", "patrol_loop"}, {"FldScriptExpPointer", "110"}}
                            << PopupItems{{"PopScriptType", 3}, {"PopScriptReturn", 4}}
                            << "FldScriptDeComp:(script static void patrol_loop\n(begin\n( sleep 30)\n"
                               "( set x( abs 5))\n))";
    // A startup script keeps its stored return type in the popup.
    QTest::newRow("startup script") << QStringList{"scripts"} << "s: intro" << 1
                                    << FieldTexts{{"FldScriptName", "intro"}, {"FldScriptExpPointer", "119"}}
                                    << PopupItems{{"PopScriptType", 0}, {"PopScriptReturn", 4}} << QString();
    QTest::newRow("global") << QStringList{"globals"} << "g: guard_count" << 2
                            << FieldTexts{{"FldGlobalName", "guard_count"}, {"FldGlobalExpPointer", "150"}}
                            << PopupItems{{"PopGlobalType", 7}} << "FldGlobalDecomp:(global short guard_count 4)";
    QTest::newRow("global name row") << QStringList{"globals", "g: vault_open"} << "g: vault_open" << 2
                                     << FieldTexts{{"FldGlobalName", "vault_open"}, {"FldGlobalExpPointer", "149"}}
                                     << PopupItems{{"PopGlobalType", 5}}
                                     << "FldGlobalDecomp:(global boolean vault_open false)";
    QTest::newRow("node") << QStringList{"scripts", "s: patrol_loop"} << "101" << 3
                          << FieldTexts{{"FldSyntaxExpIdent", "101"}, {"FldSyntaxEngineIdent", "12"},
                                        {"FldSyntaxExpType", "8"},    {"FldSyntaxSibExp", "104"},
                                        {"FldSyntaxScriptValue", "0"}, {"FldSyntaxKidExp", "102"}}
                          << PopupItems{{"PopSyntaxType", 4}} << "FldSyntaxCommand:";
    QTest::newRow("negative value") << QStringList{"scripts", "s: open_vault"} << "132" << 3
                                    << FieldTexts{{"FldSyntaxExpIdent", "132"},   {"FldSyntaxSibExp", "-1"},
                                                  {"FldSyntaxScriptValue", "-1200"}, {"FldSyntaxKidExp", "0"}}
                                    << PopupItems{{"PopSyntaxType", 8}} << "FldSyntaxCommand:-1200";
    QTest::newRow("node of a global") << QStringList{"globals", "g: briefing_line"} << "153" << 3
                                      << FieldTexts{{"FldSyntaxExpIdent", "153"}} << PopupItems{{"PopSyntaxType", 9}}
                                      << "FldSyntaxCommand:Commander Vey";
}

void SelectionDisplayTest::rowShowsRecord() {
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
    if (!multiLine.isEmpty()) {
        const auto cut = multiLine.indexOf(QLatin1Char(':'));
        QCOMPARE(text(qPrintable(multiLine.left(cut))), multiLine.mid(cut + 1));
    }
}

void SelectionDisplayTest::stringOffsetInHexadecimal() {
    MapBuilder map = DemoMap();
    map.stringTableAt = 4096;
    QCOMPARE(map.layout().stringTable, 4096);
    open(map, "table4096.map");
    // An empty node text sits at the table's start: 4096, shown as 1000.
    select({"scripts", "s: patrol_loop"}, "101");
    QCOMPARE(Field(window(), "FldSyntaxScriptTableOffset").text(), QStringLiteral("1000"));
    QCOMPARE(text("FldSyntaxCommand"), QString());
    // "sleep" follows the empty text and "true": 4096 + 1 + 5.
    select({"scripts", "s: patrol_loop"}, "102");
    QCOMPARE(Field(window(), "FldSyntaxScriptTableOffset").text(), QStringLiteral("1006"));
    QCOMPARE(text("FldSyntaxCommand"), QStringLiteral("sleep"));
}

void SelectionDisplayTest::scriptTextIsTheDecompilersText() {
    open(DemoMap(), "demo.map");
    const MapState& state = window().state();
    for (const ScriptHeader& script : state.ScriptHeaderCache) {
        select({"scripts"}, QString::fromLatin1(("s: " + script.Name).c_str()));
        QCOMPARE(text("FldScriptDeComp").toLatin1().toStdString(), DecompileScript(state, script));
    }
    for (const GlobalHeader& global : state.GlobalHeaderCache) {
        select({"globals"}, QString::fromLatin1(("g: " + global.Name).c_str()));
        QCOMPARE(text("FldGlobalDecomp").toLatin1().toStdString(), DecompileGlobal(state, global));
    }
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

void SelectionDisplayTest::unknownNameShowsPositionZero() {
    open(EdgeMap(), "edge.map");
    // "s: a: b" is looked up as "a"; no such script, so position 0 shows.
    select({"scripts"}, "s: a: b");
    QCOMPARE(CurrentPage(window()), 1);
    QCOMPARE(Field(window(), "FldScriptName").text(), QStringLiteral("twice"));
    QCOMPARE(Field(window(), "FldScriptExpPointer").text(), QStringLiteral("14"));
    QCOMPARE(window().state().LoadedScript->position, std::size_t{0});
    // Both rows of the shared name show the later script.
    QTreeWidgetItem* scripts = Row(list(), "scripts");
    ClickRow(list(), *scripts->child(0));
    QCOMPARE(Field(window(), "FldScriptExpPointer").text(), QStringLiteral("17"));
    QCOMPARE(window().state().LoadedScript->position, std::size_t{1});
}

void SelectionDisplayTest::nameBytesRoundTrip() {
    open(EdgeMap(), "edge.map");
    select({"scripts"}, QString::fromLatin1("s: caf\xe9"));
    QCOMPARE(Field(window(), "FldScriptName").text(), QString::fromLatin1("caf\xe9"));
    QCOMPARE(Field(window(), "FldScriptExpPointer").text(), QStringLiteral("19"));
    QCOMPARE(window().state().LoadedScript->position, std::size_t{5});
}

void SelectionDisplayTest::codeWithoutItemChoosesNoItem() {
    open(EdgeMap(), "edge.map");
    select({"globals"}, "g: g1");
    QCOMPARE(Popup(window(), "PopGlobalType").currentIndex(), 7);
    select({"globals"}, "g: odd");
    QCOMPARE(Field(window(), "FldGlobalName").text(), QStringLiteral("odd"));
    QCOMPARE(Popup(window(), "PopGlobalType").currentIndex(), -1);
}

void SelectionDisplayTest::emptySelectionAndEmptyCache() {
    MapBuilder map = CountsMap(1, 1);
    map.syntaxCount = 0;  // scripts and globals load, no node does
    open(map, "nonodes.map");
    QVERIFY(window().state().SyntaxCache.empty());
    select({"scripts"}, "s: script_0");
    QCOMPARE(CurrentPage(window()), 1);
    // The root is not a node: its row stays, selecting it shows nothing new.
    select({"scripts", "s: script_0"}, "11");
    QCOMPARE(CurrentPage(window()), 1);
    QVERIFY(!window().state().LoadedSyntax);
    select({"globals"}, "g: global_0");
    QCOMPARE(CurrentPage(window()), 2);

    list().clearSelection();
    QCOMPARE(CurrentPage(window()), 2);
    QCOMPARE(Field(window(), "FldGlobalName").text(), QStringLiteral("global_0"));
}

QTEST_MAIN(SelectionDisplayTest)
#include "selection_display_test.moc"
