// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the main window as a modder presses them: only Return and the
// keypad's Enter write a field, every shortcut keeps its meaning, undo and
// redo of writes work from wherever the cursor is, and typing that was never
// written is marked until Return writes it or Escape takes it back.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// A key as the platform delivers it, with the character it types: on X11
// Ctrl+C types character 3, Ctrl+A character 1 and Ctrl+M a carriage return.
void PressAsThePlatformDoes(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QTest::sendKeyEvent(QTest::Press, &widget, key, text, modifiers);
    QTest::sendKeyEvent(QTest::Release, &widget, key, text, modifiers);
}

constexpr const char* kHint = "Press Return to write, Escape to undo the typing";

}  // namespace

class FieldKeysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void shortcutsInAFieldWriteNothing_data();
    void shortcutsInAFieldWriteNothing();
    void writeUndoAndRedoFromEveryWidget_data();
    void writeUndoAndRedoFromEveryWidget();
    void fieldTextUndoStaysOnCtrlZ();
    void typingNotWrittenIsMarked_data();
    void typingNotWrittenIsMarked();

private:
    MainWindow& window() { return wired_.window(); }
    QTreeWidget& list() { return List(window()); }
    std::string open(const char* name);
    QString hint() { return window().findChild<QLabel*>(QStringLiteral("StatusHint"))->text(); }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void FieldKeysTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

// A map of its own for each test and row: a backup beside it tells of a write.
std::string FieldKeysTest::open(const char* name) {
    const QString tag = QTest::currentDataTag() ? QString::fromLatin1(QTest::currentDataTag()) : QString();
    const std::string path =
        testing::WriteMap(dir_, DemoMap(), QString::number(qHash(tag)).toStdString() + "_" + name);
    OpenThroughMenu(window(), dialogs_, QString::fromStdString(path));
    return path;
}

// The steps: type into a field without Return, then a shortcut.
// The shortcut does what it always does, and the map stays as it was: no
// byte, no backup, no step to undo.
void FieldKeysTest::shortcutsInAFieldWriteNothing_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");      // what the platform types for it
    QTest::addColumn<QString>("clipboard");  // afterwards; empty: not checked
    const QStringList scripts{"scripts"};
    const QStringList patrol{"scripts", "s: patrol_loop"};
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+C in a name field") << scripts << "s: patrol_loop" << "FldScriptName" << int(Qt::Key_C)
                                            << ctrl << "\x03" << "patrol_loop_copyme";
    QTest::newRow("Ctrl+C in a node field") << patrol << "103" << "FldSyntaxExpIdent" << int(Qt::Key_C) << ctrl
                                            << "\x03" << "103_copyme";
    QTest::newRow("Ctrl+M, a carriage return") << scripts << "s: intro" << "FldScriptExpPointer" << int(Qt::Key_M)
                                               << ctrl << "\r" << "";
    QTest::newRow("Ctrl+Return") << patrol << "103" << "FldSyntaxKidExp" << int(Qt::Key_Return) << ctrl << "\r" << "";
    QTest::newRow("Alt+keypad Enter") << scripts << "s: intro" << "FldScriptName" << int(Qt::Key_Enter)
                                      << int(Qt::AltModifier | Qt::KeypadModifier) << "\r" << "";
}

void FieldKeysTest::shortcutsInAFieldWriteNothing() {
    QFETCH(QStringList, path);
    QFETCH(QString, row);
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    const std::string file = open("keys.map");
    const auto loaded = testing::ReadBytes(file);
    QVERIFY(SelectRow(list(), path, row));
    QLineEdit& control = Field(window(), qPrintable(field));
    QVERIFY(FocusIn(control));
    control.end(false);
    QTest::keyClicks(&control, QStringLiteral("_copyme"));
    PressAsThePlatformDoes(control, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QCOMPARE(control.selectedText(), control.text());
    PressAsThePlatformDoes(control, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers), text);

    QVERIFY(testing::ReadBytes(file) == loaded);
    QVERIFY(!std::filesystem::exists(file + ".bak"));
    QVERIFY(!MenuItem(window(), "ScriptToolsUndoWrite")->isEnabled());
    if (!clipboard.isEmpty()) QCOMPARE(QApplication::clipboard()->text(), clipboard);
    // Return, asked for, still writes (a number field its leading digits).
    QTest::keyClick(&control, Qt::Key_Return);
    QVERIFY(MenuItem(window(), "ScriptToolsUndoWrite")->isEnabled());
}

