// SPDX-License-Identifier: GPL-3.0-or-later
// The search on the largest map: a command every script calls, a rare one,
// a text every node holds, and a query that matches nothing.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "search/MapSearch.h"
#include "support/MaximalMapFile.h"

namespace {

const quorin::MapState& Maximal() { return quorin::bench::LoadedMaximalMap(); }

void Find(benchmark::State& state, const char* query) {
    const quorin::MapState& map = Maximal();
    std::size_t hits = 0;
    for (auto _ : state) {
        const quorin::SearchResult result = quorin::FindInMap(map, query);
        hits = result.hits.size();
        benchmark::DoNotOptimize(result.hits.data());
    }
    state.counters["hits"] = static_cast<double>(hits);
}

// The "set" command of every statement: 6397 uses in 2000 scripts.
void FindCommonCommand(benchmark::State& state) { Find(state, "command_SET"); }
// One command name and the few that extend it.
void FindRareCommand(benchmark::State& state) { Find(state, "maximal_command_set_1601"); }
// Every name and every walked node.
void FindEveryText(benchmark::State& state) { Find(state, "maximal"); }
void FindNothing(benchmark::State& state) { Find(state, "no_such_command"); }

BENCHMARK(FindCommonCommand)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(FindRareCommand)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(FindEveryText)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(FindNothing)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
