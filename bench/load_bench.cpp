#include <benchmark/benchmark.h>
static void Placeholder(benchmark::State& state) { for (auto _ : state) benchmark::DoNotOptimize(0); }
BENCHMARK(Placeholder);
BENCHMARK_MAIN();