// Right after a write the cursor is still in the field: Ctrl+Shift+Z and
// Ctrl+Shift+Y reach Undo Last Write and Redo Write from there, and from
// every other kind of control of the window.
void FieldKeysTest::writeUndoAndRedoFromEveryWidget_data() {
    QTest::addColumn<QString>("focus");  // object name; empty: the field just written
    QTest::newRow("the field just written") << "";
    QTest::newRow("another field") << "FldScriptName";
    QTest::newRow("the tree") << "Lb_Select";
    QTest::newRow("a popup") << "PopScriptType";
    QTest::newRow("the script text") << "FldScriptDeComp";
}

void FieldKeysTest::writeUndoAndRedoFromEveryWidget() {
    QFETCH(QString, focus);
    const std::string file = open("undo.map");
    const auto loaded = testing::ReadBytes(file);
    QVERIFY(SelectRow(list(), {"scripts"}, "s: intro"));
    QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
    QVERIFY(FocusIn(pointer));
    TypeInto(pointer, QStringLiteral("7"));
    QTest::keyClick(&pointer, Qt::Key_Return);
    const auto written = testing::ReadBytes(file);
    QVERIFY(written != loaded);

    QWidget* target = focus.isEmpty() ? &pointer : window().findChild<QWidget*>(focus);
    QVERIFY(target);
    QVERIFY(FocusIn(*target));
    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY2(testing::ReadBytes(file) == loaded, "Ctrl+Shift+Z undid nothing");
    QCOMPARE(pointer.text(), QStringLiteral("119"));
    QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY2(testing::ReadBytes(file) == written, "Ctrl+Shift+Y redid nothing");
    QCOMPARE(pointer.text(), QStringLiteral("7"));
    QCOMPARE(dialogs_.messages.last(), QStringLiteral("Map loaded!"));  // no box on the way
}

// The field's own text undo keeps Ctrl+Z and never touches the map.
void FieldKeysTest::fieldTextUndoStaysOnCtrlZ() {
    const std::string file = open("textundo.map");
    QVERIFY(SelectRow(list(), {"scripts"}, "s: intro"));
    QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
    QVERIFY(FocusIn(pointer));
    pointer.end(false);
    QTest::keyClicks(&pointer, QStringLiteral("5"));
    QCOMPARE(pointer.text(), QStringLiteral("1195"));
    const auto before = testing::ReadBytes(file);
    QTest::keyClick(&pointer, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pointer.text(), QStringLiteral("119"));
    QVERIFY(testing::ReadBytes(file) == before);
}

// Typing that was not written stays visible as such: the field is marked
// (italics on a tinted background) and the status line says what to do,
// also after the focus has moved on. Escape puts back the file's value;
// Return writes and the mark goes.
void FieldKeysTest::typingNotWrittenIsMarked_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("fileValue");
    QTest::addColumn<QString>("typed");
    QTest::newRow("name field") << QStringList{"scripts"} << "s: watch_gate" << "FldScriptName" << "watch_gate"
                                << "gate_loop";
    QTest::newRow("number field") << QStringList{"scripts", "s: patrol_loop"} << "103" << "FldSyntaxScriptValue"
                                  << "30" << "45";
}

void FieldKeysTest::typingNotWrittenIsMarked() {
    QFETCH(QStringList, path);
    QFETCH(QString, row);
    QFETCH(QString, field);
    QFETCH(QString, fileValue);
    QFETCH(QString, typed);
    const std::string file = open("marks.map");
    const auto loaded = testing::ReadBytes(file);
    QVERIFY(SelectRow(list(), path, row));
    QLineEdit& control = Field(window(), qPrintable(field));
    const QPalette unmarked = control.palette();
    QVERIFY(!control.font().italic());
    QCOMPARE(hint(), QString());

    QVERIFY(FocusIn(control));
    TypeInto(control, typed);
    QVERIFY(control.font().italic());
    QVERIFY(control.palette().color(QPalette::Base) != unmarked.color(QPalette::Base));
    QCOMPARE(hint(), QLatin1String(kHint));
    // Leaving the field leaves the mark.
    QVERIFY(FocusIn(list()));
    QCOMPARE(control.text(), typed);
    QVERIFY(control.font().italic());
    QCOMPARE(hint(), QLatin1String(kHint));

    QVERIFY(FocusIn(control));
    QTest::keyClick(&control, Qt::Key_Escape);
    QCOMPARE(control.text(), fileValue);
    QVERIFY(!control.font().italic());
    QCOMPARE(control.palette().color(QPalette::Base), unmarked.color(QPalette::Base));
    QCOMPARE(hint(), QString());
    QVERIFY(testing::ReadBytes(file) == loaded);

    TypeInto(control, typed);
    QTest::keyClick(&control, Qt::Key_Return);
    QVERIFY(testing::ReadBytes(file) != loaded);
    QVERIFY(!control.font().italic());
    QCOMPARE(hint(), QString());
}

QTEST_MAIN(FieldKeysTest)
#include "field_keys_test.moc"
