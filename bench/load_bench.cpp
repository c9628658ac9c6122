// SPDX-License-Identifier: GPL-3.0-or-later
// The whole load chain on the maximal map, in process. scripts/bench.sh
// compares whole processes with the true floor of a load.

#include <benchmark/benchmark.h>


#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "fixtures/MaximalMap.h"
#include "support/MaximalMapFile.h"

namespace {

void LoadChain(benchmark::State& state) {
    const std::string& path = quorin::bench::MaximalMapPath();
    for (auto _ : state) {
        quorin::MapState map;
        if (!quorin::OpenMap(map, path, quorin::BuiltInMapNames())) state.SkipWithError("refused");
        benchmark::DoNotOptimize(map.SyntaxCache.data());
    }
}
BENCHMARK(LoadChain)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
