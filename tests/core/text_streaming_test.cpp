// SPDX-License-Identifier: GPL-3.0-or-later
// Texts made piece by piece: the walks made from the rendered nodes match
// the node-by-node parts, every size worked out ahead matches the text made, a
// sink's "stop" ends a producer at once, and a result window's text says
// what it left out.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "extract/ResultText.h"
#include "builder/DemoMap.h"
#include "fixtures/HostileMaps.h"
#include "base/LimitedText.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "fixtures/MaximalMap.h"
#include "script/TextProducer.h"
#include "support/HandMap.h"
#include "support/TempMap.h"
#include "support/WholeText.h"

namespace quorin {
namespace {

MapState Loaded(const MapBuilder& builder) {
    testing::TempDir dir;
    MapState map;
    EXPECT_TRUE(OpenMap(map, testing::WriteMap(dir, builder), BuiltInMapNames()));
    return map;
}

// Maps whose texts take every path: long and short command texts, groups,
// numbers, truth values, closers, a walk that wraps, run-on names.
std::vector<std::pair<const char*, MapState>> Maps() {
    MapBuilder maximal = MaximalMap();
    maximal.padTo = 0;
    std::vector<Syntax> nodes = testing::FooNodes();
    nodes[5].Command = std::string(300, 'v');  // a variable with a long name
    nodes[3].EngineIdentity = -1;              // a group printed as its text
    nodes[3].Command = std::string(65, 'g');
    nodes[8].ValueType = 5;                    // a truth value that is neither
    std::vector<std::pair<const char*, MapState>> maps;
    maps.emplace_back("demo", Loaded(DemoMap()));
    maps.emplace_back("maximal", Loaded(maximal));
    maps.emplace_back("long node texts", Loaded(LongNodeTextsMap(40, 4000)));
    maps.emplace_back("wide walk", Loaded(WideWalkMap(30, 200)));
    maps.emplace_back("run-on names", Loaded(RunOnNamesMap(20)));
    maps.emplace_back("by hand", testing::HandMap(nodes, {testing::FooScript(), {"lost", 3, 6, 4040, 0}},
                                                  {{"count", 7, 102, 0}, {"flag", 5, 108, 0}}));
    maps.emplace_back("nothing", testing::HandMap({}, {testing::FooScript()}, {{"count", 7, 102, 0}}));
    return maps;
}

TEST(TextProducer, RenderedOnceWalksAndTheirCountsAreTheNodeByNodeParts) {
    for (const auto& [what, map] : Maps()) {
        for (const NodeTextRules rules :
             {NodeTextRules::SelectionDisplay, NodeTextRules::RangeExtraction, NodeTextRules::ExtractAll}) {
            const TextProducer byNode(map, rules);
            const TextProducer once(map, rules, TextProducer::Walks::RenderedOnce);
            for (std::size_t i = 0; i < map.ScriptHeaderCache.size(); ++i) {
                const ScriptHeader& script = map.ScriptHeaderCache[i];
                PartedText parts;
                const std::int64_t walked = byNode.script(parts, i);
                std::int64_t fastWalked = 0;
                const std::string fast =
                    testing::Written([&](TextOutput& out) { fastWalked = once.script(out, script); });
                ASSERT_EQ(fast, parts.text()) << what << ", script " << script.Name << ", rules " << static_cast<int>(rules);
                EXPECT_EQ(fastWalked, walked) << what;
                TextCount count;
                once.script(count, script);
                EXPECT_EQ(count.appended(), fast.size()) << what;
            }
            for (std::size_t i = 0; i < map.GlobalHeaderCache.size(); ++i) {
                PartedText parts;
                byNode.global(parts, i);
                const std::string bytes =
                    testing::Written([&](TextOutput& out) { once.global(out, map.GlobalHeaderCache[i]); });
                EXPECT_EQ(bytes, parts.text()) << what;
            }
        }
    }
}

TEST(TextSizes, EverySizeWorkedOutAheadIsTheSizeOfTheTextMade) {
    for (const auto& [what, map] : Maps()) {
        const auto scripts = static_cast<std::int64_t>(map.ScriptHeaderCache.size());
        const auto globals = static_cast<std::int64_t>(map.GlobalHeaderCache.size());
        EXPECT_EQ(ExtractAllSize(map), static_cast<std::int64_t>(testing::ExtractAllWhole(map).text.size())) << what;
        const auto database = testing::CommandDatabaseWhole(map.SyntaxCache);
        EXPECT_EQ(database.textSize, static_cast<std::int64_t>(database.text.size())) << what;
        for (const auto& [first, last] : std::vector<std::pair<std::int64_t, std::int64_t>>{
                 {0, scripts + globals}, {1, 2}, {-1, 3}, {3, 1}, {scripts, scripts + 9}}) {
            EXPECT_EQ(ScriptRangeSize(map, first, last), static_cast<std::int64_t>(ScriptRangeText(map, first, last).size()))
                << what << " scripts " << first << ".." << last;
            EXPECT_EQ(GlobalRangeSize(map, first, last), static_cast<std::int64_t>(GlobalRangeText(map, first, last).size()))
                << what << " globals " << first << ".." << last;
        }
    }
}

// Takes `pieces` pieces, then says stop and counts what still arrives.
class StopsAfter final : public TextSink {
public:
    explicit StopsAfter(int pieces) : left_(pieces) {}
    bool take(std::string_view piece) override {
        if (left_ <= 0) {
            ++afterStop;
            return false;
        }
        bytes += piece.size();
        return --left_ > 0;
    }
    std::size_t bytes = 0;
    int afterStop = 0;

private:
    int left_;
};

TEST(TextSinks, AProducerEndsWhenItsSinkSaysStop) {
    // Every producer's whole text here is megabytes, far past two pieces.
    const MapState map = Loaded(LongNodeTextsMap(300, 64 * 1024));
    const MapState wide = Loaded(WideWalkMap(300, 2000));
    const std::pair<const char*, std::function<bool(TextSink&)>> producers[] = {
        {"extract-all", [&](TextSink& sink) { return ExtractAll(map, sink).complete; }},
        {"extract-all, short texts", [&](TextSink& sink) { return ExtractAll(wide, sink).complete; }},
        {"script range", [&](TextSink& sink) { return WriteScriptRange(wide, 0, 299, sink); }},
        {"database", [&](TextSink& sink) { return WriteCommandDatabase(map.SyntaxCache, sink).complete; }},
    };
    for (const auto& [what, produce] : producers) {
        StopsAfter sink(2);
        EXPECT_FALSE(produce(sink)) << what;
        EXPECT_EQ(sink.afterStop, 0) << what;
        EXPECT_LE(sink.bytes, 2 * std::size_t{64} * 1024 + 64 * 1024) << what;
    }
}

TEST(TextSinks, ACancelledRunStopsAndALimitKeepsExactlyWhatFits) {
    const MapState map = Loaded(WideWalkMap(100, 500));
    std::atomic<bool> cancelled{true};
    LimitedText cancelledText(kResultTextLimit, &cancelled);
    const ExtractAllResult stopped = ExtractAll(map, cancelledText);
    EXPECT_FALSE(stopped.complete);
    EXPECT_TRUE(cancelledText.text().empty());
    EXPECT_TRUE(stopped.message().starts_with("The extraction was stopped before the end.\n"));

    const std::string whole = testing::ExtractAllWhole(map).text;
    LimitedText limited(1000);
    EXPECT_FALSE(ExtractAll(map, limited).complete);
    EXPECT_TRUE(limited.reachedLimit());
    EXPECT_EQ(limited.text(), whole.substr(0, 1000));
}

TEST(ResultText, AWholeTextStaysAsItIsAndACutOneSaysWhatItLeftOut) {
    struct Case {
        const char* what;
        std::string collected;
        std::int64_t wholeSize;
        std::string shown;
    };
    const Case cases[] = {
        {"whole", "a\nb\n", 4, "a\nb\n"},
        {"whole, no line end", "abc", 3, "abc"},
        {"cut after a line end", "a\nbc", 10,
         "a\n[The text stops here: 8 more bytes were left out. \"quorin-cli extract-all MAP\" writes the whole text.]"},
        {"cut inside the first line", "abc", 7,
         "abc\n[The text stops here: 4 more bytes were left out. \"quorin-cli extract-all MAP\" writes the whole text.]"},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(ResultText(row.collected, row.wholeSize, "extract-all"), row.shown) << row.what;
    }
}

}  // namespace
}  // namespace quorin
