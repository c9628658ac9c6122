// SPDX-License-Identifier: GPL-3.0-or-later
// Extract-all text, command database and script texts on the largest map the format holds.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "base/LimitedText.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "fixtures/MaximalMap.h"
#include "script/Decompiler.h"

namespace {

// The maximal map, written to a temporary file and loaded once.
const quorin::MapState& Maximal() {
    static const quorin::MapState map = [] {
        const auto path = std::filesystem::temp_directory_path() / "quorin-text-bench.map";
        quorin::MapState state;
        if (!quorin::MaximalMap().writeTo(path.string())) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
        const bool loaded = quorin::OpenMap(state, path.string(), quorin::BuiltInMapNames()).ok();
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        if (!loaded) {
            std::fprintf(stderr, "cannot load the maximal map\n");
            std::exit(1);
        }
        return state;
    }();
    return map;
}

void ExtractAllText(benchmark::State& state) {
    const quorin::ExtractionSnapshot snapshot = quorin::ExtractionSnapshot(Maximal());
    std::size_t bytes = 0;
    for (auto _ : state) {
        quorin::LimitedText text;
        quorin::ExtractAllResult result = quorin::ExtractAll(snapshot, text);
        bytes = text.text().size();
        benchmark::DoNotOptimize(result.syntaxParts);
    }
    state.counters["text_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(ExtractAllText)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The snapshot copy the worker makes before a run, for comparison.
void ExtractAllWithSnapshot(benchmark::State& state) {
    for (auto _ : state) {
        quorin::LimitedText text;
        quorin::ExtractAllResult result = quorin::ExtractAll(quorin::ExtractionSnapshot(Maximal()), text);
        benchmark::DoNotOptimize(result.syntaxParts);
    }
}
BENCHMARK(ExtractAllWithSnapshot)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void CommandDatabase(benchmark::State& state) {
    const quorin::MapState& map = Maximal();
    std::size_t added = 0;
    for (auto _ : state) {
        quorin::LimitedText text;
        quorin::CommandDatabaseResult result = quorin::WriteCommandDatabase(map.SyntaxCache, text);
        added = static_cast<std::size_t>(result.added);
        benchmark::DoNotOptimize(text.text().data());
    }
    state.counters["lines"] = static_cast<double>(added);
}
BENCHMARK(CommandDatabase)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

void LongestScriptText(benchmark::State& state) {
    const quorin::MapState& map = Maximal();
    for (auto _ : state) {
        std::string text = quorin::DecompileScript(map, map.ScriptHeaderCache.front());
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(LongestScriptText)->Unit(benchmark::kMicrosecond);

// The same text with the part of every byte, as a text editor reads it.
void LongestScriptParts(benchmark::State& state) {
    const quorin::MapState& map = Maximal();
    std::size_t parts = 0;
    for (auto _ : state) {
        const quorin::PartedText text = quorin::ScriptTextParts(map, 0);
        parts = text.parts().size();
        benchmark::DoNotOptimize(text.parts().data());
    }
    state.counters["parts"] = static_cast<double>(parts);
}
BENCHMARK(LongestScriptParts)->Unit(benchmark::kMicrosecond);

void AllScriptsRangeText(benchmark::State& state) {
    const quorin::MapState& map = Maximal();
    for (auto _ : state) {
        std::string text = quorin::ScriptRangeText(map, 0, static_cast<std::int64_t>(map.ScriptHeaderCache.size()));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(AllScriptsRangeText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
