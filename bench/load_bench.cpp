// The whole load chain on the maximal map, against reading the same bytes
// with one plain read (the physical floor).

#include <benchmark/benchmark.h>

#include <fstream>
#include <vector>

#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "map/MaximalMap.h"
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

void ReadWholeFileOnce(benchmark::State& state) {
    const std::string& path = quorin::bench::MaximalMapPath();
    std::vector<char> bytes(static_cast<std::size_t>(quorin::kMaximalFileSize));
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(ReadWholeFileOnce)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
