// SPDX-License-Identifier: GPL-3.0-or-later
// How long the Find window keeps its event loop from running while the user
// types on the largest map. A 1 ms timer ticks throughout; the longest gap
// between two ticks is the longest the window stalled (key handling, search
// slices, swapping in the hit list and repainting it). One repetition types
// a whole query, pausing now and then long enough for a search to run.
//
// The time reported is the user-interface thread's own processor time in
// its longest gap: on a machine shared with other work the wall-clock gaps
// also hold the time the thread waited for a processor, which no code of
// the window can shorten. The longest wall-clock gap is the counter
// wall_ms beside it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "support/MaximalMapMain.h"
#include "support/StallWatch.h"
#include "ui/find/FindWindow.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MenuBar.h"

using quorin::bench::Maximal;
using quorin::bench::RunFor;
using quorin::bench::StallWatch;

namespace {

void TypeQuery(benchmark::State& state, const QString& query) {
    // The Find window shows no box; the seam is only what every window gets.
    quorin::ui::MenuRouter menus;
    quorin::ui::ModalDialogs dialogs;
    auto window = std::make_unique<quorin::ui::FindWindow>(quorin::ui::WindowContext{menus, dialogs},
                                                           []() -> const quorin::MapState& { return Maximal(); });
    auto* field = window->findChild<QLineEdit*>(QStringLiteral("FldFindQuery"));
    RunFor(100);
    StallWatch watch;
    std::size_t hits = 0;
    double wallMs = 0;
    for (auto _ : state) {
        field->clear();
        RunFor(50);
        watch.start();
        for (qsizetype i = 0; i < query.size(); ++i) {
            QTest::keyClick(field, query[i].toLatin1());
            // A quick typist, who stops every few letters for longer than
            // the pause, so searches run while the query is being typed.
            RunFor(i % 4 == 3 ? 2 * quorin::ui::FindWindow::kTypingPauseMs : 60);
        }
        while (window->searching()) RunFor(5);
        RunFor(50);
        watch.stop();
        state.SetIterationTime(watch.longestCpuSeconds());
        wallMs = watch.longestWallMs();
        hits = window->hits().size();
    }
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["wall_ms"] = wallMs;
    if (hits == 0) state.SkipWithError("nothing found");
}

void LongestStallTypingCommonCommand(benchmark::State& state) { TypeQuery(state, QStringLiteral("command_set")); }
void LongestStallTypingEveryText(benchmark::State& state) { TypeQuery(state, QStringLiteral("maximal")); }

BENCHMARK(LongestStallTypingCommonCommand)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LongestStallTypingEveryText)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quorin::bench::RunWithMaximalMap(argc, argv); }
