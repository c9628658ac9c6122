// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/WindowChrome.h"

#include <QMainWindow>
#include <QMenuBar>

namespace quorin::ui {

namespace {

// A bar the platform shows outside the window takes no room in it.
int MenuHeight(const QMainWindow& window) {
    const QWidget* menu = window.menuWidget();
    if (!menu) return 0;
    if (auto* bar = qobject_cast<const QMenuBar*>(menu); bar && bar->isNativeMenuBar()) return 0;
    return menu->sizeHint().height();
}

}  // namespace

void ApplyContentSize(QMainWindow& window, int width, int height, ContentResize resize) {
    const int menuHeight = MenuHeight(window);
    switch (resize) {
    case ContentResize::Both:
        window.setMinimumSize(kContentMinimum, kContentMinimum + menuHeight);
        window.setMaximumSize(kContentMaximum, kContentMaximum + menuHeight);
        window.resize(width, height + menuHeight);
        break;
    case ContentResize::HeightOnly:
        window.setFixedWidth(width);
        window.setMinimumHeight(kContentMinimum + menuHeight);
        window.setMaximumHeight(kContentMaximum + menuHeight);
        window.resize(width, height + menuHeight);
        break;
    case ContentResize::None:
        window.setFixedSize(width, height + menuHeight);
        break;
    }
}

}  // namespace quorin::ui
