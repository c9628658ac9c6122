// SPDX-License-Identifier: GPL-3.0-or-later
// Writes on the maximal map: the undo of a whole Protect Map, the backup
// before the first write against a plain copy of the same file, and one
// field write with its identity check.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "edit/FieldWriteBack.h"
#include "edit/MapProtection.h"
#include "file/MapBackup.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/MaximalMapFile.h"

namespace {

namespace fs = std::filesystem;

// A copy of the maximal map that the benchmarks may write, removed at exit.
const std::string& WritableMapPath() {
    static const struct Copy {
        std::string path = fs::temp_directory_path() / ("quorin-write-bench-" + std::to_string(::getpid()) + ".map");
        Copy() { fs::copy_file(quorin::bench::MaximalMapPath(), path, fs::copy_options::overwrite_existing); }
        ~Copy() {
            std::error_code ignored;
            fs::remove(path, ignored);
            fs::remove(path + ".bak", ignored);
            fs::remove(path + ".plain", ignored);
        }
    } copy;
    return copy.path;
}

void UndoProtectMap(benchmark::State& state) {
    quorin::MapState map;
    quorin::WriteHistory history;
    if (!quorin::OpenMap(map, WritableMapPath(), quorin::BuiltInMapNames())) state.SkipWithError("refused");
    if (!quorin::ProtectScripts(map, &history)) state.SkipWithError("protect failed");
    for (auto _ : state) {
        if (!history.undo(map)) state.SkipWithError("undo failed");
        state.PauseTiming();
        if (!history.redo(map)) state.SkipWithError("redo failed");
        state.ResumeTiming();
    }
    (void)history.undo(map);
}
BENCHMARK(UndoProtectMap)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BackupOfMap(benchmark::State& state) {
    auto source = quorin::SystemFile::open(WritableMapPath(), quorin::SystemFile::Access::Read);
    if (!source) state.SkipWithError("cannot open");
    const std::string backup = quorin::BackupPathFor(WritableMapPath());
    for (auto _ : state) {
        if (!quorin::BackUpFile(*source, backup)) state.SkipWithError("backup failed");
    }
}
BENCHMARK(BackupOfMap)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// What a user's own copy costs: read the file, write a new one.
void PlainCopyOfMap(benchmark::State& state) {
    std::vector<char> bytes(static_cast<std::size_t>(fs::file_size(WritableMapPath())));
    const std::string copy = WritableMapPath() + ".plain";
    for (auto _ : state) {
        std::ifstream in(WritableMapPath(), std::ios::binary);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::ofstream out(copy, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(PlainCopyOfMap)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void FieldWrite(benchmark::State& state) {
    quorin::MapState map;
    if (!quorin::OpenMap(map, WritableMapPath(), quorin::BuiltInMapNames())) state.SkipWithError("refused");
    map.LoadedSyntax = map.recordAt(map.SyntaxCache.size() / 2);
    int value = 0;
    for (auto _ : state) {
        if (!quorin::CommitField(map, quorin::EditField::SyntaxScriptValue, std::to_string(++value % 1000))) {
            state.SkipWithError("write failed");
        }
    }
}
BENCHMARK(FieldWrite)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
