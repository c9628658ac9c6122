#include "ui/shell/MenuBar.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>
#include <vector>

#include "ui/main/MainWindow.h"

namespace {

enum class TextCommand { Undo, Cut, Copy, Paste, Delete, SelectAll };

// The Edit items have no handler of their own: they act on the text field
// that has the keyboard focus, whichever window it is in.
void ApplyToFocusedText(TextCommand command) {
    QWidget* focused = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focused)) {
        switch (command) {
        case TextCommand::Undo: line->undo(); break;
        case TextCommand::Cut: line->cut(); break;
        case TextCommand::Copy: line->copy(); break;
        case TextCommand::Paste: line->paste(); break;
        case TextCommand::Delete: line->del(); break;
        case TextCommand::SelectAll: line->selectAll(); break;
        }
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(focused)) {
        switch (command) {
        case TextCommand::Undo: area->undo(); break;
        case TextCommand::Cut: area->cut(); break;
        case TextCommand::Copy: area->copy(); break;
        case TextCommand::Paste: area->paste(); break;
        case TextCommand::Delete: area->textCursor().removeSelectedText(); break;
        case TextCommand::SelectAll: area->selectAll(); break;
        }
    }
}

bool protectMapEnabled = false;

std::vector<QPointer<QAction>>& ProtectMapItems() {
    static std::vector<QPointer<QAction>> items;
    return items;
}

QMenu* AddMenu(QWidget* parent, const char* name, const char* text) {
    auto* menu = new QMenu(QString::fromLatin1(text), parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

// Every item is parented to its menu, so a window finds it by name.
QAction* AddItem(QMenu* menu, const char* name, const char* text, const QKeySequence& shortcut,
                 std::function<void()> handler) {
    auto* item = new QAction(QString::fromLatin1(text), menu);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    QObject::connect(item, &QAction::triggered, item, [handler = std::move(handler)] { handler(); });
    menu->addAction(item);
    return item;
}

void AddSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
}

}  // namespace

void InstallMenuBar(QMainWindow& window) {
    auto* bar = new QMenuBar(&window);
    bar->setObjectName(QStringLiteral("MenuBar1"));
    const QKeySequence none;

    QMenu* file = AddMenu(bar, "FileMenu", "&File");
    QAction* quit = AddItem(file, "FileQuit", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), [] { QApplication::quit(); });
    quit->setMenuRole(QAction::QuitRole);
    AddItem(file, "Fileopen", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O),
            [] { MainWindow::instance()._Fileopen_Action(); });
    bar->addMenu(file);

    QMenu* edit = AddMenu(bar, "EditMenu", "&Edit");
    AddItem(edit, "EditUndo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), [] { ApplyToFocusedText(TextCommand::Undo); });
    AddSeparator(edit, "UntitledMenu1");
    AddItem(edit, "EditCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), [] { ApplyToFocusedText(TextCommand::Cut); });
    AddItem(edit, "EditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), [] { ApplyToFocusedText(TextCommand::Copy); });
    AddItem(edit, "EditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V),
            [] { ApplyToFocusedText(TextCommand::Paste); });
    AddItem(edit, "EditClear", "&Delete", none, [] { ApplyToFocusedText(TextCommand::Delete); });
    AddSeparator(edit, "UntitledMenu0");
    AddItem(edit, "EditSelectAll", "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A),
            [] { ApplyToFocusedText(TextCommand::SelectAll); });
    bar->addMenu(edit);

    QMenu* tools = AddMenu(bar, "ScriptMenu", "&Script Tools");
    QAction* protect = AddItem(tools, "ScriptToolsProtectMap", "&Protect Map", QKeySequence(Qt::CTRL | Qt::Key_P),
                               [] { MainWindow::instance()._ScriptToolsProtectMap_Action(); });
    protect->setEnabled(protectMapEnabled);
    ProtectMapItems().emplace_back(protect);

    QMenu* extract = AddMenu(tools, "ScriptToolsExtract", "&Extract...");
    AddItem(extract, "Extractall", "All", none, [] { MainWindow::instance()._Extractall_Action(); });
    AddItem(extract, "ExtractGlobalRange", "Global Range", none,
            [] { MainWindow::instance()._ExtractGlobalRange_Action(); });
    AddItem(extract, "ExtractScriptRange", "Script Range", none,
            [] { MainWindow::instance()._ExtractScriptRange_Action(); });
    tools->addMenu(extract);
    AddItem(tools, "ScriptToolsdatabase", "&Database", none, [] { MainWindow::instance()._ScriptToolsdatabase_Action(); });
    bar->addMenu(tools);

    window.setMenuBar(bar);
}

void SetProtectMapEnabled(bool enabled) {
    protectMapEnabled = enabled;
    auto& items = ProtectMapItems();
    std::erase_if(items, [](const QPointer<QAction>& item) { return item.isNull(); });
    for (const QPointer<QAction>& item : items) item->setEnabled(enabled);
}

bool ProtectMapEnabled() { return protectMapEnabled; }
