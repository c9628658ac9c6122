// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find/FindCommands.h"

#include <QEvent>
#include <QWidget>

#include "ui/find/FindWindow.h"

namespace quorin::ui {

FindCommands::FindCommands(WindowContext context, MapSource map, QWidget& owner)
    : QObject(&owner), context_(context), map_(std::move(map)), owner_(owner) {
    setObjectName(QStringLiteral("FindCommands"));
    owner_.installEventFilter(this);
}

FindCommands::~FindCommands() { delete window_.data(); }

FindWindow* FindCommands::findWindow() const { return window_.data(); }

void FindCommands::showFind() {
    if (!window_) {
        window_ = new FindWindow(context_, map_);
        connect(window_, &FindWindow::hitActivated, this, &FindCommands::hitActivated);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void FindCommands::mapLoaded() {
    if (window_) window_->mapLoaded();
}

bool FindCommands::eventFilter(QObject* watched, QEvent* event) {
    // Seen before the owner handles it; a close the owner refuses would
    // still close this window, which the owner never does.
    if (watched == &owner_ && event->type() == QEvent::Close && window_) window_->close();
    return QObject::eventFilter(watched, event);
}

}  // namespace quorin::ui
