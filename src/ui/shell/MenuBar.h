// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu bar every window of the tool carries. Each window gets its own
// bar (the toolkit puts a bar inside its window), all made from one table;
// what the bars share lives here: the handler wired to each command name,
// the enabled and checked state of each item, and the fillers of submenus
// made at run time. Items are found by name
// (window.findChild<QAction*>("Fileopen")).

#include <QKeySequence>
#include <functional>
#include <span>
#include <string_view>

#include "ui/shell/MenuTable.h"

class QMainWindow;
class QMenu;

namespace quorin::ui {

// Runs a command; from is the window whose bar was used.
using MenuHandler = std::function<void(QMainWindow& from)>;
// Adds the items of a FilledMenu each time it opens (it is emptied first).
using SubmenuFiller = std::function<void(QMenu& menu, QMainWindow& from)>;

// Gives window MenuBar1, or a bar made from another table.
void InstallMenuBar(QMainWindow& window);
void InstallMenuBar(QMainWindow& window, std::span<const MenuEntry> entries, const char* barName);

// The handler of item on every bar, also on bars installed later. An item
// with no handler runs its standard command, if it has one; an empty
// handler unwires the item again.
void SetMenuCommand(std::string_view item, MenuHandler handler);

// Enables or disables item on every bar, also on bars installed later.
void SetMenuItemEnabled(std::string_view item, bool enabled);
bool MenuItemEnabled(std::string_view item);
// Enables or disables item on window's bar only. It is enabled there when
// both this and the shared state say so.
void SetMenuItemEnabledOn(QMainWindow& window, std::string_view item, bool enabled);

// The check mark of a CheckItem on every bar; choosing the item flips it
// before its handler runs.
void SetMenuItemChecked(std::string_view item, bool checked);
bool MenuItemChecked(std::string_view item);

void SetSubmenuFiller(std::string_view submenu, SubmenuFiller filler);

// The keys of an item of a table, as its action on every bar carries them
// (empty when it has none).
QKeySequence MenuShortcut(const MenuEntry& entry);

}  // namespace quorin::ui
