// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu bars of the tool's windows. Each window gets its own bar (the
// toolkit puts a bar inside its window), all made from one table by one
// router; what the bars share lives in the router: the handler wired to
// each command, the enabled and checked state of each item, and the fillers
// of submenus made at run time. Start-up owns the router of a run and hands
// it to every window it makes. Items are found by name
// (window.findChild<QAction*>("Fileopen")).

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <span>
#include <vector>

#include "ui/shell/MenuTable.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace quorin::ui {

// Runs a command; from is the window whose bar was used.
using MenuHandler = std::function<void(QMainWindow& from)>;
// Adds the items of a FilledMenu each time it opens (it is emptied first).
using SubmenuFiller = std::function<void(QMenu& menu, QMainWindow& from)>;

// A QObject so that the bars' items stop reaching it once it is gone.
class MenuRouter final : public QObject {
public:
    // The bars this router installs are made from entries and called barName.
    explicit MenuRouter(std::span<const MenuEntry> entries = kMenuBarEntries, const char* barName = kMenuBarName);
    MenuRouter(const MenuRouter&) = delete;
    MenuRouter& operator=(const MenuRouter&) = delete;

    // Gives window its bar.
    void installBar(QMainWindow& window);

    // The handler of command on every bar, also on bars installed later. An
    // item with no handler runs its standard command, if it has one; an
    // empty handler unwires the command again.
    void setCommand(MenuCommand command, MenuHandler handler);
    // Fills command's submenu each time it opens.
    void setFiller(MenuCommand command, SubmenuFiller filler);

    // Enables or disables command on every bar, also on bars installed later.
    void setEnabled(MenuCommand command, bool enabled);
    [[nodiscard]] bool isEnabled(MenuCommand command) const;
    // Enables or disables command on window's bar only. It is enabled there
    // when both this and the shared state say so.
    void setEnabledOn(QMainWindow& window, MenuCommand command, bool enabled);

    // The check mark of a CheckItem on every bar; choosing the item flips it
    // before its handler runs.
    void setChecked(MenuCommand command, bool checked);
    [[nodiscard]] bool isChecked(MenuCommand command) const;

    // The keys of command's item, as every bar carries them (empty when it
    // has none).
    [[nodiscard]] QKeySequence shortcut(MenuCommand command) const;

private:
    template <typename Value>
    using PerCommand = std::array<Value, kMenuCommandCount>;

    QAction* addItem(QMenu& menu, const MenuEntry& entry, QMainWindow& window);
    void run(MenuCommand command, StandardCommand standard, QMainWindow& from);
    void refill(QMenu& menu, MenuCommand command, QMainWindow& from);
    // Every item of command on every live bar.
    QList<QAction*> itemsOnEveryBar(MenuCommand command);
    void applyEnabled(QAction& item, MenuCommand command) const;

    std::span<const MenuEntry> entries_;
    const char* barName_;
    PerCommand<MenuHandler> handlers_;
    PerCommand<SubmenuFiller> fillers_;
    PerCommand<bool> enabled_;
    PerCommand<bool> checked_{};
    std::vector<QPointer<QMenuBar>> bars_;
};

// The keys of an item of a table, as its action on every bar carries them
// (empty when it has none).
QKeySequence MenuShortcut(const MenuEntry& entry);

}  // namespace quorin::ui
