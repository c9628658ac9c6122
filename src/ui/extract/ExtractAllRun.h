// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One Extract > All run (see ResultRun): the caches are copied when the run
// starts (the copy shares the map's texts) and the text is built from that
// copy on a thread of its own. The text stops at kResultTextLimit.

#include "extract/ResultText.h"
#include "map/MapState.h"
#include "ui/extract/ResultRun.h"
#include "ui/shell/WindowContext.h"

namespace quorin::ui {

class ExtractAllRun final : public ResultRun {
    Q_OBJECT

public:
    // Opens an empty result window (made with context), copies the caches
    // and starts the worker; returns at once.
    static ExtractAllRun* Start(WindowContext context, const MapState& map, std::size_t textLimit = kResultTextLimit);

private:
    using ResultRun::ResultRun;
};

}  // namespace quorin::ui
