// SPDX-License-Identifier: GPL-3.0-or-later
// Editing in place: Return or Enter in a field, a chosen popup item and
// Protect Map write the map file at once; nothing else ever writes, and
// nothing is written into a file the shown record did not come from.

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

enum class Record { Script, Global, Node };

// Little-endian bytes of a number, count wide.
QByteArray Bytes(std::int64_t value, int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

QByteArray NameField(const QByteArray& name) { return name + QByteArray(32 - name.size(), '\0'); }

// The string table at 4096, so offsets read as in the field's own examples.
MapBuilder Demo4096() {
    MapBuilder map = DemoMap();
    map.stringTableAt = 4096;
    return map;
}

}  // namespace

class EditInPlaceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fieldCommit_data();
    void fieldCommit();
    void popupChoice_data();
    void popupChoice();
    void keysOtherThanCommitWriteNothing();
    void editFindsRenamedRecord();
    void protectMap();
    void secondLoadClearsTheEditor();
    void refusedOrCancelledOpenKeepsEditing();
    void writeFailureIsShown();
    void nameFieldStopsAt31Bytes_data();
    void nameFieldStopsAt31Bytes();
    void nameWithoutLatin1ByteIsRefused();
    void refusalQuotesTheNameAsTyped();
    void controlByteNameIsRefused_data();
    void controlByteNameIsRefused();
    void fieldUndoEndsWithTheWrite();
    void undoRefreshesRowsAndPage();
    void mapChangedOnDiskIsNotWritten();
    void refusedPopupShowsTheFileValue();
    void readOnlyMapTakesNoEdits();

private:
    MainWindow& window() { return wired_.window(); }
    QTreeWidget& list() { return List(window()); }
    std::string open(const MapBuilder& map, const char* name);
    void select(const QStringList& path, const QString& row);
    // Every byte of after equals before outside [from, from + changed.size()),
    // and the range holds changed.
    static void compareWrite(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                             std::int64_t from, const QByteArray& changed);

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void EditInPlaceTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

std::string EditInPlaceTest::open(const MapBuilder& map, const char* name) {
    const std::string path = testing::WriteMap(dir_, map, name);
    OpenThroughMenu(window(), dialogs_, QString::fromStdString(path));
    return path;
}

void EditInPlaceTest::select(const QStringList& path, const QString& row) {
    QTreeWidgetItem* parent = ExpandPath(list(), path);
    QVERIFY(parent);
    QTreeWidgetItem* item = Row(list(), row, parent);
    QVERIFY2(item, qPrintable(row));
    ClickRow(list(), *item);
}

void EditInPlaceTest::compareWrite(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                                   std::int64_t from, const QByteArray& changed) {
    QCOMPARE(after.size(), before.size());
    const auto at = static_cast<std::size_t>(from);
    QByteArray written(reinterpret_cast<const char*>(after.data()) + at, changed.size());
    QCOMPARE(written.toHex(' '), changed.toHex(' '));
    std::vector<std::uint8_t> rest = after;
    std::copy(before.begin() + static_cast<std::ptrdiff_t>(at),
              before.begin() + static_cast<std::ptrdiff_t>(at) + changed.size(),
              rest.begin() + static_cast<std::ptrdiff_t>(at));
    QVERIFY2(rest == before, "bytes outside the field changed");
}

