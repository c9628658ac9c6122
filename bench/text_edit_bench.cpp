// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an edited text and planning its writes, on the longest script text
// of the largest map the format holds, with 1,000 changed tokens: node texts
// pointed at other nodes' texts, and numbers.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/MaximalMapFile.h"
#include "textedit/TextEditPlan.h"

namespace {

const quorin::MapState& Maximal() { return quorin::bench::LoadedMaximalMap(); }

constexpr int kChangedTokens = 1000;

// Script 0's text with its first 1,000 node texts and numbers changed: each
// text becomes the text of the node after it, each number goes up by one.
std::string EditedLongestText(const quorin::MapState& map) {
    const quorin::PartedText text = quorin::RecordText(map, {quorin::RecordKind::Script, 0});
    std::string edited;
    int changed = 0;
    for (const quorin::TextPart& part : text.parts()) {
        std::string token(text.bytesOf(part));
        if (changed < kChangedTokens && part.kind == quorin::PartKind::NodeText) {
            token = map.SyntaxCache[part.position + 1].Command.str();
            ++changed;
        } else if (changed < kChangedTokens && part.kind == quorin::PartKind::NodeNumber) {
            token = std::to_string(std::stoi(token) + 1);
            ++changed;
        }
        edited += token;
    }
    return edited;
}

void PlanLongestText(benchmark::State& state) {
    const quorin::MapState& map = Maximal();
    const std::string edited = EditedLongestText(map);
    std::size_t writes = 0;
    for (auto _ : state) {
        const quorin::TextPlan plan = quorin::PlanEditedFile(map, {quorin::RecordKind::Script, 0}, edited);
        if (plan.refused()) state.SkipWithError(plan.refusals.front().message.c_str());
        writes = plan.writes.size();
        benchmark::DoNotOptimize(plan.writes.data());
    }
    state.counters["writes"] = static_cast<double>(writes);
    state.counters["text_bytes"] = static_cast<double>(edited.size());
}
BENCHMARK(PlanLongestText)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
