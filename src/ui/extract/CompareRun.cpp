// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/CompareRun.h"

#include <QPlainTextEdit>

#include "base/LimitedText.h"
#include "compare/MapComparison.h"
#include "extract/ResultText.h"
#include "ui/extract/DiffColours.h"
#include "ui/extract/ResultWindow.h"

namespace quorin::ui {

namespace {

// Keeps the sections up to the window's limit and counts them all, for the
// line that says how much was left out.
class WindowSections final : public DifferenceSink {
public:
    bool take(const RecordDifference&, std::string_view section) override {
        whole += static_cast<std::int64_t>(section.size());
        (void)kept.take(section);
        return true;
    }
    LimitedText kept{kResultTextLimit};
    std::int64_t whole = 0;
};

}  // namespace

CompareRun* CompareRun::Start(WindowContext context, const MapContent& oldMap, MapContent newMap, const QString& title) {
    auto* window = new ResultWindow(context, QStringLiteral("compare.diff"));
    window->setWindowTitle(title);
    new DiffColours(window->field().document());
    auto* run = new CompareRun(*window);
    run->begin([oldMap = MapContent(oldMap), newMap = std::move(newMap)](const std::atomic<bool>& cancelled) {
        WindowSections sections;
        const ComparisonResult result = CompareMaps(oldMap, newMap, sections, &cancelled);
        return Outcome{ResultText(std::move(sections.kept.text()), sections.whole, "diff OLD"), result.message()};
    });
    return run;
}

}  // namespace quorin::ui