void EditInPlaceTest::fieldCommit_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<Record>("record");
    QTest::addColumn<int>("position");  // of the record in its table
    QTest::addColumn<int>("at");        // from the record's start
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");  // the field's text afterwards: what the file holds

    const QStringList script{"scripts"};
    const QStringList node{"scripts", "s: patrol_loop"};  // row 101 is node 1
    const QStringList globals{"globals"};
    const int ret = Qt::Key_Return;
    const QString cafe = QString::fromLatin1("caf\xe9");
    QTest::newRow("script name") << script << "s: patrol_loop" << "FldScriptName" << "xyz" << ret << Record::Script
                                 << 0 << 0 << NameField("xyz") << "xyz";
    QTest::newRow("shorter name") << script << "s: difficulty_bonus" << "FldScriptName" << "ab" << ret
                                  << Record::Script << 4 << 0 << NameField("ab") << "ab";
    // The record keeps the whole number, as the next write of the field does.
    QTest::newRow("root identity, low 16 bits") << script << "s: patrol_loop" << "FldScriptExpPointer" << "70000" << ret
                                                << Record::Script << 0 << 38 << Bytes(4464, 2) << "70000";
    QTest::newRow("global name, byte above 127") << globals << "g: guard_count" << "FldGlobalName" << cafe
                                                 << int(Qt::Key_Enter) << Record::Global << 2 << 0
                                                 << NameField("caf\xe9") << cafe;
    QTest::newRow("global value node") << globals << "g: guard_count" << "FldGlobalExpPointer" << "-2" << ret
                                       << Record::Global << 2 << 42 << Bytes(-2, 2) << "-2";
    QTest::newRow("node identity") << node << "101" << "FldSyntaxExpIdent" << "300" << ret << Record::Node << 1 << 0
                                   << Bytes(300, 2) << "300";
    QTest::newRow("engine identity") << node << "101" << "FldSyntaxEngineIdent" << "7" << int(Qt::Key_Enter)
                                     << Record::Node << 1 << 2 << Bytes(7, 2) << "7";
    QTest::newRow("expression type") << node << "101" << "FldSyntaxExpType" << "13" << ret << Record::Node << 1 << 6
                                     << Bytes(13, 2) << "13";
    QTest::newRow("sibling, no digits") << node << "101" << "FldSyntaxSibExp" << "abc" << ret << Record::Node << 1
                                        << 10 << Bytes(0, 2) << "0";
    // 1A2B - 1000 = A2B (2603) is stored, relative to the string table.
    QTest::newRow("string offset, hexadecimal") << node << "101" << "FldSyntaxScriptTableOffset" << "1A2B" << ret
                                                << Record::Node << 1 << 12 << Bytes(2603, 4) << "1A2B";
    QTest::newRow("string offset, empty") << node << "101" << "FldSyntaxScriptTableOffset" << "" << ret
                                          << Record::Node << 1 << 12 << Bytes(-4096, 4) << "0";
    QTest::newRow("value field, whole") << node << "101" << "FldSyntaxScriptValue" << "-1" << ret << Record::Node << 1
                                        << 16 << Bytes(-1, 4) << "-1";
    QTest::newRow("child identity") << node << "101" << "FldSyntaxKidExp" << "5" << ret << Record::Node << 1 << 18
                                    << Bytes(5, 2) << "5";
}

MapLayout DemoLayout() { return Demo4096().layout(); }

std::int64_t RecordStart(Record record, int position) {
    const MapLayout at = DemoLayout();
    switch (record) {
    case Record::Script: return at.scriptEntry(position);
    case Record::Global: return at.globalEntry(position);
    case Record::Node: return at.node(position);
    }
    return 0;
}

void EditInPlaceTest::fieldCommit() {
    QFETCH(QStringList, path);
    QFETCH(QString, row);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(Record, record);
    QFETCH(int, position);
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const std::string file = open(Demo4096(), "fields.map");
    select(path, row);
    const auto before = testing::ReadBytes(file);
    QLineEdit& control = Field(window(), qPrintable(field));
    QVERIFY(control.isVisible());
    TypeInto(control, typed);
    QVERIFY(testing::ReadBytes(file) == before);  // typing alone writes nothing
    const auto messagesBefore = dialogs_.messages.size();
    QTest::keyClick(&control, static_cast<Qt::Key>(key));
    QCOMPARE(dialogs_.messages.mid(messagesBefore), QStringList());
    compareWrite(before, testing::ReadBytes(file), RecordStart(record, position) + at, bytes);
    QCOMPARE(control.text(), shown);
}

