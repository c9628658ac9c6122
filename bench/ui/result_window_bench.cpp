// SPDX-License-Identifier: GPL-3.0-or-later
// How long a result window keeps its event loop from running while the
// largest texts go into it: Extract > All on the maximal map (from the
// start of the run, through the worker's end, until its closing message),
// the command database (from the menu command until its message) and the
// comparison of the maximal map with a copy that differs in one record in a
// hundred (from the start of the run until its message). A
// 1 ms timer ticks throughout; the longest gap between two ticks is the
// longest stall. As in the Find window benchmark, the time reported is the
// user-interface thread's own processor time in that gap, and wall_ms the
// wall-clock gap beside it.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "support/MaximalMapMain.h"
#include "support/StallWatch.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/ExtractionCommands.h"
#include "ui/extract/CompareRun.h"
#include "ui/extract/ExtractAllRun.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/WindowContext.h"

using quorin::bench::Maximal;
using quorin::bench::RunFor;
using quorin::bench::StallWatch;

namespace {

// Answers every box at once and counts them.
class CountingDialogs final : public quorin::ui::DialogSeam {
public:
    void showMessage(QWidget*, const QString&, quorin::ui::MessageKind) override { ++messages; }
    QString askMapFile(QWidget*, const QString&) override { return {}; }
    QString askSaveFile(QWidget*, const QString&) override { return {}; }
    int messages = 0;
};

void CloseResultWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<quorin::ui::ResultWindow*>(widget)) widget->close();
    }
    RunFor(20);
}

// Runs start, which ends in one message, under the stall watch; start
// makes its windows with the context it is given.
template <typename Start>
void LongestStallUntilMessage(benchmark::State& state, Start start) {
    quorin::ui::MenuRouter menus;
    CountingDialogs dialogs;
    const quorin::ui::WindowContext context{menus, dialogs};
    StallWatch watch;
    double wallMs = 0;
    for (auto _ : state) {
        dialogs.messages = 0;
        RunFor(50);
        watch.start();
        start(context);
        while (dialogs.messages == 0) RunFor(5);
        watch.stop();
        state.SetIterationTime(watch.longestCpuSeconds());
        wallMs = watch.longestWallMs();
        CloseResultWindows();
    }
    state.counters["wall_ms"] = wallMs;
}

void LongestStallExtractAll(benchmark::State& state) {
    LongestStallUntilMessage(state, [](quorin::ui::WindowContext context) {
        quorin::ui::ExtractAllRun::Start(context, Maximal());
    });
}

void LongestStallDatabase(benchmark::State& state) {
    LongestStallUntilMessage(state, [](quorin::ui::WindowContext context) {
        quorin::ui::ExtractionCommands(context, []() -> const quorin::MapState& { return Maximal(); }).database();
    });
}

void LongestStallCompare(benchmark::State& state) {
    const quorin::MapState& changed = quorin::bench::ChangedMaximal();
    LongestStallUntilMessage(state, [&changed](quorin::ui::WindowContext context) {
        quorin::ui::CompareRun::Start(context, Maximal(), changed, QStringLiteral("Compare"));
    });
}

BENCHMARK(LongestStallExtractAll)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LongestStallDatabase)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LongestStallCompare)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quorin::bench::RunWithMaximalMap(argc, argv); }
