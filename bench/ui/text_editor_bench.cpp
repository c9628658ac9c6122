// SPDX-License-Identifier: GPL-3.0-or-later
// The text editor on the longest script text of the largest map: how long
// it takes to open (the window built, the text shown and drawn), and the
// longest the event loop stalls while the user types into its tokens (each
// key re-plans the writes of the whole text, lists them and marks refused
// tokens). A 1 ms timer ticks throughout; the time reported is the
// user-interface thread's own processor time in its longest gap, the wall
// clock's beside it (wall_ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <memory>
#include <utility>

#include "support/MaximalMapMain.h"
#include "support/StallWatch.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MenuBar.h"
#include "ui/textedit/TextEditor.h"
#include "ui/textedit/TokenTextEdit.h"

using quorin::bench::Maximal;
using quorin::bench::RunFor;
using quorin::bench::StallWatch;

namespace {

constexpr quorin::TextRecord kLongest{quorin::RecordKind::Script, 0};

std::unique_ptr<quorin::ui::TextEditor> OpenEditor() {
    // The editor shows no box here; the router and the seam are only what
    // every window gets, and outlive every editor of the run.
    static quorin::ui::MenuRouter menus;
    static quorin::ui::ModalDialogs dialogs;
    return std::make_unique<quorin::ui::TextEditor>(quorin::ui::WindowContext{menus, dialogs},
                                                    []() -> const quorin::MapState& { return Maximal(); },
                                                    [](const quorin::TextPlan&) { return quorin::success(); }, kLongest);
}

void OpenTextEditor(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto editor = OpenEditor();
        editor->repaint();
        QApplication::processEvents();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        editor.reset();
        QApplication::processEvents();
    }
}
BENCHMARK(OpenTextEditor)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->UseManualTime()->Unit(benchmark::kMillisecond);

// Types into a number and into a node text in the middle of the walk, as a
// quick typist: a key every 60 ms, some of them deleting.
void LongestStallTypingInText(benchmark::State& state) {
    auto editor = OpenEditor();
    quorin::ui::TokenTextEdit& field = editor->field();
    RunFor(100);
    StallWatch watch;
    double wallMs = 0;
    for (auto _ : state) {
        editor->revert();
        RunFor(50);
        watch.start();
        // Inside a node text, then at the end of a number.
        for (const auto& [target, into] : {std::pair{"_command_set_802", 4}, std::pair{" -7)", 3}}) {
            const int at = static_cast<int>(field.text().indexOf(QLatin1String(target)));
            if (at < 0) state.SkipWithError(target);
            field.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(at + into));
            field.ensureCursorVisible();
            for (const char* keys : {"12", "\b\b", "3"}) {
                for (const char* key = keys; *key; ++key) {
                    if (*key == '\b') QTest::keyClick(&field, Qt::Key_Backspace);
                    else QTest::keyClick(&field, *key);
                    RunFor(60);
                }
            }
        }
        RunFor(50);
        watch.stop();
        state.SetIterationTime(watch.longestCpuSeconds());
        wallMs = watch.longestWallMs();
    }
    state.counters["wall_ms"] = wallMs;
    if (!field.changed()) state.SkipWithError("nothing was typed");
}
BENCHMARK(LongestStallTypingInText)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quorin::bench::RunWithMaximalMap(argc, argv); }
