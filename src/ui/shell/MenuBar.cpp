// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/MenuBar.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QVariant>
#include <map>
#include <string>
#include <vector>

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
static_assert(Balanced(kMenuBar1));

constexpr bool IsItem(const MenuEntry& entry) {
    return entry.kind == MenuEntryKind::Item || entry.kind == MenuEntryKind::CheckItem;
}

// Set on an item that SetMenuItemEnabledOn disabled or enabled on one bar.
constexpr const char* kEnabledOnThisBar = "quorinEnabledOnThisBar";

struct SharedMenus {
    // MenuBar1's items are known before any bar is installed.
    SharedMenus() {
        for (const MenuEntry& entry : kMenuBar1) {
            if (IsItem(entry)) enabled.try_emplace(entry.name, entry.enabledAtStart);
        }
    }
    std::map<std::string, MenuHandler, std::less<>> handlers;
    std::map<std::string, SubmenuFiller, std::less<>> fillers;
    std::map<std::string, bool, std::less<>> enabled;
    std::map<std::string, bool, std::less<>> checked;
    std::vector<QPointer<QMenuBar>> bars;
};

SharedMenus& Shared() {
    static SharedMenus menus;
    return menus;
}

QString Latin1(const char* text) { return QString::fromLatin1(text); }
QString Utf8(const char* text) { return QString::fromUtf8(text); }

// Every item called name on every live bar.
QList<QAction*> ItemsOnEveryBar(std::string_view name) {
    auto& bars = Shared().bars;
    std::erase_if(bars, [](const QPointer<QMenuBar>& bar) { return bar.isNull(); });
    const QString wanted = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    QList<QAction*> items;
    for (const QPointer<QMenuBar>& bar : bars) items += bar->findChildren<QAction*>(wanted);
    return items;
}

void ApplyEnabled(QAction& item) {
    const QVariant onThisBar = item.property(kEnabledOnThisBar);
    item.setEnabled(MenuItemEnabled(item.objectName().toStdString()) && (!onThisBar.isValid() || onThisBar.toBool()));
}

void RunCommand(const std::string& name, StandardCommand standard, QMainWindow& from) {
    const auto& handlers = Shared().handlers;
    if (auto found = handlers.find(name); found != handlers.end()) {
        // A copy: the handler may wire the item anew while it runs.
        const MenuHandler handler = found->second;
        handler(from);
    } else {
        RunStandardCommand(standard);
    }
}

void Refill(QMenu& menu, QMainWindow& from) {
    menu.clear();
    const auto& fillers = Shared().fillers;
    if (auto found = fillers.find(menu.objectName().toStdString()); found != fillers.end()) {
        const SubmenuFiller filler = found->second;
        filler(menu, from);
    }
}

// Every item is parented to its menu, so a window finds it by name.
QAction* AddItem(QMenu& menu, const MenuEntry& entry, QMainWindow& window) {
    auto* item = new QAction(Utf8(entry.text), &menu);
    item->setObjectName(Latin1(entry.name));
    item->setShortcut(MenuShortcut(entry));
    if (entry.standard == StandardCommand::Quit) item->setMenuRole(QAction::QuitRole);
    const bool checkable = entry.kind == MenuEntryKind::CheckItem;
    if (checkable) {
        item->setCheckable(true);
        item->setChecked(MenuItemChecked(entry.name));
    }
    Shared().enabled.try_emplace(entry.name, entry.enabledAtStart);
    ApplyEnabled(*item);
    QObject::connect(item, &QAction::triggered, item,
                     [&window, checkable, name = std::string(entry.name), standard = entry.standard](bool checked) {
                         if (checkable) SetMenuItemChecked(name, checked);
                         RunCommand(name, standard, window);
                     });
    menu.addAction(item);
    return item;
}

}  // namespace

void InstallMenuBar(QMainWindow& window) { InstallMenuBar(window, kMenuBar1, kMenuBar1Name); }

void InstallMenuBar(QMainWindow& window, std::span<const MenuEntry> entries, const char* barName) {
    auto* bar = new QMenuBar(&window);
    bar->setObjectName(Latin1(barName));
    std::vector<QMenu*> open;  // the innermost last
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntryKind::Menu:
        case MenuEntryKind::FilledMenu: {
            QWidget* parent = open.empty() ? static_cast<QWidget*>(bar) : open.back();
            auto* menu = new QMenu(Utf8(entry.text), parent);
            menu->setObjectName(Latin1(entry.name));
            if (entry.kind == MenuEntryKind::FilledMenu) {
                QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &window] { Refill(*menu, window); });
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
            if (!open.empty()) AddItem(*open.back(), entry, window);
            break;
        case MenuEntryKind::Separator:
            if (!open.empty()) open.back()->addSeparator()->setObjectName(Latin1(entry.name));
            break;
        }
    }
    Shared().bars.emplace_back(bar);
    window.setMenuBar(bar);
}

void SetMenuCommand(std::string_view item, MenuHandler handler) {
    auto& handlers = Shared().handlers;
    if (handler) handlers.insert_or_assign(std::string(item), std::move(handler));
    else if (auto found = handlers.find(item); found != handlers.end()) handlers.erase(found);
}

void SetMenuItemEnabled(std::string_view item, bool enabled) {
    Shared().enabled.insert_or_assign(std::string(item), enabled);
    for (QAction* action : ItemsOnEveryBar(item)) ApplyEnabled(*action);
}

bool MenuItemEnabled(std::string_view item) {
    const auto& enabled = Shared().enabled;
    auto found = enabled.find(item);
    return found == enabled.end() || found->second;
}

void SetMenuItemEnabledOn(QMainWindow& window, std::string_view item, bool enabled) {
    QWidget* bar = window.menuWidget();
    if (!bar) return;
    const QString wanted = QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size()));
    for (QAction* action : bar->findChildren<QAction*>(wanted)) {
        action->setProperty(kEnabledOnThisBar, enabled);
        ApplyEnabled(*action);
    }
}

void SetMenuItemChecked(std::string_view item, bool checked) {
    Shared().checked.insert_or_assign(std::string(item), checked);
    for (QAction* action : ItemsOnEveryBar(item)) action->setChecked(checked);
}

bool MenuItemChecked(std::string_view item) {
    const auto& checked = Shared().checked;
    auto found = checked.find(item);
    return found != checked.end() && found->second;
}

QKeySequence MenuShortcut(const MenuEntry& entry) {
    return entry.shortcut.toCombined() != 0 ? QKeySequence(entry.shortcut) : QKeySequence();
}

void SetSubmenuFiller(std::string_view submenu, SubmenuFiller filler) {
    auto& fillers = Shared().fillers;
    if (filler) fillers.insert_or_assign(std::string(submenu), std::move(filler));
    else if (auto found = fillers.find(submenu); found != fillers.end()) fillers.erase(found);
}

}  // namespace quorin::ui
