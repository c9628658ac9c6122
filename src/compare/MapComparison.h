// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two maps compared record by record: scripts with scripts, globals with
// globals, paired by name. Every pair whose texts differ, and every record
// only one map has, makes one section of a unified diff:
//   --- a/script/NAME        (--- /dev/null for an added record)
//   +++ b/script/NAME        (+++ /dev/null for a removed one)
//   @@ -A,B +C,D @@ and the lines (see LineDiff.h)
// global/ in place of script/ for globals; names escaped as quorin-cli find
// writes them. Scripts come first, in the old map's order, then the added
// scripts in the new map's order; then the globals the same way.
//
// Sections are handed on one at a time as they are made, and a comparison
// holds the texts of one record of each map at a time, never a map's whole
// text. A record that differs but could not be compared (see the limits in
// LineDiff.h) has, in place of its section, one line saying why.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/SharedText.h"
#include "compare/LineDiff.h"
#include "map/MapState.h"
#include "map/Records.h"

namespace quorin {

// A record of the old map and its partner in the new one, as cache
// positions. A record with no partner was removed (no new position) or
// added (no old position).
struct RecordPair {
    std::optional<std::size_t> oldPosition;
    std::optional<std::size_t> newPosition;

    friend bool operator==(const RecordPair&, const RecordPair&) = default;
};

// The n-th record of a name in the old map pairs with the n-th record of
// that name in the new map. The old records come first, in their order,
// each with its partner or none; then the new records left without one,
// in their order.
[[nodiscard]] std::vector<RecordPair> PairByName(std::span<const SharedText> oldNames,
                                                 std::span<const SharedText> newNames);

enum class RecordChange { Changed, Added, Removed };
// Why a record that differs (or may differ) has no section: a text over the
// length limit, more differences than a comparison may take, or the
// comparison had read all the text it may read before the record.
enum class NotCompared { No, TooLong, TooManyEdits, ReadLimit };

struct RecordDifference {
    RecordKind kind = RecordKind::Script;  // Script or Global
    std::string_view name;                 // as the map holds it
    RecordChange change = RecordChange::Changed;
    LineDiffCounts lines;
    NotCompared notCompared = NotCompared::No;
};

// "script" or "global".
[[nodiscard]] std::string_view KindWord(RecordKind kind);
// "changed", "added" or "removed".
[[nodiscard]] std::string_view ChangeWord(RecordChange change);

class DifferenceSink {
public:
    virtual ~DifferenceSink() = default;
    // Takes one record that differs and its section (or the line that says
    // why it was not compared), ending in a line end. False stops the
    // comparison.
    [[nodiscard]] virtual bool take(const RecordDifference& record, std::string_view section) = 0;
};

struct ComparisonResult {
    std::int64_t changed = 0;
    std::int64_t added = 0;
    std::int64_t removed = 0;
    // False when the sink or a cancel stopped the comparison; the counts
    // then cover the records handed on.
    bool complete = true;

    [[nodiscard]] std::int64_t differing() const { return changed + added + removed; }
    // "N records differ: C changed, A added, R removed."
    [[nodiscard]] std::string message() const;
};

// Compares oldMap with newMap, handing each record that differs to sink.
// cancelled, when given, is looked at between records and while a text is
// made.
[[nodiscard]] ComparisonResult CompareMaps(const MapContent& oldMap, const MapContent& newMap, DifferenceSink& sink,
                                           const std::atomic<bool>* cancelled = nullptr);

}  // namespace quorin
