// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/ExtractAllRun.h"

#include "base/LimitedText.h"
#include "extract/ExtractAll.h"
#include "ui/extract/ResultWindow.h"

namespace quorin::ui {

ExtractAllRun* ExtractAllRun::Start(WindowContext context, const MapState& map, std::size_t textLimit) {
    auto* run = new ExtractAllRun(*new ResultWindow(context, QStringLiteral("extract-all.txt")));
    run->begin([snapshot = ExtractionSnapshot(map), textLimit](const std::atomic<bool>& cancelled) {
        LimitedText text(textLimit, &cancelled);
        const ExtractAllResult counts = ExtractAll(snapshot, text);
        const std::int64_t wholeSize =
            counts.complete ? static_cast<std::int64_t>(text.text().size()) : ExtractAllSize(snapshot);
        return Outcome{ResultText(std::move(text.text()), wholeSize, "extract-all"), counts.message(), counts.complete};
    });
    return run;
}

}  // namespace quorin::ui
