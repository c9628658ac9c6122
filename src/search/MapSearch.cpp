// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/MapSearch.h"

#include <algorithm>
#include <cstdint>

#include "base/TextFormat.h"
#include "script/TextProducer.h"

namespace quorin {

namespace {
// Texts longer than this are compared once per group of suffixes; shorter
// ones cost less to compare than to look up.
constexpr std::size_t kSuffixScanFrom = 256;
}  // namespace

MapSearch::MapSearch(const MapContent& map, std::string_view query, SearchLimits limits)
    : map_(map), query_(query), limits_(limits) {
    if (query_.empty()) stage_ = Stage::Done;
}

bool MapSearch::advance(std::size_t work) {
    std::size_t spent = 0;
    while (!finished() && spent < work) spent += step();
    return finished();
}

std::size_t MapSearch::step() {
    switch (stage_) {
    case Stage::ScriptNames:
        if (at_ < map_.ScriptHeaderCache.size()) return stepName(map_.ScriptHeaderCache[at_].Name, HitKind::Script, at_);
        nextStage(Stage::GlobalNames);
        return 1;
    case Stage::GlobalNames:
        if (at_ < map_.GlobalHeaderCache.size()) return stepName(map_.GlobalHeaderCache[at_].Name, HitKind::Global, at_);
        nextStage(Stage::NodeTexts);
        return 1;
    case Stage::NodeTexts:
        return stepNodeText();
    case Stage::Uses:
        return stepUses();
    case Stage::Done:
        return 1;
    }
    return 1;
}

void MapSearch::nextStage(Stage stage) {
    stage_ = stage;
    at_ = 0;
    if (stage == Stage::NodeTexts) {
        // Without nodes no script has a text to search.
        if (map_.SyntaxCache.empty()) {
            stage_ = Stage::Done;
            return;
        }
        const std::size_t count = map_.SyntaxCache.size();
        matches_.assign(count, false);
        nextMatch_.assign(count + 1, count);
        at_ = count;  // filled from the last node down
    }
}

std::size_t MapSearch::stepName(const SharedText& name, HitKind kind, std::size_t position) {
    ++at_;
    std::size_t cost = 1;
    if (!holds(name, cost)) return cost;
    SearchHit hit;
    hit.kind = kind;
    hit.position = position;
    hit.name = name.str();
    return cost + addHit(std::move(hit));
}

std::size_t MapSearch::stepNodeText() {
    if (at_ == 0) {
        nextStage(Stage::Uses);
        return 1;
    }
    const std::size_t p = --at_;
    const SharedText& text = map_.SyntaxCache[p].Command;
    std::size_t cost = 1;
    const bool found = holds(text, cost);
    matches_[p] = found;
    nextMatch_[p] = found ? p : nextMatch_[p + 1];
    return cost;
}

bool MapSearch::holds(const SharedText& text, std::size_t& cost) {
    if (text.size() > kSuffixScanFrom) return longTextHolds(text, cost);
    cost += text.size();
    return query_.foundIn(text);
}

bool MapSearch::longTextHolds(const SharedText& text, std::size_t& cost) {
    const std::string_view view = text.view();
    const char* const end = view.data() + view.size();
    auto [entry, added] = suffixScans_.try_emplace(end);
    SuffixScan& scan = entry->second;
    if (added) {
        scan.kept = text;
        scan.scannedFrom = end;
    }
    if (view.data() < scan.scannedFrom && !scan.lastMatch) {
        // The bytes before the part already compared, and as many after it
        // as an occurrence straddling the two needs.
        const auto before = static_cast<std::size_t>(scan.scannedFrom - view.data());
        const std::string_view fresh = view.substr(0, std::min(view.size(), before + query_.size() - 1));
        cost += fresh.size();
        if (const auto last = query_.lastIn(fresh)) scan.lastMatch = view.data() + *last;
    }
    scan.scannedFrom = std::min(scan.scannedFrom, view.data());
    return scan.lastMatch && view.data() <= scan.lastMatch;
}

std::size_t MapSearch::stepUses() {
    if (at_ >= map_.ScriptHeaderCache.size()) {
        stage_ = Stage::Done;
        return 1;
    }
    const ScriptHeader& script = map_.ScriptHeaderCache[at_];
    auto use = [&](std::size_t p) {
        const Syntax& node = map_.SyntaxCache[p];
        return SearchHit{HitKind::Use, at_, script.Name.str(), p, node.ExpIdentity, node.Command.str()};
    };
    if (!inWalk_) {
        // The cache is not empty here, so the walk exists.
        const ScriptWalk walk = WalkOf(map_, script).value_or(ScriptWalk{});
        inWalk_ = true;
        walkAt_ = walk.first;
        walkEnd_ = walk.root;
        if (walk.childLine && matches_[walk.child]) return 1 + addHit(use(walk.child));
        return 1;
    }
    const std::size_t p = walkAt_ < walkEnd_ ? nextMatch_[walkAt_] : walkEnd_;
    if (p >= walkEnd_) {
        inWalk_ = false;
        ++at_;
        return 1;
    }
    walkAt_ = p + 1;
    return addHit(use(p));
}

std::size_t MapSearch::addHit(SearchHit hit) {
    const std::size_t bytes = hit.name.size() + hit.text.size();
    const bool tooMany = result_.hits.size() >= limits_.hits;
    if (tooMany || bytes > limits_.textBytes - std::min(textBytes_, limits_.textBytes)) {
        result_.stoppedBy = tooMany ? SearchStop::HitLimit : SearchStop::TextLimit;
        stage_ = Stage::Done;
        return 1;
    }
    textBytes_ += bytes;
    result_.hits.push_back(std::move(hit));
    return 1 + bytes;
}

std::string StopReason(const SearchResult& result, const SearchLimits& limits) {
    switch (result.stoppedBy) {
        case SearchStop::None: break;
        case SearchStop::HitLimit: return "it reached its limit of " + Decimal(static_cast<std::int64_t>(limits.hits)) + " hits";
        case SearchStop::TextLimit: {
            const auto bytes = static_cast<std::int64_t>(limits.textBytes);
            const std::string size = bytes % (1 << 20) == 0 ? Decimal(bytes >> 20) + " MiB" : Decimal(bytes) + " bytes";
            return "the names and texts of its hits reached its limit of " + size;
        }
    }
    return {};
}

SearchResult FindInMap(const MapContent& map, std::string_view query, SearchLimits limits) {
    MapSearch search(map, query, limits);
    while (!search.advance(SIZE_MAX)) {
    }
    return search.takeResult();
}

}  // namespace quorin
