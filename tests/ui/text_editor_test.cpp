// SPDX-License-Identifier: GPL-3.0-or-later
// Script Tools > Edit as Text…, driven with keys as a person works: a
// script selected, Ctrl+E, a number changed, Ctrl+Return writes it and Undo
// Last Write takes it back; fixed text takes no typing; a refused token
// keeps Apply off; the editor follows writes made elsewhere. The bytes each
// token writes belong to the core tests.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>

#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/shell/MapText.h"
#include "ui/shell/TokenColours.h"
#include "ui/support/MainWindowDriver.h"
#include "ui/textedit/TextEditor.h"
#include "ui/textedit/TokenTextEdit.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

constexpr const char* kPatrol = "(script static void patrol_loop\n(begin\n( sleep 30)\n( set x( abs 5))\n))";

}  // namespace

class TextEditorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void editAsTextFollowsTheSelection();
    void numberAppliedAndUndone();
    void fixedTextTakesNoEdit_data();
    void fixedTextTakesNoEdit();
    void refusedTokenKeepsApplyOff();
    void tokenTakesSpacesAndParentheses();
    void editMenuUndoReachesTheToken();
    void writeElsewhereReachesTheEditor();
    void readOnlyMapOpensReadOnly();
    void mainWindowTextIsColoured();

private:
    MainWindow& window() { return wired_.window(); }
    std::string open(bool readOnly = false);
    void select(const QString& folder, const QString& row);
    // Ctrl+E in the main window; the editor becomes the active window.
    void editAsText();
    // The demo map opened, patrol_loop selected and Ctrl+E; the map's path.
    std::string editPatrolLoop(bool readOnly = false);
    ui::TextEditor* editor();
    ui::TokenTextEdit& field() { return editor()->field(); }
    // Puts the caret after the first `text` of the editor's text.
    void caretAfter(const QString& text);
    QString status() { return editor()->statusBar()->currentMessage(); }
    QPushButton& button(const char* name) { return *editor()->findChild<QPushButton*>(QLatin1String(name)); }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void TextEditorTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void TextEditorTest::cleanup() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<ui::TextEditor*>(top)) top->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::string TextEditorTest::open(bool readOnly) {
    const std::string path = testing::WriteMap(dir_, DemoMap(), "demo.map");
    if (readOnly) {
        dialogs_.answerOpen(QString::fromStdString(path));
        TriggerMenuItem(window(), "FileOpenReadOnly");
    } else {
        OpenThroughMenu(window(), dialogs_, QString::fromStdString(path));
    }
    return path;
}

void TextEditorTest::select(const QString& folder, const QString& row) {
    QTreeWidgetItem* parent = ExpandPath(List(window()), {folder});
    QVERIFY(parent);
    QTreeWidgetItem* item = Row(List(window()), row, parent);
    QVERIFY2(item, qPrintable(row));
    ClickRow(List(window()), *item);
}

void TextEditorTest::editAsText() {
    QTest::keyClick(&window(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(editor());
    // Its shortcuts work while it is the active window, as when it opens on screen.
    QApplication::setActiveWindow(editor());
    field().setFocus();
}

std::string TextEditorTest::editPatrolLoop(bool readOnly) {
    const std::string path = open(readOnly);
    select(QStringLiteral("scripts"), QStringLiteral("s: patrol_loop"));
    editAsText();
    return path;
}

ui::TextEditor* TextEditorTest::editor() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<ui::TextEditor*>(top); found && found->isVisible()) return found;
    }
    return nullptr;
}

void TextEditorTest::caretAfter(const QString& text) {
    const int at = static_cast<int>(field().text().indexOf(text));
    QVERIFY2(at >= 0, qPrintable(text));
    field().SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(at + text.size()));
}

