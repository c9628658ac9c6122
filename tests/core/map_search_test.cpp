// SPDX-License-Identifier: GPL-3.0-or-later
// The search over a loaded map: which names and nodes are hits, in which
// order, how the query compares bytes, the plain lines of a hit list, and
// the tree row a hit leads to.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/TextFormat.h"
#include "browse/TreeRows.h"
#include "builder/DemoMap.h"
#include "fixtures/HostileMaps.h"
#include "search/HitLines.h"
#include "session/HitRow.h"
#include "search/MapSearch.h"
#include "support/EdgeMaps.h"
#include "support/HandMap.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

std::string Lines(const std::vector<SearchHit>& hits) {
    std::ostringstream out;
    WriteHitLines(out, hits);
    return out.str();
}

class MapSearchTest : public ::testing::Test {
protected:
    MapState load(const MapBuilder& builder) {
        MapState state;
        testing::CollectedMessages messages;
        EXPECT_TRUE(testing::Load(state, testing::WriteMap(dir_, builder), messages)) << messages.messages.back();
        return state;
    }

    testing::TempDir dir_;
};

TEST_F(MapSearchTest, HitsInOrder) {
    const MapState map = load(testing::SearchMap());
    struct Case {
        const char* why;
        std::string query;
        std::string lines;
    };
    const Case cases[] = {
        {"name and use; gamma's child matches but has no line of its own", "ai_attach",
         "s\tAI_Attach_Loop\nu\tAI_Attach_Loop\t12\tai_attach\n"},
        {"letters match in either case; a node two scripts walk is a use in each", "VAULT_Open",
         "g\tvault_open\nu\tAI_Attach_Loop\t16\tvault_open\nu\tbeta\t16\tvault_open\n"},
        {"child lines first, then the walk, which may pass another script's child", "begin",
         "u\tAI_Attach_Loop\t19\tbegin\nu\tbeta\t21\tbegin\nu\tbeta\t19\tbegin\n"},
        {"a root identity nobody has falls back to node 0", "fallback", "u\tlost\t10\tFallback_Text\n"},
        {"a byte above 127 matches itself", "\xe9", "s\tcaf\xe9\n"},
        {"letters fold, the byte above 127 must still be equal", "CAF\xe9", "s\tcaf\xe9\n"},
        {"0xC9 is not 0xE9 in another case", "\xc9", ""},
        {"escapes in names and texts", "\\",
         "g\ttab\\tname\\\\x\nu\tdelta\t25\tpath\\\\to\\tthe\\nend\\r\n"},
        {"gamma's child is walked by nobody", "ai_attach_group", ""},
        {"nothing", "zzz", ""},
        {"the empty query finds nothing", "", ""},
    };
    for (const Case& c : cases) {
        const SearchResult result = FindInMap(map, c.query);
        EXPECT_EQ(Lines(result.hits), c.lines) << c.why;
        EXPECT_TRUE(result.complete()) << c.why;
    }
}

TEST_F(MapSearchTest, UsesCarryTheirPositions) {
    const MapState map = load(testing::SearchMap());
    const SearchResult result = FindInMap(map, "vault_open");
    ASSERT_EQ(result.hits.size(), 3u);
    EXPECT_EQ(result.hits[0], (SearchHit{HitKind::Global, 0, "vault_open", 0, 0, ""}));
    EXPECT_EQ(result.hits[1], (SearchHit{HitKind::Use, 0, "AI_Attach_Loop", 6, 16, "vault_open"}));
    EXPECT_EQ(result.hits[2], (SearchHit{HitKind::Use, 1, "beta", 6, 16, "vault_open"}));
}

TEST_F(MapSearchTest, QueryMatchesAcrossRepeatedPrefixes) {
    // Texts where a naive restart after a partial match would miss the hit.
    MapBuilder map = testing::CountsMap(0, 0);
    map.scripts = {{"aaab", 3, 4, 11, 0}, {"abab_abac", 3, 4, 11, 0}, {"xAbAbAc", 3, 4, 11, 0}};
    const MapState loaded = load(map);
    EXPECT_EQ(Lines(FindInMap(loaded, "aab").hits), "s\taaab\n");
    EXPECT_EQ(Lines(FindInMap(loaded, "ABAC").hits), "s\tabab_abac\ns\txAbAbAc\n");
}