void EditInPlaceTest::popupChoice_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("item");
    QTest::addColumn<Record>("record");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("code");
    QTest::newRow("script type") << QStringList{"scripts"} << "s: patrol_loop" << "PopScriptType" << "dormant"
                                 << Record::Script << 0 << 32 << 1;
    QTest::newRow("return type") << QStringList{"scripts"} << "s: patrol_loop" << "PopScriptReturn" << "real"
                                 << Record::Script << 0 << 34 << 6;
    QTest::newRow("global type") << QStringList{"globals"} << "g: guard_count" << "PopGlobalType" << "long"
                                 << Record::Global << 2 << 32 << 8;
    QTest::newRow("node value type") << QStringList{"scripts", "s: patrol_loop"} << "101" << "PopSyntaxType"
                                     << "scenery_name" << Record::Node << 1 << 4 << 48;
}

void EditInPlaceTest::popupChoice() {
    QFETCH(QStringList, path);
    QFETCH(QString, row);
    QFETCH(QString, popup);
    QFETCH(QString, item);
    QFETCH(Record, record);
    QFETCH(int, position);
    QFETCH(int, at);
    QFETCH(int, code);
    const std::string file = open(Demo4096(), "popups.map");
    select(path, row);
    const auto before = testing::ReadBytes(file);
    QComboBox& control = Popup(window(), qPrintable(popup));
    ChoosePopupItem(control, item);
    QCOMPARE(control.currentIndex(), code);
    compareWrite(before, testing::ReadBytes(file), RecordStart(record, position) + at, Bytes(code, 2));
}

void EditInPlaceTest::keysOtherThanCommitWriteNothing() {
    const std::string file = open(Demo4096(), "keys.map");
    select({"scripts"}, "s: intro");
    const auto before = testing::ReadBytes(file);
    QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
    TypeInto(pointer, QStringLiteral("123"));
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Left}) {
        QTest::keyClick(&pointer, key);
    }
    QVERIFY(testing::ReadBytes(file) == before);
}

void EditInPlaceTest::editFindsRenamedRecord() {
    const std::string file = open(Demo4096(), "rename.map");
    select({"scripts"}, "s: watch_gate");
    QLineEdit& name = Field(window(), "FldScriptName");
    TypeInto(name, QStringLiteral("gate_loop"));
    QTest::keyClick(&name, Qt::Key_Return);
    const auto before = testing::ReadBytes(file);
    QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
    TypeInto(pointer, QStringLiteral("-3"));
    QTest::keyClick(&pointer, Qt::Key_Return);
    compareWrite(before, testing::ReadBytes(file), DemoLayout().scriptEntry(2) + 38, Bytes(-3, 2));
    QCOMPARE(window().state().ScriptHeaderCache[2].Name, std::string("gate_loop"));
    QCOMPARE(window().state().ScriptHeaderCache[2].ExpPointer, -3);
}

void EditInPlaceTest::protectMap() {
    const std::string file = open(Demo4096(), "protect.map");
    select({"scripts"}, "s: intro");
    const auto messagesBefore = dialogs_.messages.size();
    TriggerMenuItem(window(), "ScriptToolsProtectMap");
    QCOMPARE(dialogs_.messages.mid(messagesBefore),
             QStringList{QStringLiteral("Map is now protected from basic script extraction!")});
    const auto bytes = testing::ReadBytes(file);
    const MapLayout at = DemoLayout();
    const QByteArray hidden = NameField("<protected>");
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()) + at.scriptEntry(i), 32), hidden);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()) + at.globalEntry(i), 32), hidden);
    }
    for (int i = 0; i < 54; ++i) {
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()) + at.node(i) + 12, 4),
                 Bytes(at.stringTable + 1, 4));
    }
    // The records on screen keep the names that were loaded.
    QCOMPARE(Field(window(), "FldScriptName").text(), QStringLiteral("intro"));
    QVERIFY(Row(list(), "s: intro", Row(list(), "scripts")));
}

