// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MenuBar1 as one table: menus, submenus, separators and items in the order
// they appear, each with its object name, text and shortcut. Handlers are not
// part of it: start-up wires them by item name (SetMenuCommand), except for
// the standard commands the shell carries out itself. Texts are UTF-8.

#include <QKeyCombination>

namespace quorin::ui {

enum class MenuEntryKind {
    Menu,        // opens a menu; inside another menu, a submenu
    FilledMenu,  // a submenu whose items are made each time it opens
    EndMenu,     // closes the innermost open menu
    Item,
    CheckItem,   // an item with a check mark that every bar shows alike
    Separator,
};

// What an item does when no handler is wired to its name.
enum class StandardCommand { None, Quit, Undo, Cut, Copy, Paste, Delete, SelectAll };

inline constexpr QKeyCombination kNoShortcut = QKeyCombination::fromCombined(0);

// File > Save As…: only a window with a text to save enables it on its bar.
inline constexpr const char* kSaveAsItem = "FileSaveAs";

struct MenuEntry {
    MenuEntryKind kind;
    const char* name = "";
    const char* text = "";  // UTF-8
    QKeyCombination shortcut = kNoShortcut;
    StandardCommand standard = StandardCommand::None;
    // Until SetMenuItemEnabled says otherwise, on every bar.
    bool enabledAtStart = true;
};

constexpr MenuEntry Menu(const char* name, const char* text) { return {MenuEntryKind::Menu, name, text}; }
constexpr MenuEntry FilledMenu(const char* name, const char* text) { return {MenuEntryKind::FilledMenu, name, text}; }
constexpr MenuEntry EndMenu() { return {MenuEntryKind::EndMenu}; }
constexpr MenuEntry Separator(const char* name) { return {MenuEntryKind::Separator, name}; }
constexpr MenuEntry Item(const char* name, const char* text, QKeyCombination shortcut = kNoShortcut,
                         StandardCommand standard = StandardCommand::None) {
    return {MenuEntryKind::Item, name, text, shortcut, standard};
}
constexpr MenuEntry CheckItem(const char* name, const char* text, QKeyCombination shortcut = kNoShortcut) {
    return {MenuEntryKind::CheckItem, name, text, shortcut};
}
constexpr MenuEntry DisabledAtStart(MenuEntry entry) {
    entry.enabledAtStart = false;
    return entry;
}

inline constexpr const char* kMenuBar1Name = "MenuBar1";

inline constexpr MenuEntry kMenuBar1[] = {
    Menu("FileMenu", "&File"),
    // Before Open: a platform that moves quit into an application menu
    // leaves Open alone in File.
    Item("FileQuit", "&Quit", Qt::CTRL | Qt::Key_Q, StandardCommand::Quit),
    Item("Fileopen", "&Open", Qt::CTRL | Qt::Key_O),
    Item("FileOpenReadOnly", "Open &Read-Only\u2026"),
    // The last maps opened, listed each time the submenu opens.
    FilledMenu("FileOpenRecent", "Open Rec&ent"),
    EndMenu(),
    // The loaded map against another one; nothing to compare before a load.
    DisabledAtStart(Item("FileCompareWith", "Compare &With\u2026", Qt::CTRL | Qt::Key_D)),
    Separator("FileSaving"),
    // Saves a window's text; a window with none disables it on its own bar.
    Item("FileSaveAs", "Save &As\u2026", Qt::CTRL | Qt::SHIFT | Qt::Key_S),
    EndMenu(),

    Menu("EditMenu", "&Edit"),
    Item("EditUndo", "&Undo", Qt::CTRL | Qt::Key_Z, StandardCommand::Undo),
    Separator("UntitledMenu1"),
    Item("EditCut", "Cu&t", Qt::CTRL | Qt::Key_X, StandardCommand::Cut),
    Item("EditCopy", "&Copy", Qt::CTRL | Qt::Key_C, StandardCommand::Copy),
    Item("EditPaste", "&Paste", Qt::CTRL | Qt::Key_V, StandardCommand::Paste),
    Item("EditClear", "&Delete", kNoShortcut, StandardCommand::Delete),
    Separator("UntitledMenu0"),
    Item("EditSelectAll", "Select &All", Qt::CTRL | Qt::Key_A, StandardCommand::SelectAll),
    Separator("EditFinding"),
    // In the focused text of the window only; Find in Map searches the map.
    Item("EditFind", "&Find\u2026", Qt::CTRL | Qt::Key_F),
    Item("EditFindNext", "Find &Next", QKeyCombination(Qt::Key_F3)),
    Item("EditFindPrevious", "Find Pre&vious", Qt::SHIFT | Qt::Key_F3),
    EndMenu(),

    Menu("ScriptMenu", "&Script Tools"),
    // Nothing to protect before a map has loaded.
    DisabledAtStart(Item("ScriptToolsProtectMap", "&Protect Map", Qt::CTRL | Qt::Key_P)),
    Menu("ScriptToolsExtract", "&Extract..."),
    Item("Extractall", "All"),
    Item("ExtractGlobalRange", "Global Range"),
    Item("ExtractScriptRange", "Script Range"),
    EndMenu(),
    Item("ScriptToolsdatabase", "&Database"),
    Item("ScriptToolsFindInMap", "&Find in Map…", Qt::CTRL | Qt::SHIFT | Qt::Key_F),
    // Only while a script or global is selected in the main window.
    DisabledAtStart(Item("ScriptToolsEditAsText", "Edit as &Text\u2026", Qt::CTRL | Qt::Key_E)),
    Separator("ScriptToolsWrites"),
    // Nothing to take back before a write, nothing to make again before an undo.
    DisabledAtStart(Item("ScriptToolsUndoWrite", "&Undo Last Write", Qt::CTRL | Qt::SHIFT | Qt::Key_Z)),
    DisabledAtStart(Item("ScriptToolsRedoWrite", "&Redo Write", Qt::CTRL | Qt::SHIFT | Qt::Key_Y)),
    CheckItem("ScriptToolsBackUp", "Back Up Before First Write"),
    EndMenu(),

    Menu("HelpMenu", "&Help"),
    Item("HelpAbout", "&About Quorin"),
    Item("HelpAboutQt", "About &Qt"),
    Separator("HelpKeys"),
    // Lists every shortcut of this table.
    Item("HelpKeyboardShortcuts", "&Keyboard Shortcuts"),
    EndMenu(),
};

}  // namespace quorin::ui
