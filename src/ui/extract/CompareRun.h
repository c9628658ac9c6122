// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One comparison of two maps for a result window (see ResultRun): the old
// map's caches are copied when it starts, the new map is handed over whole,
// and the sections are made on a thread of its own and shown coloured. The
// text stops at kResultTextLimit; the message counts every record.

#include <QString>

#include "map/MapState.h"
#include "ui/extract/ResultRun.h"
#include "ui/shell/WindowContext.h"

namespace quorin::ui {

class CompareRun final : public ResultRun {
    Q_OBJECT

public:
    // Opens an empty result window (made with context) titled title and
    // starts comparing oldMap with newMap; returns at once.
    static CompareRun* Start(WindowContext context, const MapContent& oldMap, MapContent newMap, const QString& title);

private:
    using ResultRun::ResultRun;
};

}  // namespace quorin::ui
