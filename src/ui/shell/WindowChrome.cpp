// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/WindowChrome.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

namespace quorin::ui {

namespace {

// The menu bar above the content and the status line below it; a menu bar
// the platform shows outside the window takes no room in it.
int BarsHeight(const QMainWindow& window) {
    int height = 0;
    const QWidget* menu = window.menuWidget();
    const auto* bar = qobject_cast<const QMenuBar*>(menu);
    if (menu && !(bar && bar->isNativeMenuBar())) height += menu->sizeHint().height();
    // Asked for without making one: statusBar() would add a bar.
    if (const auto* status = window.findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        height += status->sizeHint().height();
    }
    return height;
}

}  // namespace

void ApplyContentSize(QMainWindow& window, int width, int height, ContentResize resize) {
    const int bars = BarsHeight(window);
    switch (resize) {
    case ContentResize::Both:
        window.setMinimumSize(kContentMinimum, kContentMinimum + bars);
        window.setMaximumSize(kContentMaximum, kContentMaximum + bars);
        window.resize(width, height + bars);
        break;
    case ContentResize::HeightOnly:
        window.setFixedWidth(width);
        window.setMinimumHeight(kContentMinimum + bars);
        window.setMaximumHeight(kContentMaximum + bars);
        window.resize(width, height + bars);
        break;
    case ContentResize::None:
        window.setFixedSize(width, height + bars);
        break;
    }
}

}  // namespace quorin::ui
