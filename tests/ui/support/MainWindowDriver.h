// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the main window the way a user does: menu items by name, rows by
// mouse and keyboard, fields by typing, popups by clicking an item. Every
// message box and the open dialog are answered through the dialog seam the
// test gives the window.

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

#include "ui/shell/Dialogs.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/WindowContext.h"

class MainWindow;
class QAction;
class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace quorin::uitest {

// Answers the open and save dialogs from queues (empty queue: cancelled)
// and keeps every message box text.
class ScriptedDialogs final : public ui::DialogSeam {
public:
    ScriptedDialogs() = default;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void showMessage(QWidget* parent, const QString& text, ui::MessageKind kind) override;
    QString askMapFile(QWidget* parent, const QString& title) override;
    QString askSaveFile(QWidget* parent, const QString& suggestedName) override;

    void answerOpen(const QString& path) { answers_.push_back(path); }
    // The next save dialog chooses path (none queued: cancelled).
    void answerSave(const QString& path) { saveAnswers_.push_back(path); }
    QStringList messages;
    QList<ui::MessageKind> kinds;  // one per message
    int openDialogs = 0;
    QString lastOpenTitle;
    QString lastFilter;
    QStringList suggestedNames;  // one per save dialog
    // While set, message boxes are shown by this seam instead (and not kept).
    ui::DialogSeam* showMessagesWith = nullptr;

private:
    std::deque<QString> answers_;
    std::deque<QString> saveAnswers_;
};

// The item called name on window's menu bar; fails the test when missing.
QAction* MenuItem(QWidget& window, const char* name);
// Triggers an enabled menu item as a click on it would.
void TriggerMenuItem(QWidget& window, const char* name);

// The main window as start-up makes it: a menu router of its own, the
// test's dialog seam, and every menu command wired. The window is made when
// first asked for and lives as long as this object.
class WiredMainWindow {
public:
    explicit WiredMainWindow(ui::DialogSeam& dialogs);
    ~WiredMainWindow();
    WiredMainWindow(const WiredMainWindow&) = delete;
    WiredMainWindow& operator=(const WiredMainWindow&) = delete;

    MainWindow& window();
    ui::MenuRouter& menus() { return menus_; }
    // What the main window's other windows are made with.
    ui::WindowContext context() { return {menus_, dialogs_}; }

private:
    ui::MenuRouter menus_;
    ui::DialogSeam& dialogs_;
    std::unique_ptr<MainWindow> window_;
};

// File > Open answered with path; returns the messages the load showed.
QStringList OpenThroughMenu(QWidget& window, ScriptedDialogs& dialogs, const QString& path);

QTreeWidget& List(MainWindow& window);
QLineEdit& Field(MainWindow& window, const char* name);
QComboBox& Popup(MainWindow& window, const char* name);
int CurrentPage(MainWindow& window);

// A row by its text among parent's children (the top rows when parent is
// nullptr); nullptr when there is none.
QTreeWidgetItem* Row(QTreeWidget& list, const QString& text, QTreeWidgetItem* parent = nullptr);
QStringList ChildTexts(const QTreeWidgetItem& row);
QStringList TopTexts(const QTreeWidget& list);

// A mouse click on the row, then Right (expand) or Left (collapse) as the
// keyboard does it.
void ClickRow(QTreeWidget& list, QTreeWidgetItem& row);
void ExpandRow(QTreeWidget& list, QTreeWidgetItem& row);
void CollapseRow(QTreeWidget& list, QTreeWidgetItem& row);
// Expands each row of the path in turn, from the top; returns the last.
QTreeWidgetItem* ExpandPath(QTreeWidget& list, const QStringList& path);
// Expands the path, then clicks the row with this text among the last
// row's children; nullptr (and a failed test) when there is none.
QTreeWidgetItem* SelectRow(QTreeWidget& list, const QStringList& path, const QString& row);
// Makes widget's window the active one and gives widget the keyboard
// focus, as a click into it does; false when it did not get it.
bool FocusIn(QWidget& widget);

// Replaces the field's text by typing (select all, then the keys).
void TypeInto(QLineEdit& field, const QString& text);
// Opens the popup's list and clicks the item with this text.
void ChoosePopupItem(QComboBox& popup, const QString& text);

}  // namespace quorin::uitest