void EditInPlaceTest::secondLoadClearsTheEditor() {
    const std::string first = open(Demo4096(), "first.map");
    select({"scripts", "s: patrol_loop"}, "101");
    QCOMPARE(CurrentPage(window()), 3);
    QLineEdit& identity = Field(window(), "FldSyntaxExpIdent");
    TypeInto(identity, QStringLiteral("77"));
    const auto firstBefore = testing::ReadBytes(first);

    MapBuilder other = DemoMap();
    other.scripts.erase(other.scripts.begin());
    const std::string second = open(other, "second.map");
    QCOMPARE(CurrentPage(window()), 0);
    for (QLineEdit* field : window().findChildren<QLineEdit*>()) QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
    for (QComboBox* popup : window().findChildren<QComboBox*>()) QCOMPARE(popup->currentIndex(), -1);
    QVERIFY(!window().state().LoadedScript && !window().state().LoadedSyntax);

    // A commit key in the old page's field reaches neither file.
    const auto secondBefore = testing::ReadBytes(second);
    TypeInto(identity, QStringLiteral("77"));
    QTest::keyClick(&identity, Qt::Key_Return);
    QVERIFY(testing::ReadBytes(first) == firstBefore);
    QVERIFY(testing::ReadBytes(second) == secondBefore);
}

// A refused or cancelled Open leaves the map on screen the one edits write;
// the refused file is never touched.
void EditInPlaceTest::refusedOrCancelledOpenKeepsEditing() {
    const std::string shown = open(Demo4096(), "shown.map");
    select({"scripts"}, "s: intro");
    const int intro = 1;  // its position in the script table

    MapBuilder refused = DemoMap();
    refused.version = 609;
    const std::string other = open(refused, "refused.map");
    const auto otherBefore = testing::ReadBytes(other);
    QCOMPARE(dialogs_.messages.last(), QStringLiteral("cant load |1|"));
    QCOMPARE(Field(window(), "FldScriptName").text(), QStringLiteral("intro"));
    auto before = testing::ReadBytes(shown);
    auto messagesBefore = dialogs_.messages.size();
    QLineEdit& name = Field(window(), "FldScriptName");
    TypeInto(name, QStringLiteral("renamed"));
    QTest::keyClick(&name, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.mid(messagesBefore), QStringList{});
    compareWrite(before, testing::ReadBytes(shown), DemoLayout().scriptEntry(intro), NameField("renamed"));
    QVERIFY(testing::ReadBytes(other) == otherBefore);

    // A cancelled dialog changes nothing either.
    TriggerMenuItem(window(), "Fileopen");
    before = testing::ReadBytes(shown);
    messagesBefore = dialogs_.messages.size();
    ChoosePopupItem(Popup(window(), "PopScriptType"), QStringLiteral("stub"));
    QCOMPARE(dialogs_.messages.mid(messagesBefore), QStringList{});
    compareWrite(before, testing::ReadBytes(shown), DemoLayout().scriptEntry(intro) + 32, Bytes(4, 2));
    QVERIFY(testing::ReadBytes(other) == otherBefore);
}

void EditInPlaceTest::writeFailureIsShown() {
    const std::string file = open(Demo4096(), "readonly.map");
    select({"globals"}, "g: vault_code");
    const auto before = testing::ReadBytes(file);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const auto messagesBefore = dialogs_.messages.size();
    QLineEdit& pointer = Field(window(), "FldGlobalExpPointer");
    TypeInto(pointer, QStringLiteral("9"));
    QTest::keyClick(&pointer, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.size(), messagesBefore + 1);
    QVERIFY(!dialogs_.messages.last().isEmpty());
    QVERIFY(testing::ReadBytes(file) == before);
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

// A name field takes 31 characters, one byte each, and stops there as
// the user types or pastes.
void EditInPlaceTest::nameFieldStopsAt31Bytes_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("pasted");
    QTest::newRow("script, typed") << "FldScriptName" << "s: open_vault" << false;
    QTest::newRow("global, typed") << "FldGlobalName" << "g: guard_count" << false;
    QTest::newRow("script, pasted") << "FldScriptName" << "s: open_vault" << true;
}

