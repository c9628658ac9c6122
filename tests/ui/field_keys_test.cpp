// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the main window as a modder presses them: only Return and the
// keypad's Enter write a field, and every shortcut keeps its meaning.

#include <QAction>
#include <QApplication>
#include <QClipboard>
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

// A key as the platform delivers it, with the character it types: on X11
// Ctrl+C types character 3, Ctrl+A character 1 and Ctrl+M a carriage return.
void PressAsThePlatformDoes(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QTest::sendKeyEvent(QTest::Press, &widget, key, text, modifiers);
    QTest::sendKeyEvent(QTest::Release, &widget, key, text, modifiers);
}

}  // namespace

class FieldKeysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void shortcutsInAFieldWriteNothing_data();
    void shortcutsInAFieldWriteNothing();

private:
    MainWindow& window() { return WiredMainWindow(); }
    QTreeWidget& list() { return List(window()); }
    std::string open(const char* name);

    ScriptedDialogs dialogs_;
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

QTEST_MAIN(FieldKeysTest)
#include "field_keys_test.moc"
