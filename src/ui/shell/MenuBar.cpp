// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/MenuBar.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

#include "ui/shell/StandardCommands.h"

namespace quorin::ui {

namespace {

// The table's menus must nest properly, or items would land elsewhere.
constexpr bool Balanced(std::span<const MenuEntry> entries) {
    int depth = 0;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntryKind::Menu:
        case MenuEntryKind::FilledMenu: ++depth; break;
        case MenuEntryKind::EndMenu:
            if (--depth < 0) return false;
            break;
        default:
            if (depth == 0) return false;
        }
    }
    return depth == 0;
}
static_assert(Balanced(kMenuBarEntries));

// Set on an item that setEnabledOn disabled or enabled on one bar.
constexpr const char* kEnabledOnThisBar = "quorinEnabledOnThisBar";

QString Latin1(const char* text) { return QString::fromLatin1(text); }
QString Utf8(const char* text) { return QString::fromUtf8(text); }

std::size_t At(MenuCommand command) { return static_cast<std::size_t>(command); }

}  // namespace

MenuRouter::MenuRouter(std::span<const MenuEntry> entries, const char* barName)
    : entries_(entries), barName_(barName) {
    enabled_.fill(true);
    for (const MenuEntry& entry : entries_) {
        if (HasCommand(entry)) enabled_[At(entry.command)] = entry.enabledAtStart;
    }
}

void MenuRouter::installBar(QMainWindow& window) {
    auto* bar = new QMenuBar(&window);
    bar->setObjectName(Latin1(barName_));
    std::vector<QMenu*> open;  // the innermost last
    for (const MenuEntry& entry : entries_) {
        switch (entry.kind) {
        case MenuEntryKind::Menu:
        case MenuEntryKind::FilledMenu: {
            QWidget* parent = open.empty() ? static_cast<QWidget*>(bar) : open.back();
            auto* menu = new QMenu(Utf8(entry.text), parent);
            menu->setObjectName(Latin1(entry.name));
            if (entry.kind == MenuEntryKind::FilledMenu) {
                connect(menu, &QMenu::aboutToShow, this,
                        [this, menu, &window, command = entry.command] { refill(*menu, command, window); });
            }
            open.push_back(menu);
            break;
        }
        case MenuEntryKind::EndMenu: {
            if (open.empty()) break;
            QMenu* menu = open.back();
            open.pop_back();
            // A menu joins its parent after its own items, as it is shown.
            if (open.empty()) bar->addMenu(menu);
            else open.back()->addMenu(menu);
            break;
        }
        case MenuEntryKind::Item:
        case MenuEntryKind::CheckItem:
            if (!open.empty()) addItem(*open.back(), entry, window);
            break;
        case MenuEntryKind::Separator:
            if (!open.empty()) open.back()->addSeparator()->setObjectName(Latin1(entry.name));
            break;
        }
    }
    bars_.emplace_back(bar);
    window.setMenuBar(bar);
}

// Every item is parented to its menu, so a window finds it by name.
QAction* MenuRouter::addItem(QMenu& menu, const MenuEntry& entry, QMainWindow& window) {
    auto* item = new QAction(Utf8(entry.text), &menu);
    item->setObjectName(Latin1(entry.name));
    item->setShortcut(MenuShortcut(entry));
    if (entry.standard == StandardCommand::Quit) item->setMenuRole(QAction::QuitRole);
    const bool checkable = entry.kind == MenuEntryKind::CheckItem;
    if (checkable) {
        item->setCheckable(true);
        item->setChecked(isChecked(entry.command));
    }
    applyEnabled(*item, entry.command);
    connect(item, &QAction::triggered, this,
            [this, &window, checkable, command = entry.command, standard = entry.standard](bool checked) {
                if (checkable) setChecked(command, checked);
                run(command, standard, window);
            });
    menu.addAction(item);
    return item;
}

void MenuRouter::run(MenuCommand command, StandardCommand standard, QMainWindow& from) {
    if (handlers_[At(command)]) {
        // A copy: the handler may wire the command anew while it runs.
        const MenuHandler handler = handlers_[At(command)];
        handler(from);
    } else {
        RunStandardCommand(standard);
    }
}

void MenuRouter::refill(QMenu& menu, MenuCommand command, QMainWindow& from) {
    menu.clear();
    if (fillers_[At(command)]) {
        const SubmenuFiller filler = fillers_[At(command)];
        filler(menu, from);
    }
}

QList<QAction*> MenuRouter::itemsOnEveryBar(MenuCommand command) {
    std::erase_if(bars_, [](const QPointer<QMenuBar>& bar) { return bar.isNull(); });
    const QString name = Latin1(MenuCommandName(command));
    QList<QAction*> items;
    for (const QPointer<QMenuBar>& bar : bars_) items += bar->findChildren<QAction*>(name);
    return items;
}

void MenuRouter::applyEnabled(QAction& item, MenuCommand command) const {
    const QVariant onThisBar = item.property(kEnabledOnThisBar);
    item.setEnabled(isEnabled(command) && (!onThisBar.isValid() || onThisBar.toBool()));
}

void MenuRouter::setCommand(MenuCommand command, MenuHandler handler) { handlers_[At(command)] = std::move(handler); }

void MenuRouter::setFiller(MenuCommand command, SubmenuFiller filler) { fillers_[At(command)] = std::move(filler); }

void MenuRouter::setEnabled(MenuCommand command, bool enabled) {
    enabled_[At(command)] = enabled;
    for (QAction* item : itemsOnEveryBar(command)) applyEnabled(*item, command);
}

bool MenuRouter::isEnabled(MenuCommand command) const { return enabled_[At(command)]; }

void MenuRouter::setEnabledOn(QMainWindow& window, MenuCommand command, bool enabled) {
    QWidget* bar = window.menuWidget();
    if (!bar) return;
    for (QAction* item : bar->findChildren<QAction*>(Latin1(MenuCommandName(command)))) {
        item->setProperty(kEnabledOnThisBar, enabled);
        applyEnabled(*item, command);
    }
}

void MenuRouter::setChecked(MenuCommand command, bool checked) {
    checked_[At(command)] = checked;
    for (QAction* item : itemsOnEveryBar(command)) item->setChecked(checked);
}

bool MenuRouter::isChecked(MenuCommand command) const { return checked_[At(command)]; }

QKeySequence MenuRouter::shortcut(MenuCommand command) const {
    for (const MenuEntry& entry : entries_) {
        if (HasCommand(entry) && entry.command == command) return MenuShortcut(entry);
    }
    return {};
}

QKeySequence MenuShortcut(const MenuEntry& entry) {
    return entry.shortcut.toCombined() != 0 ? QKeySequence(entry.shortcut) : QKeySequence();
}

}  // namespace quorin::ui