void EditInPlaceTest::nameFieldStopsAt31Bytes() {
    QFETCH(QString, field);
    QFETCH(QString, row);
    QFETCH(bool, pasted);
    const std::string file = open(Demo4096(), "long.map");
    const bool script = row.startsWith(QLatin1Char('s'));
    select({script ? QStringLiteral("scripts") : QStringLiteral("globals")}, row);
    const auto before = testing::ReadBytes(file);
    QLineEdit& name = Field(window(), qPrintable(field));
    const QString text = QStringLiteral("caf") + QChar(0xE9) + QString(41, QLatin1Char('n'));  // 45 characters
    if (pasted) {
        name.selectAll();
        name.insert(text);
    } else {
        TypeInto(name, text);
    }
    QCOMPARE(name.text(), text.left(31));
    const auto messagesBefore = dialogs_.messages.size();
    QTest::keyClick(&name, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.mid(messagesBefore), QStringList{});
    const std::int64_t at = script ? DemoLayout().scriptEntry(3) : DemoLayout().globalEntry(2);
    compareWrite(before, testing::ReadBytes(file), at, NameField(text.left(31).toLatin1()));
}

// A character with no Latin-1 byte cannot be stored: refused at Return with
// a message naming it, and the field shows the file's name again.
void EditInPlaceTest::nameWithoutLatin1ByteIsRefused() {
    const std::string file = open(Demo4096(), "euro.map");
    select({"scripts"}, "s: open_vault");
    const auto before = testing::ReadBytes(file);
    QLineEdit& name = Field(window(), "FldScriptName");
    const QString typed = QStringLiteral("price_") + QChar(0x20AC);
    TypeInto(name, typed);
    QCOMPARE(name.text(), typed);
    const auto messagesBefore = dialogs_.messages.size();
    QTest::keyClick(&name, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.mid(messagesBefore),
             QStringList{QStringLiteral("The name \"%1\" holds \"%2\" (U+20AC), which has no Latin-1 byte; a name in a "
                                        "map takes Latin-1 characters only. Nothing was written.")
                             .arg(typed, QString(QChar(0x20AC)))});
    QVERIFY(testing::ReadBytes(file) == before);
    QCOMPARE(name.text(), QStringLiteral("open_vault"));
}

void EditInPlaceTest::refusalQuotesTheNameAsTyped() {
    const std::string file = open(Demo4096(), "accent.map");
    select({"scripts"}, "s: open_vault");
    // A refused name with the byte 0xE9 is quoted in the box as the field
    // shows it; only the control byte is escaped.
    const QString typed = QStringLiteral("caf") + QChar(0xE9) + QStringLiteral("\tx");
    QLineEdit& name = Field(window(), "FldScriptName");
    name.setText(typed);
    const auto messagesBefore = dialogs_.messages.size();
    QTest::keyClick(&name, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.mid(messagesBefore),
             QStringList{QStringLiteral("The name \"caf%1\\x09x\" holds the control byte \\x09 (Script Name); a name "
                                        "takes printable characters only. Nothing was written.")
                             .arg(QChar(0xE9))});
}

void EditInPlaceTest::controlByteNameIsRefused_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");  // the byte as the message names it
    QTest::newRow("line feed forging a row") << "FldScriptName" << "s: open_vault" << "x\ns: forged" << "\\x0A";
    QTest::newRow("escape sequence") << "FldScriptName" << "s: open_vault" << "\x1b[2Jx" << "\\x1B";
    QTest::newRow("carriage return") << "FldGlobalName" << "g: guard_count" << "a\rb" << "\\x0D";
    QTest::newRow("delete") << "FldGlobalName" << "g: guard_count" << "ab\x7f" << "\\x7F";
}

