// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Script Tools > Find in Map…: the one Find window over the open map. It
// follows every load, hands an activated hit on (start-up connects that to
// the main window), and closes when the window it belongs to closes.

#include <QObject>
#include <QPointer>

#include "search/SearchHit.h"
#include "ui/shell/MapSource.h"
#include "ui/shell/WindowContext.h"

class QWidget;

namespace quorin::ui {

class FindWindow;

class FindCommands final : public QObject {
    Q_OBJECT

public:
    // owner: the window the Find window closes with; also this object's
    // parent. The Find window is made with context.
    FindCommands(WindowContext context, MapSource map, QWidget& owner);
    // The Find window reads the map through this object's source, so it must
    // not outlive it.
    ~FindCommands() override;

    // The Find window (made when there is none), in front.
    void showFind();
    // The open Find window, or nullptr.
    [[nodiscard]] FindWindow* findWindow() const;

    // To be connected to the main window's load notification.
    void mapLoaded();

signals:
    void hitActivated(const quorin::SearchHit& hit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowContext context_;
    MapSource map_;
    QWidget& owner_;
    QPointer<FindWindow> window_;
};

}  // namespace quorin::ui
