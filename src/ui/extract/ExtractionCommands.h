// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands that produce text: the two range commands (which show the
// single range window), Extract > All, Database and File > Compare With….
// Start-up wires the menu items to them.

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "ui/shell/MapSource.h"
#include "ui/shell/WindowContext.h"

namespace quorin::ui {

class RangeWindow;

class ExtractionCommands final : public QObject {
    Q_OBJECT

public:
    // Every window the commands open is made with context.
    ExtractionCommands(WindowContext context, MapSource map, QObject* parent = nullptr);
    ~ExtractionCommands() override;

    // Extract... > Script Range and Global Range: the range window (made
    // when there is none), shown on the script or the global page.
    void showScriptRange();
    void showGlobalRange();
    // Extract... > All: starts a worker and returns at once.
    void extractAll();
    // Database: the command table of the loaded map in a new result window.
    void database();
    // File > Compare With…: asks for a second map, loads it read-only with
    // the stock names of the loaded map, and compares the loaded map (old)
    // with it (new) in a new result window. A map that cannot be loaded
    // gives its message (over parent) and no window.
    void compareWith(QWidget* parent = nullptr);
    // The stock names the loaded map was checked against (the built-in list
    // until this is called).
    void setStockNames(std::function<const std::vector<std::string>&()> names) { stockNames_ = std::move(names); }

    // The open range window, or nullptr.
    RangeWindow* rangeWindow() const;

    // To be connected to the main window's load notification: an open range
    // window offers the names of the map just loaded.
    void mapLoaded();

private:
    RangeWindow& rangeWindowOrNew();

    WindowContext context_;
    MapSource map_;
    std::function<const std::vector<std::string>&()> stockNames_;
    QPointer<RangeWindow> rangeWindow_;
};

}  // namespace quorin::ui