TEST_F(MapSearchTest, MapWithoutNodesHasNameHitsOnly) {
    MapBuilder noNodes = testing::CountsMap(2, 2);
    noNodes.syntaxCount = 0;
    const MapState map = load(noNodes);
    ASSERT_TRUE(map.SyntaxCache.empty());
    EXPECT_EQ(Lines(FindInMap(map, "_1").hits), "s\tscript_1\ng\tglobal_1\n");
    EXPECT_EQ(Lines(FindInMap(map, "begin").hits), "");
    EXPECT_EQ(Lines(FindInMap(MapState{}, "x").hits), "") << "no map at all";
}

TEST_F(MapSearchTest, SlicesFindWhatOneGoFinds) {
    const MapState map = load(testing::SearchMap());
    for (const char* query : {"a", "begin", "vault_open", "\\"}) {
        const SearchResult whole = FindInMap(map, query);
        MapSearch sliced(map, query);
        int slices = 0;
        while (!sliced.advance(1)) ++slices;
        EXPECT_GT(slices, 10) << query;
        EXPECT_EQ(sliced.result().hits, whole.hits) << query;
    }
}

TEST_F(MapSearchTest, LimitsStopTheSearchAndSayWhich) {
    const MapState map = load(testing::SearchMap());
    const std::vector<SearchHit> all = FindInMap(map, "e").hits;
    ASSERT_GT(all.size(), 4u);
    struct Case {
        const char* why;
        std::string query;
        SearchLimits limits;
        std::size_t hits;  // the first hits of the whole search that stay
        SearchStop stop;
        std::string reason;
    };
    const Case cases[] = {
        {"the hit count", "e", {.hits = 3}, 3, SearchStop::HitLimit, "it reached its limit of 3 hits"},
        // "AI_Attach_Loop" (14 bytes) fits, "beta" (4 more) does not.
        {"the bytes the hits copy", "a", {.textBytes = 16}, 1, SearchStop::TextLimit,
         "the names and texts of its hits reached its limit of 16 bytes"},
        {"a search within both limits", "e", {}, all.size(), SearchStop::None, ""},
    };
    for (const Case& c : cases) {
        const SearchResult result = FindInMap(map, c.query, c.limits);
        const std::vector<SearchHit> whole = FindInMap(map, c.query).hits;
        EXPECT_EQ(result.stoppedBy, c.stop) << c.why;
        EXPECT_EQ(result.hits, std::vector<SearchHit>(whole.begin(), whole.begin() + c.hits)) << c.why;
        EXPECT_EQ(StopReason(result, c.limits), c.reason) << c.why;
    }
    // The limits every search runs under unless told otherwise.
    EXPECT_EQ(StopReason(SearchResult{{}, SearchStop::TextLimit}),
              "the names and texts of its hits reached its limit of 64 MiB");
    EXPECT_EQ(StopReason(SearchResult{{}, SearchStop::HitLimit}), "it reached its limit of 100000 hits");
}

constexpr RowKey kScripts{RowKind::ScriptsFolder, 0};
constexpr RowKey kGlobals{RowKind::GlobalsFolder, 0};
constexpr RowKey ScriptRow(std::size_t position) { return {RowKind::Script, position}; }
constexpr RowKey NodeRow(std::size_t position) { return {RowKind::Node, position}; }

