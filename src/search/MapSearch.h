// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds a query in the loaded map: script names, global names, then the
// nodes each script's text is built from. Runs in one go (FindInMap) or in
// slices of bounded work (MapSearch), so a window can search between events.
//
// Hits come in this order: scripts whose name holds the query, in cache
// order; globals likewise; then, script by script in cache order, its uses:
// the root's first child when that child has a line of its own in the text,
// then the walked positions in walk order (see WalkOf). A node that several
// scripts walk is a use in each of them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "map/MapState.h"
#include "search/CaselessQuery.h"
#include "search/SearchHit.h"

namespace quorin {

// A hostile map can make every script walk the whole node block, so hits
// are bounded. No map whose walks do not overlap comes near these.
struct SearchLimits {
    std::size_t hits = 100'000;
    std::size_t textBytes = 64u << 20;  // names and texts the hits copy
};

// The limit that ended a search before it had looked at everything.
enum class SearchStop { None, HitLimit, TextLimit };

struct SearchResult {
    std::vector<SearchHit> hits;
    // What stopped the search; the hits found before it stay.
    SearchStop stoppedBy = SearchStop::None;

    bool complete() const { return stoppedBy == SearchStop::None; }
};

// Why a search stopped, naming the limit it reached ("it reached its limit
// of 100000 hits"); empty when it looked at everything.
[[nodiscard]] std::string StopReason(const SearchResult& result, const SearchLimits& limits = {});

class MapSearch {
public:
    // The map must stay alive and unchanged until the search is over.
    MapSearch(const MapContent& map, std::string_view query, SearchLimits limits = {});

    // Goes on for about `work` units (bytes compared, records walked, hits
    // made; at least one unit of progress per call) and returns finished().
    bool advance(std::size_t work);
    [[nodiscard]] bool finished() const { return stage_ == Stage::Done; }

    [[nodiscard]] const SearchResult& result() const { return result_; }
    [[nodiscard]] SearchResult takeResult() { return std::move(result_); }

private:
    enum class Stage { ScriptNames, GlobalNames, NodeTexts, Uses, Done };

    // Each step does one record, node or hit and returns its cost.
    std::size_t step();
    std::size_t stepName(const SharedText& name, HitKind kind, std::size_t count);
    std::size_t stepNodeText();
    // Whether a name or node text holds the query; adds the bytes it
    // compared to cost.
    bool holds(const SharedText& text, std::size_t& cost);
    bool longTextHolds(const SharedText& text, std::size_t& cost);
    std::size_t stepUses();
    // Adds a hit unless a limit is reached; then the search ends.
    std::size_t addHit(SearchHit hit);
    void nextStage(Stage stage);

    const MapContent& map_;
    CaselessQuery query_;
    SearchLimits limits_;
    SearchResult result_;
    std::size_t textBytes_ = 0;

    Stage stage_ = Stage::ScriptNames;
    std::size_t at_ = 0;  // the record, node or script the stage is at
    // The nodes whose Command holds the query, and for each position the
    // first such node at or after it (the node count when there is none),
    // so a walk costs its hits, not its length.
    std::vector<bool> matches_;
    std::vector<std::size_t> nextMatch_;
    // Long texts that end at the same byte in memory are suffixes of one
    // another; a hostile map points thousands of nodes into one long run,
    // or leaves its names without a zero byte to run on through the tables.
    // Each such group is compared once, from its earliest start: every
    // occurrence starting at or after scannedFrom is known, and the last of
    // them answers for every suffix. The text keeps the bytes, so their
    // address cannot pass to other bytes during the search.
    struct SuffixScan {
        SharedText kept;
        const char* scannedFrom = nullptr;
        const char* lastMatch = nullptr;  // nullptr: none at or after scannedFrom
    };
    std::unordered_map<const char*, SuffixScan> suffixScans_;
    // Inside the uses of script at_: the walk and the next position to look at.
    bool inWalk_ = false;
    std::size_t walkAt_ = 0;
    std::size_t walkEnd_ = 0;
};

// The whole search at once.
[[nodiscard]] SearchResult FindInMap(const MapContent& map, std::string_view query, SearchLimits limits = {});

}  // namespace quorin