void EditInPlaceTest::controlByteNameIsRefused() {
    QFETCH(QString, field);
    QFETCH(QString, row);
    QFETCH(QString, name);
    QFETCH(QString, shown);
    const std::string file = open(Demo4096(), "control.map");
    select({row.startsWith(QLatin1Char('s')) ? QStringLiteral("scripts") : QStringLiteral("globals")}, row);
    const auto before = testing::ReadBytes(file);
    QLineEdit& edit = Field(window(), qPrintable(field));
    // Pasted, since no key types these bytes.
    edit.setText(name);
    QCOMPARE(edit.text(), name);
    const auto messagesBefore = dialogs_.messages.size();
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.size(), messagesBefore + 1);
    QVERIFY2(dialogs_.messages.last().contains(QStringLiteral("control byte ") + shown), qPrintable(dialogs_.messages.last()));
    QVERIFY(testing::ReadBytes(file) == before);
    QCOMPARE(edit.text(), row.mid(3));  // the name the file holds
}

// Once the file holds the field's text, Edit > Undo in the field cannot
// bring back a text the file does not hold.
void EditInPlaceTest::fieldUndoEndsWithTheWrite() {
    const std::string file = open(Demo4096(), "textundo.map");
    select({"scripts"}, "s: intro");
    QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
    TypeInto(pointer, QStringLiteral("42"));
    QVERIFY(pointer.isUndoAvailable());
    QTest::keyClick(&pointer, Qt::Key_Return);
    QVERIFY(!pointer.isUndoAvailable());
    pointer.setFocus();
    TriggerMenuItem(window(), "EditUndo");
    QCOMPARE(pointer.text(), QStringLiteral("42"));
    QCOMPARE(window().state().ScriptHeaderCache[1].ExpPointer, 42);
}

// Undo writes the old bytes back, then the rows and the page that show the
// record take what the file says again; redo the same the other way.
void EditInPlaceTest::undoRefreshesRowsAndPage() {
    const std::string file = open(Demo4096(), "undo.map");
    const auto loaded = testing::ReadBytes(file);
    select({"scripts"}, "s: watch_gate");
    QLineEdit& name = Field(window(), "FldScriptName");
    TypeInto(name, QStringLiteral("gate_loop"));
    QTest::keyClick(&name, Qt::Key_Return);
    const auto renamed = testing::ReadBytes(file);
    // Expanded again after the write, the folder shows the new name.
    QTreeWidgetItem* scripts = Row(list(), QStringLiteral("scripts"));
    CollapseRow(list(), *scripts);
    ExpandRow(list(), *scripts);
    QVERIFY(ChildTexts(*scripts).contains(QStringLiteral("s: gate_loop")));
    ClickRow(list(), *Row(list(), QStringLiteral("s: gate_loop"), scripts));

    const auto messagesBefore = dialogs_.messages.size();
    TriggerMenuItem(window(), "ScriptToolsUndoWrite");
    QCOMPARE(dialogs_.messages.mid(messagesBefore), QStringList());
    QVERIFY(testing::ReadBytes(file) == loaded);
    QVERIFY(ChildTexts(*scripts).contains(QStringLiteral("s: watch_gate")));
    QVERIFY(!ChildTexts(*scripts).contains(QStringLiteral("s: gate_loop")));
    QCOMPARE(Field(window(), "FldScriptName").text(), QStringLiteral("watch_gate"));
    QCOMPARE(window().state().ScriptHeaderCache[2].Name, std::string("watch_gate"));

    TriggerMenuItem(window(), "ScriptToolsRedoWrite");
    QVERIFY(testing::ReadBytes(file) == renamed);
    QVERIFY(ChildTexts(*scripts).contains(QStringLiteral("s: gate_loop")));
    QCOMPARE(Field(window(), "FldScriptName").text(), QStringLiteral("gate_loop"));

    // Protect Map is one step; its undo gives back every byte.
    TriggerMenuItem(window(), "ScriptToolsProtectMap");
    QVERIFY(testing::ReadBytes(file) != renamed);
    TriggerMenuItem(window(), "ScriptToolsUndoWrite");
    QVERIFY(testing::ReadBytes(file) == renamed);
    TriggerMenuItem(window(), "ScriptToolsUndoWrite");
    QVERIFY(testing::ReadBytes(file) == loaded);
    QVERIFY(testing::ReadBytes(file + ".bak") == loaded);
}