TEST_F(MapSearchTest, EveryHitLeadsToItsTreeRow) {
    const MapState map = load(testing::SearchMap());
    using Path = std::vector<RowKey>;
    struct Case {
        const char* why;
        SearchHit hit;
        Path path;
    };
    const Case cases[] = {
        {"script", {HitKind::Script, 4, "caf\xe9", 0, 0, ""}, {kScripts, ScriptRow(4)}},
        {"global: the second folder", {HitKind::Global, 1, "tab\tname\\x", 0, 0, ""},
         {kGlobals, {RowKind::Global, 1}}},
        {"use in a walk", {HitKind::Use, 0, "AI_Attach_Loop", 6, 16, "vault_open"}, {kScripts, ScriptRow(0), NodeRow(6)}},
        {"use on the child line", {HitKind::Use, 0, "AI_Attach_Loop", 9, 19, "begin"},
         {kScripts, ScriptRow(0), NodeRow(9)}},
        {"use in another script's walk", {HitKind::Use, 1, "beta", 9, 19, "begin"}, {kScripts, ScriptRow(1), NodeRow(9)}},
        // The root the dictionary lacks: its row reaches node 0, which the
        // script's text shows in its place.
        {"use through a missing root", {HitKind::Use, 3, "lost", 0, 10, "x"}, {kScripts, ScriptRow(3), NodeRow(0)}},
        {"a node the script's rows do not reach: the script's row", {HitKind::Use, 3, "lost", 5, 15, "x"},
         {kScripts, ScriptRow(3)}},
        {"a position the map does not have", {HitKind::Use, 6, "none", 0, 10, "x"}, {}},
        {"a global position the map does not have", {HitKind::Global, 2, "none", 0, 0, ""}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(TreePathFor(map, c.hit), c.path) << c.why;
}

TEST_F(MapSearchTest, SharedNamesAndRepeatedIdentities) {
    // EdgeMap: two scripts named "twice"; each row expands its own script.
    const MapState edge = load(testing::EdgeMap());
    const SearchResult result = FindInMap(edge, "print");
    // Walked by the first "twice" and by "a: b" (root 14 as well).
    EXPECT_EQ(Lines(result.hits), "u\ttwice\t12\tprint\nu\ta: b\t12\tprint\n");
    EXPECT_EQ(TreePathFor(edge, result.hits[0]), (std::vector<RowKey>{kScripts, ScriptRow(0), NodeRow(2)}));
    EXPECT_EQ(TreePathFor(edge, result.hits[1]), (std::vector<RowKey>{kScripts, ScriptRow(4), NodeRow(2)}));

    // The same identity twice among a script's rows: each hit reaches the
    // row of its own node.
    // Rows of "dup": 11 (root), 12 (child, node 3), 10, 12 (node 1).
    MapBuilder repeated;
    repeated.nodes = {
        testing::Node(10, 7, 9, 7, 3, -1, -1, "3"),
        testing::Node(12, 7, 9, 9, 0, -1, -1, "begin_dup"),
        testing::Node(11, 20, 8, 4, 0, -1, 12, ""),
        testing::Node(12, 7, 9, 2, 0, 10, 0, "begin"),
    };
    repeated.scripts = {{"dup", 3, 4, 11, 0}};
    const MapState twice = load(repeated);
    ASSERT_EQ(ChildRowsFor(twice, ScriptRow(0)).rows.size(), 4u);
    const SearchResult begin = FindInMap(twice, "begin");
    EXPECT_EQ(Lines(begin.hits), "u\tdup\t12\tbegin\nu\tdup\t12\tbegin_dup\n");
    EXPECT_EQ(TreePathFor(twice, begin.hits[0]), (std::vector<RowKey>{kScripts, ScriptRow(0), NodeRow(3)}));
    EXPECT_EQ(TreePathFor(twice, begin.hits[1]), (std::vector<RowKey>{kScripts, ScriptRow(0), NodeRow(1)}));
}

// Node texts that start a byte apart in one long run are suffixes of one
// another: the search finds the same uses as comparing each text alone, and
// its work stays near the run's length instead of nodes times the run.
TEST_F(MapSearchTest, SuffixesOfOneLongRunAreComparedOnce) {
    constexpr int kNodes = 400;
    constexpr std::int64_t kRun = 64 * 1024;
    MapBuilder builder = LongNodeTextsMap(kNodes, kRun);
    const std::int64_t run = builder.layout().stringTable;
    // One needle among the first texts' starts, one far into the run (in
    // every text), one straddling the end of a text's first 256 bytes.
    builder.overwrites.push_back({run + 150, "NeedleA"});
    builder.overwrites.push_back({run + kRun - 100, "needleB"});
    builder.overwrites.push_back({run + 2 * kNodes + 300, "needleC"});
    const MapState map = load(builder);
    ASSERT_EQ(map.SyntaxCache.size(), static_cast<std::size_t>(kNodes));

    // Every text holds "x": its uses are the nodes the script walks.
    std::vector<std::size_t> walked;
    for (const SearchHit& hit : FindInMap(map, "x").hits) {
        if (hit.kind == HitKind::Use) walked.push_back(hit.node);
    }
    ASSERT_GT(walked.size(), static_cast<std::size_t>(kNodes / 2));

    for (const char* query : {"needlea", "NEEDLEB", "needleC", "xneedleC", "absent"}) {
        const CaselessQuery alone(query);
        std::vector<std::size_t> expected;
        for (const std::size_t node : walked) {
            if (alone.foundIn(map.SyntaxCache[node].Command)) expected.push_back(node);
        }
        MapSearch search(map, query);
        std::size_t calls = 1;
        constexpr std::size_t kWork = 4096;
        while (!search.advance(kWork)) ++calls;
        std::vector<std::size_t> found;
        std::size_t hitBytes = 0;
        for (const SearchHit& hit : search.result().hits) {
            hitBytes += hit.name.size() + hit.text.size();
            if (hit.kind == HitKind::Use) found.push_back(hit.node);
        }
        EXPECT_EQ(found, expected) << query;
        // Comparing each text alone would take about kNodes * kRun units;
        // copying the hits' texts is the output and counts apart.
        EXPECT_LT(calls * kWork, 4 * static_cast<std::size_t>(kRun) + 64 * kNodes + hitBytes + kWork) << query;
    }
}

// Names with no zero byte run on through both tables; they too are compared
// once per run, while every name still answers for itself.
TEST_F(MapSearchTest, NamesThatRunOnAreComparedOnce) {
    constexpr int kEntries = 300;
    MapBuilder builder = RunOnNamesMap(kEntries);
    const MapLayout at = builder.layout();
    builder.overwrites.push_back({at.scriptEntry(40) + 10, "Marker"});
    const MapState map = load(builder);
    const auto tables = static_cast<std::size_t>(at.syntaxBlock - at.scriptTable);
    for (const char* query : {"marker", "absent"}) {
        const CaselessQuery alone(query);
        std::size_t expected = 0;
        for (const ScriptHeader& script : map.ScriptHeaderCache) expected += alone.foundIn(script.Name) ? 1 : 0;
        for (const GlobalHeader& global : map.GlobalHeaderCache) expected += alone.foundIn(global.Name) ? 1 : 0;
        MapSearch search(map, query);
        std::size_t calls = 1;
        constexpr std::size_t kWork = 4096;
        while (!search.advance(kWork)) ++calls;
        std::size_t names = 0;
        std::size_t hitBytes = 0;
        for (const SearchHit& hit : search.result().hits) {
            hitBytes += hit.name.size() + hit.text.size();
            names += hit.kind == HitKind::Use ? 0 : 1;
        }
        EXPECT_EQ(names, expected) << query;
        EXPECT_LT(calls * kWork, 4 * tables + 64 * 2 * kEntries + hitBytes + kWork) << query;
    }
}

TEST(HitLines, EscapesOnlyTheFourBytes) {
    const std::string every = [] {
        std::string bytes;
        for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
        return bytes;
    }();
    std::string expected;
    for (const char c : every) {
        if (c == '\\') expected += "\\\\";
        else if (c == '\t') expected += "\\t";
        else if (c == '\n') expected += "\\n";
        else if (c == '\r') expected += "\\r";
        else expected += c;
    }
    EXPECT_EQ(EscapedField(every), expected);
    EXPECT_EQ(EscapedField(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(EscapedField("\\t"), "\\\\t") << "an escape is not read twice";
}

}  // namespace
}  // namespace quorin