void TextEditorTest::editAsTextFollowsTheSelection() {
    open();
    QAction* item = MenuItem(window(), "ScriptToolsEditAsText");
    QVERIFY(!item->isEnabled());
    select(QStringLiteral("scripts"), QStringLiteral("s: patrol_loop"));
    QVERIFY(item->isEnabled());
    QTest::keyClick(&window(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(editor());
    QCOMPARE(editor()->objectName(), QStringLiteral("TextEditor"));
    QCOMPARE(editor()->windowTitle(), QStringLiteral("patrol_loop \u2014 Edit as Text"));
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
    QVERIFY(!button("BtnApply").isEnabled());
    // Ctrl+E again brings the same editor forward.
    QTest::keyClick(&window(), Qt::Key_E, Qt::ControlModifier);
    int editors = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) editors += qobject_cast<ui::TextEditor*>(top) != nullptr;
    QCOMPARE(editors, 1);

    // A global too; a node is no text of its own.
    select(QStringLiteral("globals"), QStringLiteral("g: guard_count"));
    QVERIFY(item->isEnabled());
    QTreeWidgetItem* node = ExpandPath(List(window()), {QStringLiteral("scripts"), QStringLiteral("s: patrol_loop")});
    QVERIFY(node);
    ClickRow(List(window()), *node->child(1));
    QVERIFY(!item->isEnabled());
}

void TextEditorTest::numberAppliedAndUndone() {
    const std::string path = editPatrolLoop();
    const auto before = testing::ReadBytes(path);
    caretAfter(QStringLiteral("sleep 30"));
    QTest::keyClick(&field(), Qt::Key_Backspace);
    QTest::keyClick(&field(), Qt::Key_Backspace);
    QTest::keyClicks(&field(), QStringLiteral("60"));
    QVERIFY(button("BtnApply").isEnabled());
    QVERIFY(editor()->findChild<QPlainTextEdit*>(QStringLiteral("FldPlannedWrites"))->toPlainText().contains(
        QStringLiteral("\tnode 103 value: 30 -> 60")));
    QCOMPARE(testing::ReadBytes(path), before);

    QTest::keyClick(&field(), Qt::Key_Return, Qt::ControlModifier);
    QVERIFY2(testing::ReadBytes(path) != before, qPrintable(status()));
    QCOMPARE(status(), QStringLiteral("1 field written."));
    QVERIFY(!button("BtnApply").isEnabled());
    // The main window's page shows the new text.
    auto* text = window().findChild<QPlainTextEdit*>(QStringLiteral("FldScriptDeComp"));
    QVERIFY(text);
    QVERIFY(text->toPlainText().contains(QStringLiteral("( sleep 60)")));

    // Undo Last Write from the editor's own bar puts every byte back, and
    // the editor shows the text the file holds again.
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(testing::ReadBytes(path), before);
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
    QVERIFY(text->toPlainText().contains(QStringLiteral("( sleep 30)")));
}

void TextEditorTest::fixedTextTakesNoEdit_data() {
    QTest::addColumn<QString>("after");  // the caret goes after this text
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");  // typed instead of the key when not empty
    QTest::newRow("typing inside a word") << "(scr" << 0 << "x";
    QTest::newRow("typing between two parentheses") << "abs 5)" << 0 << "x";
    QTest::newRow("Backspace over a parenthesis") << "( " << int(Qt::Key_Backspace) << "";
    QTest::newRow("Delete of a space") << "sleep" << int(Qt::Key_Delete) << "";
    QTest::newRow("Return inside a token") << "sle" << int(Qt::Key_Return) << "";
    QTest::newRow("paste into fixed text") << "))\n" << int(Qt::Key_V) << "";
}

void TextEditorTest::fixedTextTakesNoEdit() {
    QFETCH(QString, after);
    QFETCH(int, key);
    QFETCH(QString, typed);
    editPatrolLoop();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    caretAfter(after);
    if (!typed.isEmpty()) QTest::keyClicks(&field(), typed);
    else if (key == Qt::Key_V) QTest::keyClick(&field(), Qt::Key_V, Qt::ControlModifier);
    else QTest::keyClick(&field(), static_cast<Qt::Key>(key));
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
    QVERIFY2(status().contains(QStringLiteral("fixed text")), qPrintable(status()));
    QVERIFY(!button("BtnApply").isEnabled());
}

void TextEditorTest::refusedTokenKeepsApplyOff() {
    editPatrolLoop();
    caretAfter(QStringLiteral("abs 5"));
    QTest::keyClicks(&field(), QStringLiteral("x"));
    QCOMPARE(status(), QStringLiteral("\"5x\" is not a number from -32768 to 32767"));
    QVERIFY(!button("BtnApply").isEnabled());
    QVERIFY(button("BtnRevert").isEnabled());
    // Underlined: the refused token carries the mark, its neighbour not.
    const int at = static_cast<int>(field().text().indexOf(QStringLiteral("5x")));
    const auto marked = [&](int position) {
        return (field().SendScintilla(QsciScintillaBase::SCI_INDICATORALLONFOR, static_cast<unsigned long>(position)) &
                (1 << 8)) != 0;
    };
    QVERIFY(marked(at));
    QVERIFY(!marked(at - 2));
    button("BtnRevert").click();
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
}

void TextEditorTest::tokenTakesSpacesAndParentheses() {
    const std::string path = editPatrolLoop();
    const auto before = testing::ReadBytes(path);
    // "sleep" becomes the text of intro's string, spaces and parentheses in it.
    caretAfter(QStringLiteral("( sleep"));
    for (int i = 0; i < 5; ++i) QTest::keyClick(&field(), Qt::Key_Backspace);
    QTest::keyClicks(&field(), QStringLiteral("hello, world (again)"));
    QVERIFY2(button("BtnApply").isEnabled(), qPrintable(status()));
    QTest::keyClick(&field(), Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(testing::ReadBytes(path) != before);
    QVERIFY(field().text().contains(QStringLiteral("( hello, world (again) 30)")));
}

void TextEditorTest::editMenuUndoReachesTheToken() {
    editPatrolLoop();
    caretAfter(QStringLiteral("patrol_loop"));
    QTest::keyClicks(&field(), QStringLiteral("2"));
    QVERIFY(field().text().contains(QStringLiteral("patrol_loop2")));
    QApplication::setActiveWindow(editor());
    field().setFocus();
    TriggerMenuItem(*editor(), "EditUndo");
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
    QTest::keyClick(&field(), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(field().text().contains(QStringLiteral("patrol_loop2")));
    QTest::keyClick(&field(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
}

void TextEditorTest::writeElsewhereReachesTheEditor() {
    editPatrolLoop();

    // Nothing pending: the editor shows what the main window wrote.
    TypeInto(Field(window(), "FldScriptName"), QStringLiteral("patrol"));
    QTest::keyClick(&Field(window(), "FldScriptName"), Qt::Key_Return);
    QVERIFY(field().text().startsWith(QStringLiteral("(script static void patrol\n")));
    QCOMPARE(editor()->windowTitle(), QStringLiteral("patrol \u2014 Edit as Text"));

    // Pending edits stay, Apply goes off until Revert.
    caretAfter(QStringLiteral("sleep 30"));
    QTest::keyClicks(&field(), QStringLiteral("1"));
    QVERIFY(button("BtnApply").isEnabled());
    TypeInto(Field(window(), "FldScriptName"), QStringLiteral("patrol_loop"));
    QTest::keyClick(&Field(window(), "FldScriptName"), Qt::Key_Return);
    QVERIFY(field().text().contains(QStringLiteral("sleep 301")));
    QVERIFY(!button("BtnApply").isEnabled());
    QVERIFY2(status().contains(QStringLiteral("Revert")), qPrintable(status()));
    button("BtnRevert").click();
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
}

void TextEditorTest::readOnlyMapOpensReadOnly() {
    const std::string path = editPatrolLoop(true);
    const auto before = testing::ReadBytes(path);
    caretAfter(QStringLiteral("sleep 3"));
    QTest::keyClicks(&field(), QStringLiteral("9"));
    QCOMPARE(field().text(), QString::fromLatin1(kPatrol));
    QVERIFY2(status().contains(QStringLiteral("read-only")), qPrintable(status()));
    QVERIFY(!button("BtnApply").isEnabled());
    QTest::keyClick(&field(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(testing::ReadBytes(path), before);
}

// The main window's script text and the editor read one colour table.
void TextEditorTest::mainWindowTextIsColoured() {
    open();
    select(QStringLiteral("scripts"), QStringLiteral("s: patrol_loop"));
    auto* text = window().findChild<QPlainTextEdit*>(QStringLiteral("FldScriptDeComp"));
    QVERIFY(text);
    const QTextBlock line = text->document()->findBlockByNumber(2);  // "( sleep 30)"
    QCOMPARE(line.text(), QStringLiteral("( sleep 30)"));
    const auto colourAt = [&](int column) {
        for (const QTextLayout::FormatRange& range : line.layout()->formats()) {
            if (range.start <= column && column < range.start + range.length) return range.format.foreground().color();
        }
        return QColor();
    };
    QCOMPARE(colourAt(2), ui::ColourOf(ui::TokenStyle::NodeText));
    QCOMPARE(colourAt(8), ui::ColourOf(ui::TokenStyle::Number));
    QCOMPARE(colourAt(0), ui::ColourOf(ui::TokenStyle::Parenthesis));

    // A written name moves every token after it: the colours move with them.
    QLineEdit& name = Field(window(), "FldScriptName");
    QVERIFY(FocusIn(name));
    TypeInto(name, QStringLiteral("patrol_loop_longer"));
    QTest::keyClick(&name, Qt::Key_Return);
    const QTextBlock after = text->document()->findBlockByNumber(2);
    QCOMPARE(after.text(), QStringLiteral("( sleep 30)"));
    for (const auto& [column, style] : {std::pair{2, ui::TokenStyle::NodeText}, std::pair{8, ui::TokenStyle::Number}}) {
        bool found = false;
        for (const QTextLayout::FormatRange& range : after.layout()->formats()) {
            if (range.start <= column && column < range.start + range.length) {
                QCOMPARE(range.format.foreground().color(), ui::ColourOf(style));
                found = true;
            }
        }
        QVERIFY2(found, "a token of the written text has no colour");
    }

    editAsText();
    const int number = static_cast<int>(field().text().indexOf(QStringLiteral("30")));
    QCOMPARE(field().styleAt(number), static_cast<int>(ui::TokenStyle::Number));
    QCOMPARE(field().styleAt(number - 2), static_cast<int>(ui::TokenStyle::NodeText));
}

QTEST_MAIN(TextEditorTest)
#include "text_editor_test.moc"
