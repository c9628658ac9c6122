// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu bar as one table: menus, submenus, separators and items in the
// order they appear, each with its object name, text and shortcut. Every
// item and every submenu filled at run time is a MenuCommand: start-up wires
// handlers to commands, the windows enable and disable commands, and the
// table places them, so a command that does not exist does not compile.
// The shell carries out the standard commands itself. Texts are UTF-8.

#include <QKeyCombination>
#include <span>
#include <string_view>

namespace quorin::ui {

// Every command of the menu bar, in the order of the table.
enum class MenuCommand {
    Quit,
    Open,
    OpenReadOnly,
    OpenRecent,  // the submenu of the last maps opened
    CompareWith,
    SaveAs,
    Undo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    FindInText,
    FindNext,
    FindPrevious,
    ProtectMap,
    ExtractAll,
    ExtractGlobalRange,
    ExtractScriptRange,
    Database,
    FindInMap,
    EditAsText,
    UndoWrite,
    RedoWrite,
    BackUpBeforeFirstWrite,
    About,
    AboutQt,
    KeyboardShortcuts,
};
inline constexpr int kMenuCommandCount = static_cast<int>(MenuCommand::KeyboardShortcuts) + 1;

// The object name of command's item (or submenu), by which scripts and
// tests find it on every bar. The one place commands meet their names.
constexpr const char* MenuCommandName(MenuCommand command) {
    switch (command) {
    case MenuCommand::Quit: return "FileQuit";
    case MenuCommand::Open: return "Fileopen";
    case MenuCommand::OpenReadOnly: return "FileOpenReadOnly";
    case MenuCommand::OpenRecent: return "FileOpenRecent";
    case MenuCommand::CompareWith: return "FileCompareWith";
    case MenuCommand::SaveAs: return "FileSaveAs";
    case MenuCommand::Undo: return "EditUndo";
    case MenuCommand::Cut: return "EditCut";
    case MenuCommand::Copy: return "EditCopy";
    case MenuCommand::Paste: return "EditPaste";
    case MenuCommand::Delete: return "EditClear";
    case MenuCommand::SelectAll: return "EditSelectAll";
    case MenuCommand::FindInText: return "EditFind";
    case MenuCommand::FindNext: return "EditFindNext";
    case MenuCommand::FindPrevious: return "EditFindPrevious";
    case MenuCommand::ProtectMap: return "ScriptToolsProtectMap";
    case MenuCommand::ExtractAll: return "Extractall";
    case MenuCommand::ExtractGlobalRange: return "ExtractGlobalRange";
    case MenuCommand::ExtractScriptRange: return "ExtractScriptRange";
    case MenuCommand::Database: return "ScriptToolsdatabase";
    case MenuCommand::FindInMap: return "ScriptToolsFindInMap";
    case MenuCommand::EditAsText: return "ScriptToolsEditAsText";
    case MenuCommand::UndoWrite: return "ScriptToolsUndoWrite";
    case MenuCommand::RedoWrite: return "ScriptToolsRedoWrite";
    case MenuCommand::BackUpBeforeFirstWrite: return "ScriptToolsBackUp";
    case MenuCommand::About: return "HelpAbout";
    case MenuCommand::AboutQt: return "HelpAboutQt";
    case MenuCommand::KeyboardShortcuts: return "HelpKeyboardShortcuts";
    }
    // A command without a name is not a constant: the check below the
    // table then fails to compile.
    __builtin_unreachable();
}

enum class MenuEntryKind {
    Menu,        // opens a menu; inside another menu, a submenu
    FilledMenu,  // a submenu whose items are made each time it opens
    EndMenu,     // closes the innermost open menu
    Item,
    CheckItem,   // an item with a check mark that every bar shows alike
    Separator,
};

// What an item does when no handler is wired to its command.
enum class StandardCommand { None, Quit, Undo, Cut, Copy, Paste, Delete, SelectAll };

inline constexpr QKeyCombination kNoShortcut = QKeyCombination::fromCombined(0);

struct MenuEntry {
    MenuEntryKind kind;
    const char* name = "";  // the object name; an item's is its command's
    const char* text = "";  // UTF-8
    QKeyCombination shortcut = kNoShortcut;
    StandardCommand standard = StandardCommand::None;
    // Until the router says otherwise, on every bar.
    bool enabledAtStart = true;
    // Of an Item, a CheckItem or a FilledMenu only.
    MenuCommand command = MenuCommand::Quit;
};

constexpr bool HasCommand(const MenuEntry& entry) {
    return entry.kind == MenuEntryKind::Item || entry.kind == MenuEntryKind::CheckItem ||
           entry.kind == MenuEntryKind::FilledMenu;
}

constexpr MenuEntry Menu(const char* name, const char* text) { return {MenuEntryKind::Menu, name, text}; }
constexpr MenuEntry FilledMenu(MenuCommand command, const char* text) {
    return {MenuEntryKind::FilledMenu, MenuCommandName(command), text, kNoShortcut, StandardCommand::None, true, command};
}
constexpr MenuEntry EndMenu() { return {MenuEntryKind::EndMenu}; }
constexpr MenuEntry Separator(const char* name) { return {MenuEntryKind::Separator, name}; }
constexpr MenuEntry Item(MenuCommand command, const char* text, QKeyCombination shortcut = kNoShortcut,
                         StandardCommand standard = StandardCommand::None) {
    return {MenuEntryKind::Item, MenuCommandName(command), text, shortcut, standard, true, command};
}
constexpr MenuEntry CheckItem(MenuCommand command, const char* text, QKeyCombination shortcut = kNoShortcut) {
    return {MenuEntryKind::CheckItem, MenuCommandName(command), text, shortcut, StandardCommand::None, true, command};
}
constexpr MenuEntry DisabledAtStart(MenuEntry entry) {
    entry.enabledAtStart = false;
    return entry;
}

// The object name of every window's bar.
inline constexpr const char* kMenuBarName = "MenuBar1";

inline constexpr MenuEntry kMenuBarEntries[] = {
    Menu("FileMenu", "&File"),
    // Before Open: a platform that moves quit into an application menu
    // leaves Open alone in File.
    Item(MenuCommand::Quit, "&Quit", Qt::CTRL | Qt::Key_Q, StandardCommand::Quit),
    Item(MenuCommand::Open, "&Open", Qt::CTRL | Qt::Key_O),
    Item(MenuCommand::OpenReadOnly, "Open &Read-Only\u2026"),
    // The last maps opened, listed each time the submenu opens.
    FilledMenu(MenuCommand::OpenRecent, "Open Rec&ent"),
    EndMenu(),
    // The loaded map against another one; nothing to compare before a load.
    DisabledAtStart(Item(MenuCommand::CompareWith, "Compare &With\u2026", Qt::CTRL | Qt::Key_D)),
    Separator("FileSaving"),
    // Saves a window's text; a window with none disables it on its own bar.
    Item(MenuCommand::SaveAs, "Save &As\u2026", Qt::CTRL | Qt::SHIFT | Qt::Key_S),
    EndMenu(),

    Menu("EditMenu", "&Edit"),
    Item(MenuCommand::Undo, "&Undo", Qt::CTRL | Qt::Key_Z, StandardCommand::Undo),
    Separator("UntitledMenu1"),
    Item(MenuCommand::Cut, "Cu&t", Qt::CTRL | Qt::Key_X, StandardCommand::Cut),
    Item(MenuCommand::Copy, "&Copy", Qt::CTRL | Qt::Key_C, StandardCommand::Copy),
    Item(MenuCommand::Paste, "&Paste", Qt::CTRL | Qt::Key_V, StandardCommand::Paste),
    Item(MenuCommand::Delete, "&Delete", kNoShortcut, StandardCommand::Delete),
    Separator("UntitledMenu0"),
    Item(MenuCommand::SelectAll, "Select &All", Qt::CTRL | Qt::Key_A, StandardCommand::SelectAll),
    Separator("EditFinding"),
    // In the focused text of the window only; Find in Map searches the map.
    Item(MenuCommand::FindInText, "&Find\u2026", Qt::CTRL | Qt::Key_F),
    Item(MenuCommand::FindNext, "Find &Next", QKeyCombination(Qt::Key_F3)),
    Item(MenuCommand::FindPrevious, "Find Pre&vious", Qt::SHIFT | Qt::Key_F3),
    EndMenu(),

    Menu("ScriptMenu", "&Script Tools"),
    // Nothing to protect before a map has loaded.
    DisabledAtStart(Item(MenuCommand::ProtectMap, "&Protect Map", Qt::CTRL | Qt::Key_P)),
    Menu("ScriptToolsExtract", "&Extract..."),
    Item(MenuCommand::ExtractAll, "All"),
    Item(MenuCommand::ExtractGlobalRange, "Global Range"),
    Item(MenuCommand::ExtractScriptRange, "Script Range"),
    EndMenu(),
    Item(MenuCommand::Database, "&Database"),
    Item(MenuCommand::FindInMap, "&Find in Map…", Qt::CTRL | Qt::SHIFT | Qt::Key_F),
    // Only while a script or global is selected in the main window.
    DisabledAtStart(Item(MenuCommand::EditAsText, "Edit as &Text\u2026", Qt::CTRL | Qt::Key_E)),
    Separator("ScriptToolsWrites"),
    // Nothing to take back before a write, nothing to make again before an undo.
    DisabledAtStart(Item(MenuCommand::UndoWrite, "&Undo Last Write", Qt::CTRL | Qt::SHIFT | Qt::Key_Z)),
    DisabledAtStart(Item(MenuCommand::RedoWrite, "&Redo Write", Qt::CTRL | Qt::SHIFT | Qt::Key_Y)),
    CheckItem(MenuCommand::BackUpBeforeFirstWrite, "Back Up Before First Write"),
    EndMenu(),

    Menu("HelpMenu", "&Help"),
    Item(MenuCommand::About, "&About Quorin"),
    Item(MenuCommand::AboutQt, "About &Qt"),
    Separator("HelpKeys"),
    // Lists every shortcut of this table.
    Item(MenuCommand::KeyboardShortcuts, "&Keyboard Shortcuts"),
    EndMenu(),
};

// Every command has its own name and exactly one entry in the table: one
// item (or submenu) on every bar, and nothing a handler could miss.
constexpr bool EachCommandOnce(std::span<const MenuEntry> entries) {
    for (int first = 0; first < kMenuCommandCount; ++first) {
        const auto command = static_cast<MenuCommand>(first);
        int found = 0;
        for (const MenuEntry& entry : entries) found += HasCommand(entry) && entry.command == command ? 1 : 0;
        if (found != 1) return false;
        for (int other = first + 1; other < kMenuCommandCount; ++other) {
            if (std::string_view(MenuCommandName(command)) == MenuCommandName(static_cast<MenuCommand>(other))) {
                return false;
            }
        }
    }
    return true;
}
static_assert(EachCommandOnce(kMenuBarEntries));

}  // namespace quorin::ui
