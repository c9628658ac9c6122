// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Find…, Find Next and Find Previous: a find in the focused text of
// one window, going round its ends, never a search of the map.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/shell/FindInText.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

// Where each match of query starts in text, ignoring letter case.
QList<int> Matches(const QString& text, const QString& query) {
    QList<int> starts;
    for (qsizetype at = text.indexOf(query, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(query, at + 1, Qt::CaseInsensitive)) {
        starts << static_cast<int>(at);
    }
    return starts;
}

ui::FindInText* FindBox(QWidget& window) { return window.findChild<ui::FindInText*>(QStringLiteral("FindInText")); }

void Focus(QWidget& widget) {
    widget.activateWindow();
    widget.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), &widget);
}

}  // namespace

class FindInTextTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        const QString path = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "find.map"));
        QCOMPARE(OpenThroughMenu(window(), dialogs_, path), QStringList{QStringLiteral("Map loaded!")});
    }

    // Next walks every match in order and goes round to the first; Previous
    // walks back the same way. Return in the box is Next, Shift+Return and
    // Find Previous are Previous.
    void nextAndPreviousWalkEveryMatch_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("query");
        QTest::newRow("two matches, other case") << "s: patrol_loop" << "( S";
        QTest::newRow("one match") << "s: open_vault" << "VAULT_DOOR";
        QTest::newRow("many matches") << "s: intro" << "a";
    }
    void nextAndPreviousWalkEveryMatch() {
        QFETCH(QString, script);
        QFETCH(QString, query);
        QPlainTextEdit& text = scriptText(script);
        const QList<int> starts = Matches(text.toPlainText(), query);
        QVERIFY(!starts.isEmpty());
        Focus(text);
        text.moveCursor(QTextCursor::Start);
        TriggerMenuItem(window(), "EditFind");
        ui::FindInText* box = FindBox(window());
        QVERIFY(box);
        QCOMPARE(box->target(), &text);
        auto& field = *box->findChild<QLineEdit*>(QStringLiteral("FldFindText"));
        QTest::keyClicks(&field, query);

        for (int round = 0; round <= starts.size(); ++round) {
            QTest::keyClick(&field, Qt::Key_Return);
            const int expected = starts[round % starts.size()];
            QCOMPARE(text.textCursor().selectionStart(), expected);
            QCOMPARE(text.textCursor().selectedText().toLower(), query.toLower());
        }
        // Back from the first match goes round to the last.
        QTest::keyClick(&field, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(text.textCursor().selectionStart(), starts.last());
        QVERIFY(box->findChild<QLabel*>(QStringLiteral("LblFindStatus"))->text().contains(QStringLiteral("end")));
        TriggerMenuItem(window(), "EditFindPrevious");
        QCOMPARE(text.textCursor().selectionStart(), starts[std::max<qsizetype>(starts.size() - 2, 0)]);
        box->findChild<QPushButton*>(QStringLiteral("BtnFindNext"))->click();
        QCOMPARE(text.textCursor().selectionStart(), starts.last());
        box->close();
    }

    void absentTextSaysSoAndMovesNothing() {
        QPlainTextEdit& text = scriptText(QStringLiteral("s: patrol_loop"));
        Focus(text);
        text.moveCursor(QTextCursor::Start);
        text.moveCursor(QTextCursor::Down);
        const int cursor = text.textCursor().position();
        TriggerMenuItem(window(), "EditFind");
        ui::FindInText* box = FindBox(window());
        auto& field = *box->findChild<QLineEdit*>(QStringLiteral("FldFindText"));
        field.selectAll();
        QTest::keyClicks(&field, QStringLiteral("vault"));  // in other scripts, not in this one
        QTest::keyClick(&field, Qt::Key_Return);
        QCOMPARE(text.textCursor().position(), cursor);
        QVERIFY(!text.textCursor().hasSelection());
        QCOMPARE(box->findChild<QLabel*>(QStringLiteral("LblFindStatus"))->text(),
                 QStringLiteral("\u201Cvault\u201D is not in the text."));
        box->close();
    }

    // With the tree focused, Find searches the script text the page shows;
    // Find Next with no query yet opens the box.
    void withoutFocusedTextTheShownOneIsSearched() {
        QPlainTextEdit& text = scriptText(QStringLiteral("s: open_vault"));
        Focus(List(window()));
        delete FindBox(window());
        TriggerMenuItem(window(), "EditFindNext");
        ui::FindInText* box = FindBox(window());
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QCOMPARE(box->target(), &text);
        box->close();
    }

    // The main window shows no text of its own to save.
    void saveAsIsDisabledInTheMainWindow() { QVERIFY(!MenuItem(window(), "FileSaveAs")->isEnabled()); }

private:
    MainWindow& window() { return wired_.window(); }
    QPlainTextEdit& scriptText(const QString& script) {
        QTreeWidgetItem* scripts = Row(List(window()), QStringLiteral("scripts"));
        if (!scripts->isExpanded()) ExpandRow(List(window()), *scripts);
        ClickRow(List(window()), *Row(List(window()), script, scripts));
        return *window().findChild<QPlainTextEdit*>(QStringLiteral("FldScriptDeComp"));
    }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

QTEST_MAIN(FindInTextTest)
#include "find_in_text_test.moc"
