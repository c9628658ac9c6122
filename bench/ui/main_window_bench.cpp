// SPDX-License-Identifier: GPL-3.0-or-later
// How long the main window takes to answer the user on the largest map:
// expanding the scripts folder (2000 rows), selecting the script with the
// long body, and expanding that script. Each measurement includes the
// repaint that follows, and is taken one action at a time so the median is
// the median of single actions.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdlib>
#include <functional>

#include "ui/shell/Dialogs.h"
#include "fixtures/MaximalMap.h"
#include "ui/main/MainWindow.h"
#include "ui/shell/MenuBar.h"

namespace {

class SilentDialogs final : public quorin::ui::DialogSeam {
public:
    void showMessage(QWidget*, const QString& text, quorin::ui::MessageKind) override { messages << text; }
    QString askMapFile(QWidget*, const QString&) override { return {}; }
    QString askSaveFile(QWidget*, const QString&) override { return {}; }
    QStringList messages;
};

QTreeWidget& List(MainWindow& window) { return *window.findChild<QTreeWidget*>(QStringLiteral("Lb_Select")); }

QTreeWidgetItem* ScriptsFolder(MainWindow& window) { return List(window).topLevelItem(0); }

// The row of script 0, whose body is 1600 nodes long.
QTreeWidgetItem* LongScript(MainWindow& window) {
    QTreeWidgetItem* scripts = ScriptsFolder(window);
    if (!scripts->isExpanded()) List(window).expandItem(scripts);
    return scripts->child(0);
}

void Settle() { QApplication::processEvents(); }

void BM_ExpandScriptsFolder(benchmark::State& state, MainWindow& window) {
    QTreeWidgetItem* scripts = ScriptsFolder(window);
    for (auto _ : state) {
        state.PauseTiming();
        List(window).collapseItem(scripts);
        Settle();
        state.ResumeTiming();
        List(window).expandItem(scripts);
        Settle();
    }
    if (scripts->childCount() != quorin::kMaximalScripts) state.SkipWithError("scripts folder rows missing");
}

void BM_SelectLongScript(benchmark::State& state, MainWindow& window) {
    QTreeWidgetItem* script = LongScript(window);
    for (auto _ : state) {
        state.PauseTiming();
        List(window).setCurrentItem(ScriptsFolder(window));
        Settle();
        state.ResumeTiming();
        List(window).setCurrentItem(script);
        Settle();
    }
    if (!window.state().LoadedScript) state.SkipWithError("script not shown");
}

void BM_ExpandLongScript(benchmark::State& state, MainWindow& window) {
    QTreeWidgetItem* script = LongScript(window);
    for (auto _ : state) {
        state.PauseTiming();
        List(window).collapseItem(script);
        List(window).setCurrentItem(ScriptsFolder(window));  // so the expansion shows the script too
        Settle();
        state.ResumeTiming();
        List(window).expandItem(script);
        Settle();
    }
    if (script->childCount() < 1600) state.SkipWithError("script rows missing");
}

constexpr int kRepetitions = 31;

// Each benchmark on window, one action at a time.
void Register(const char* name, void (*run)(benchmark::State&, MainWindow&), MainWindow& window) {
    benchmark::RegisterBenchmark(name, run, std::ref(window))
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("maximal.map"));
    if (auto written = quorin::MaximalMap().writeTo(path.toStdString()); !written) {
        std::fprintf(stderr, "%s\n", MessageOf(written.error()).c_str());
        return 1;
    }
    SilentDialogs dialogs;
    quorin::ui::MenuRouter menus;
    MainWindow window({menus, dialogs});
    window.show();
    window.openMap(path);
    Settle();
    if (dialogs.messages != QStringList{QStringLiteral("Map loaded!")}) {
        std::fprintf(stderr, "the maximal map did not load: %s\n", qPrintable(dialogs.messages.join(QLatin1Char('\n'))));
        return 1;
    }
    Register("BM_ExpandScriptsFolder", BM_ExpandScriptsFolder, window);
    Register("BM_SelectLongScript", BM_SelectLongScript, window);
    Register("BM_ExpandLongScript", BM_ExpandLongScript, window);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
