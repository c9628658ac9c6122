// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu, chosen on a window's bar as a user does: About Quorin names
// the version and links the licence's text, About Qt shows the toolkit's own
// box, and Keyboard Shortcuts lists every key of the menus.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "base/Version.h"
#include "ui/main/MainWindow.h"
#include "ui/shell/HelpWindows.h"
#include "ui/shell/MenuBar.h"
#include "ui/support/MainWindowDriver.h"

using namespace quorin;
using namespace quorin::uitest;

namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// "menu > item" and keys of every item on window's bar that has a shortcut.
QStringList BarShortcuts(QMainWindow& window) {
    QStringList shortcuts;
    for (QAction* action : window.menuBar()->findChildren<QAction*>()) {
        if (action->shortcut().isEmpty()) continue;
        QString item = action->text().remove(u'&');
        shortcuts << item + QStringLiteral(" = ") + action->shortcut().toString(QKeySequence::NativeText);
    }
    shortcuts.sort();
    return shortcuts;
}

}  // namespace

class HelpMenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        main_ = &wired_.window();
        main_->show();
        // A window made after start-up gets the same bar and the same Help.
        other_ = std::make_unique<QMainWindow>();
        wired_.menus().installBar(*other_);
        other_->show();
    }

    void aboutNamesVersionAndLicence_data() {
        QTest::addColumn<bool>("fromMain");
        QTest::newRow("main window") << true;
        QTest::newRow("another window") << false;
    }
    void aboutNamesVersionAndLicence() {
        QFETCH(bool, fromMain);
        QMainWindow& from = fromMain ? static_cast<QMainWindow&>(*main_) : *other_;
        TriggerMenuItem(from, "HelpAbout");
        TriggerMenuItem(from, "HelpAbout");  // the open box again, not a second one
        const auto boxes = from.findChildren<QMessageBox*>(QLatin1String(ui::kAboutBoxName));
        QCOMPARE(boxes.size(), 1);
        QMessageBox& box = *boxes.front();
        QVERIFY(box.isVisible());
        QVERIFY(!box.isModal());
        QCOMPARE(box.windowTitle(), QStringLiteral("About Quorin"));
        const QString text = box.text();
        QVERIFY2(text.contains(QStringLiteral("Quorin ") + Latin1(Version())), qPrintable(text));
        QVERIFY2(text.contains(Latin1(kSummary)), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("<a href=\"%1\">%2</a>").arg(Latin1(kLicenceUrl), Latin1(kLicenceName))),
                 qPrintable(text));
        // The link opens the licence's text in the browser.
        auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QVERIFY(label->openExternalLinks());
        box.close();
    }

    void aboutQtShowsTheToolkitsBox() {
        QString shown;
        QTimer::singleShot(0, this, [&shown] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                shown = box->windowTitle();
                box->close();
            }
        });
        TriggerMenuItem(*other_, "HelpAboutQt");
        QCOMPARE(shown, QStringLiteral("About Qt"));
    }

    void shortcutsListEveryMenuKey_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("File") << "File > Open" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("Edit") << "Edit > Find Previous" << QKeySequence(Qt::SHIFT | Qt::Key_F3);
        QTest::newRow("Script Tools") << QStringLiteral("Script Tools > Find in Map\u2026")
                                      << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
    }
    void shortcutsListEveryMenuKey() {
        QFETCH(QString, where);
        QFETCH(QKeySequence, keys);
        TriggerMenuItem(*main_, "HelpKeyboardShortcuts");
        auto* window = main_->findChild<QWidget*>(QLatin1String(ui::kShortcutsWindowName));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ShortcutList"));
        QVERIFY(list);
        const auto rows = list->findItems(where, Qt::MatchExactly, 0);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.front()->text(1), keys.toString(QKeySequence::NativeText));

        // Every key the bar carries is listed, and nothing else.
        QStringList listed;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list->topLevelItem(i);
            listed << row->text(0).section(QStringLiteral(" > "), -1) + QStringLiteral(" = ") + row->text(1);
        }
        listed.sort();
        QCOMPARE(listed, BarShortcuts(*main_));
    }

    void cleanupTestCase() { other_.reset(); }

private:
    ScriptedDialogs dialogs_;
    WiredMainWindow wired_{dialogs_};
    MainWindow* main_ = nullptr;
    std::unique_ptr<QMainWindow> other_;
};

QTEST_MAIN(HelpMenuTest)
#include "help_menu_test.moc"
