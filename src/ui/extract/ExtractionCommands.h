// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Script Tools commands that produce text: the two range commands (which
// show the single range window), Extract > All and Database. Start-up wires
// the menu items to them.

#include <QObject>
#include <QPointer>

#include "ui/shell/MapSource.h"

namespace quorin::ui {

class WinRange;

class ExtractionCommands final : public QObject {
    Q_OBJECT

public:
    explicit ExtractionCommands(MapSource map, QObject* parent = nullptr);
    ~ExtractionCommands() override;

    // Extract... > Script Range and Global Range: the range window (made
    // when there is none), shown on the script or the global page.
    void showScriptRange();
    void showGlobalRange();
    // Extract... > All: starts a worker and returns at once.
    void extractAll();
    // Database: the command table of the loaded map in a new result window.
    void database();

    // The open range window, or nullptr.
    WinRange* rangeWindow() const;

    // To be connected to the main window's load notification: an open range
    // window offers the names of the map just loaded.
    void mapLoaded();

private:
    WinRange& rangeWindowOrNew();

    MapSource map_;
    QPointer<WinRange> rangeWindow_;
};

}  // namespace quorin::ui
