// SPDX-License-Identifier: GPL-3.0-or-later
// After every write the main window shows what the file holds: the row
// that reaches the record, the page's fields and the script or global text,
// after a field, a popup, an undo and a redo alike. Protect Map alone leaves
// the loaded names and texts on screen until the map is opened again.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "builder/DemoMap.h"
#include "support/TempMap.h"
#include "ui/main/MainWindow.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

class ShownAfterWriteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyWriteShowsTheFile_data();
    void everyWriteShowsTheFile();
    void protectMapKeepsTheLoadedTexts();

private:
    MainWindow& window() { return wired_.window(); }
    QTreeWidget& list() { return List(window()); }
    // A text of the window; empty for no name.
    QString text(const QString& area) {
        return area.isEmpty() ? QString() : window().findChild<QPlainTextEdit*>(area)->toPlainText();
    }

    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    testing::TempDir dir_;
};

void ShownAfterWriteTest::initTestCase() {
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

// One row per kind of control. The write, its undo and its redo each leave
// the selected row, the control and a text of the window showing the file.
void ShownAfterWriteTest::everyWriteShowsTheFile_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");     // typed and Return, or the popup item chosen
    QTest::addColumn<QString>("rowAfter");  // the selected row's text once written
    QTest::addColumn<QString>("area");      // a text of the window
    QTest::addColumn<QString>("before");    // in it as loaded
    QTest::addColumn<QString>("after");     // in it once written
    const QStringList scripts{"scripts"};
    const QStringList patrol{"scripts", "s: patrol_loop"};
    QTest::newRow("script name") << scripts << "s: patrol_loop" << "FldScriptName" << "renamed" << "s: renamed"
                                 << "FldScriptDeComp" << "(script static void patrol_loop"
                                 << "(script static void renamed";
    QTest::newRow("global name") << QStringList{"globals"} << "g: guard_count" << "FldGlobalName" << "guards"
                                 << "g: guards" << "FldGlobalDecomp" << "(global short guard_count 4)"
                                 << "(global short guards 4)";
    // No text of the window shows a node's identity; its row does.
    QTest::newRow("node identity") << patrol << "103" << "FldSyntaxExpIdent" << "160" << "160" << "" << "" << "";
    // The script's text shows the node's new value, though the node's page
    // is the one on screen.
    QTest::newRow("node value") << patrol << "103" << "FldSyntaxScriptValue" << "45" << "103" << "FldScriptDeComp"
                                << "( sleep 30)" << "( sleep 45)";
    QTest::newRow("script type popup") << scripts << "s: patrol_loop" << "PopScriptType" << "dormant"
                                       << "s: patrol_loop" << "FldScriptDeComp" << "(script static void"
                                       << "(script dormant void";
}

void ShownAfterWriteTest::everyWriteShowsTheFile() {
    QFETCH(QStringList, path);
    QFETCH(QString, row);
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(QString, rowAfter);
    QFETCH(QString, area);
    QFETCH(QString, before);
    QFETCH(QString, after);
    const QString map = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "shown.map"));
    OpenThroughMenu(window(), dialogs_, map);
    QTreeWidgetItem* item = SelectRow(list(), path, row);
    QVERIFY(item);
    const bool popup = control.startsWith(QLatin1String("Pop"));
    const auto shown = [&] {
        return popup ? Popup(window(), qPrintable(control)).currentText() : Field(window(), qPrintable(control)).text();
    };
    const QString loaded = shown();
    QVERIFY2(text(area).contains(before), qPrintable(text(area)));

    if (popup) {
        ChoosePopupItem(Popup(window(), qPrintable(control)), value);
    } else {
        QLineEdit& field = Field(window(), qPrintable(control));
        TypeInto(field, value);
        QTest::keyClick(&field, Qt::Key_Return);
    }
    const auto written = [&] {
        QCOMPARE(item->text(0), rowAfter);
        QCOMPARE(shown(), value);
        QVERIFY2(text(area).contains(after), qPrintable(text(area)));
    };
    written();
    if (QTest::currentTestFailed()) return;

    TriggerMenuItem(window(), "ScriptToolsUndoWrite");
    QCOMPARE(item->text(0), row);
    QCOMPARE(shown(), loaded);
    QVERIFY2(text(area).contains(before), qPrintable(text(area)));

    TriggerMenuItem(window(), "ScriptToolsRedoWrite");
    written();
}

// Protect Map changes every name in the file but none in the records: the
// rows, the fields and the texts keep the loaded names, also after its undo
// and after a later write, until the map is opened again.
void ShownAfterWriteTest::protectMapKeepsTheLoadedTexts() {
    const QString map = QString::fromStdString(testing::WriteMap(dir_, DemoMap(), "protected.map"));
    OpenThroughMenu(window(), dialogs_, map);
    QTreeWidgetItem* item = SelectRow(list(), {"scripts"}, "s: intro");
    QVERIFY(item);
    const QString script = text(QStringLiteral("FldScriptDeComp"));
    const auto unchanged = [&] {
        QCOMPARE(item->text(0), QStringLiteral("s: intro"));
        QCOMPARE(Field(window(), "FldScriptName").text(), QStringLiteral("intro"));
        QCOMPARE(text(QStringLiteral("FldScriptDeComp")), script);
    };
    TriggerMenuItem(window(), "ScriptToolsProtectMap");
    unchanged();
    if (QTest::currentTestFailed()) return;
    QLineEdit& pointer = Field(window(), "FldScriptExpPointer");
    TypeInto(pointer, QStringLiteral("119"));
    QTest::keyClick(&pointer, Qt::Key_Return);
    unchanged();
    TriggerMenuItem(window(), "ScriptToolsUndoWrite");
    TriggerMenuItem(window(), "ScriptToolsUndoWrite");
    unchanged();

    // Opened again, the window shows the protected names.
    OpenThroughMenu(window(), dialogs_, map);
    TriggerMenuItem(window(), "ScriptToolsProtectMap");
    OpenThroughMenu(window(), dialogs_, map);
    QVERIFY(SelectRow(list(), {"scripts"}, "s: <protected>"));
}

QTEST_MAIN(ShownAfterWriteTest)
#include "shown_after_write_test.moc"
