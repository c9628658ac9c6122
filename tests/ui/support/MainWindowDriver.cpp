// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/support/MainWindowDriver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/Startup.h"
#include "ui/main/MainWindow.h"

namespace quorin::uitest {

void ScriptedDialogs::showMessage(QWidget* parent, const QString& text, ui::MessageKind kind) {
    if (showMessagesWith) {
        showMessagesWith->showMessage(parent, text, kind);
        return;
    }
    messages << text;
    kinds << kind;
}

QString ScriptedDialogs::askMapFile(QWidget*, const QString& title) {
    ++openDialogs;
    lastOpenTitle = title;
    lastFilter = ui::MapFileFilter();
    if (answers_.empty()) return {};
    QString path = answers_.front();
    answers_.pop_front();
    return path;
}

QString ScriptedDialogs::askSaveFile(QWidget*, const QString& suggestedName) {
    suggestedNames << suggestedName;
    if (saveAnswers_.empty()) return {};
    QString path = saveAnswers_.front();
    saveAnswers_.pop_front();
    return path;
}

QAction* MenuItem(QWidget& window, const char* name) {
    auto* item = window.findChild<QAction*>(QString::fromLatin1(name));
    if (!item) QTest::qFail(qPrintable(QStringLiteral("no menu item %1").arg(QLatin1String(name))), __FILE__, __LINE__);
    return item;
}

void TriggerMenuItem(QWidget& window, const char* name) {
    QAction* item = MenuItem(window, name);
    if (!item) return;
    if (!item->isEnabled()) {
        QTest::qFail(qPrintable(QStringLiteral("menu item %1 is disabled").arg(QLatin1String(name))), __FILE__, __LINE__);
        return;
    }
    item->trigger();
}

WiredMainWindow::WiredMainWindow(ui::DialogSeam& dialogs) : dialogs_(dialogs) {}

WiredMainWindow::~WiredMainWindow() = default;

MainWindow& WiredMainWindow::window() {
    if (!window_) {
        window_ = std::make_unique<MainWindow>(context());
        app::WireCommands(*window_);
    }
    return *window_;
}

QStringList OpenThroughMenu(QWidget& window, ScriptedDialogs& dialogs, const QString& path) {
    const auto before = dialogs.messages.size();
    dialogs.answerOpen(path);
    TriggerMenuItem(window, "Fileopen");
    return dialogs.messages.mid(before);
}

QTreeWidget& List(MainWindow& window) { return *window.findChild<QTreeWidget*>(QStringLiteral("Lb_Select")); }

QLineEdit& Field(MainWindow& window, const char* name) {
    return *window.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QComboBox& Popup(MainWindow& window, const char* name) {
    return *window.findChild<QComboBox*>(QString::fromLatin1(name));
}

int CurrentPage(MainWindow& window) {
    return window.findChild<QStackedWidget*>(QStringLiteral("PageEditor"))->currentIndex();
}

QTreeWidgetItem* Row(QTreeWidget& list, const QString& text, QTreeWidgetItem* parent) {
    const int count = parent ? parent->childCount() : list.topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* row = parent ? parent->child(i) : list.topLevelItem(i);
        if (row->text(0) == text) return row;
    }
    return nullptr;
}

QStringList ChildTexts(const QTreeWidgetItem& row) {
    QStringList texts;
    for (int i = 0; i < row.childCount(); ++i) texts << row.child(i)->text(0);
    return texts;
}

QStringList TopTexts(const QTreeWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i) texts << list.topLevelItem(i)->text(0);
    return texts;
}

void ClickRow(QTreeWidget& list, QTreeWidgetItem& row) {
    list.scrollToItem(&row);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(&row).center());
}

void ExpandRow(QTreeWidget& list, QTreeWidgetItem& row) {
    ClickRow(list, row);
    QTest::keyClick(&list, Qt::Key_Right);
}

void CollapseRow(QTreeWidget& list, QTreeWidgetItem& row) {
    ClickRow(list, row);
    QTest::keyClick(&list, Qt::Key_Left);
}

QTreeWidgetItem* ExpandPath(QTreeWidget& list, const QStringList& path) {
    QTreeWidgetItem* row = nullptr;
    for (const QString& text : path) {
        row = Row(list, text, row);
        if (!row) return nullptr;
        ExpandRow(list, *row);
    }
    return row;
}

QTreeWidgetItem* SelectRow(QTreeWidget& list, const QStringList& path, const QString& row) {
    QTreeWidgetItem* item = Row(list, row, ExpandPath(list, path));
    if (!item) {
        QTest::qFail(qPrintable(QStringLiteral("no row %1 under %2").arg(row, path.join(QLatin1String(" > ")))),
                     __FILE__, __LINE__);
        return nullptr;
    }
    ClickRow(list, *item);
    return item;
}

bool FocusIn(QWidget& widget) {
    QApplication::setActiveWindow(widget.window());
    widget.setFocus(Qt::MouseFocusReason);
    return QTest::qWaitFor([&widget] { return QApplication::focusWidget() == &widget; }, 2000);
}

void TypeInto(QLineEdit& field, const QString& text) {
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Delete);
    for (QChar character : text) {
        // QTest spells out ASCII keys only; other characters arrive as text.
        if (character.unicode() < 128) {
            QTest::keyClick(&field, character.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, &field, Qt::Key_unknown, QString(character), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, &field, Qt::Key_unknown, QString(character), Qt::NoModifier);
        }
    }
}

void ChoosePopupItem(QComboBox& popup, const QString& text) {
    const int index = popup.findText(text);
    if (index < 0) {
        QTest::qFail(qPrintable(QStringLiteral("no item %1").arg(text)), __FILE__, __LINE__);
        return;
    }
    popup.showPopup();
    QAbstractItemView* view = popup.view();
    const QModelIndex item = view->model()->index(index, popup.modelColumn(), view->rootIndex());
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    if (!QTest::qWaitFor([&] { return !view->isVisible(); }, 2000)) popup.hidePopup();
}

}  // namespace quorin::uitest