void EditInPlaceTest::mapChangedOnDiskIsNotWritten() {
    const std::string file = open(Demo4096(), "changed.map");
    select({"globals"}, "g: vault_code");
    // Another program puts a copy in its place.
    testing::WriteBytes(file + ".new", testing::ReadBytes(file));
    std::filesystem::rename(file + ".new", file);
    const auto replaced = testing::ReadBytes(file);
    const auto messagesBefore = dialogs_.messages.size();
    QLineEdit& pointer = Field(window(), "FldGlobalExpPointer");
    const QString held = pointer.text();
    TypeInto(pointer, QStringLiteral("9"));
    QTest::keyClick(&pointer, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.mid(messagesBefore),
             QStringList{QStringLiteral("The map \"%1\" changed on disk since it was loaded. Open it again to edit it.")
                             .arg(QString::fromStdString(file))});
    QVERIFY(testing::ReadBytes(file) == replaced);
    // The field shows what the file holds; what was typed is one undo away.
    QCOMPARE(pointer.text(), held);
    QVERIFY(pointer.isUndoAvailable());
    pointer.undo();
    QCOMPARE(pointer.text(), QStringLiteral("9"));
}

// The popup goes back to the type the file holds when its write is refused.
void EditInPlaceTest::refusedPopupShowsTheFileValue() {
    const std::string file = open(Demo4096(), "popupback.map");
    select({"scripts"}, "s: patrol_loop");
    QComboBox& type = Popup(window(), "PopScriptType");
    const QString held = type.currentText();
    const QString other = held == QStringLiteral("stub") ? QStringLiteral("dormant") : QStringLiteral("stub");
    testing::WriteBytes(file + ".new", testing::ReadBytes(file));
    std::filesystem::rename(file + ".new", file);
    const auto messagesBefore = dialogs_.messages.size();
    ChoosePopupItem(type, other);
    QCOMPARE(dialogs_.messages.size(), messagesBefore + 1);
    QCOMPARE(type.currentText(), held);
    // The record was not changed either: showing the row again agrees.
    select({"scripts"}, "s: intro");
    select({"scripts"}, "s: patrol_loop");
    QCOMPARE(type.currentText(), held);
}

void EditInPlaceTest::readOnlyMapTakesNoEdits() {
    const std::string file = testing::WriteMap(dir_, Demo4096(), "look.map");
    dialogs_.answerOpen(QString::fromStdString(file));
    TriggerMenuItem(window(), "FileOpenReadOnly");
    select({"scripts", "s: patrol_loop"}, "101");
    const auto before = testing::ReadBytes(file);
    QLineEdit& value = Field(window(), "FldSyntaxScriptValue");
    QVERIFY(value.isReadOnly());
    TypeInto(value, QStringLiteral("5"));
    const auto messagesBefore = dialogs_.messages.size();
    QTest::keyClick(&value, Qt::Key_Return);
    QCOMPARE(dialogs_.messages.size(), messagesBefore);  // nothing to refuse at Return
    QVERIFY(!Popup(window(), "PopSyntaxType").isEnabled());
    QVERIFY(testing::ReadBytes(file) == before);
    QVERIFY(!std::filesystem::exists(file + ".bak"));
}

QTEST_MAIN(EditInPlaceTest)
#include "edit_in_place_test.moc"
