// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows of the Help menu: About Quorin, and the keyboard shortcuts of
// the menus, read from the menu table so the list is the bar's own. Both are
// non-modal and belong to the window whose bar opened them; asked again,
// that window's open one comes to the front.

#include <QKeySequence>
#include <QString>
#include <span>
#include <vector>

#include "ui/shell/MenuTable.h"

class QWidget;

namespace quorin::ui {

inline constexpr const char* kAboutBoxName = "AboutQuorin";
inline constexpr const char* kShortcutsWindowName = "KeyboardShortcuts";

// One menu item that has a shortcut.
struct MenuShortcutRow {
    QString where;  // the menus and the item, without mnemonics: "File > Open"
    QKeySequence keys;
};

// Every item of entries that has a shortcut, in menu order.
std::vector<MenuShortcutRow> MenuShortcuts(std::span<const MenuEntry> entries = kMenuBarEntries);

// Name, version, what it does, and the licence with a link to its text.
void ShowAboutQuorin(QWidget& parent);
// A list of MenuShortcuts(): the item and its keys as this platform shows them.
void ShowKeyboardShortcuts(QWidget& parent);

}  // namespace quorin::ui
