// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/LineDiff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "base/SharedText.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

constexpr std::size_t kContext = kContextLines;
constexpr std::string_view kNoLineEnd = "\\ No newline at end of file\n";

// One line of a text: where it starts and its length, line end included.
// Texts are at most kCompareTextLimit bytes, so 32 bits hold both.
struct Line {
    std::uint32_t start = 0;
    std::uint32_t size = 0;
};

std::string_view TextOf(std::string_view text, Line line) { return text.substr(line.start, line.size); }

// Lines of the old text removed and lines of the new text added in their
// place, as positions in the lines the hunks can show.
struct Edit {
    std::size_t oldFrom = 0;
    std::size_t oldCount = 0;
    std::size_t newFrom = 0;
    std::size_t newCount = 0;

    [[nodiscard]] std::size_t oldEnd() const { return oldFrom + oldCount; }
    [[nodiscard]] std::size_t newEnd() const { return newFrom + newCount; }
};

using LinePair = std::pair<std::size_t, std::size_t>;

std::size_t CountLineEnds(std::string_view text, std::size_t from, std::size_t to) {
    return static_cast<std::size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(from),
                                               text.begin() + static_cast<std::ptrdiff_t>(to), '\n'));
}

std::size_t CountLines(std::string_view text, std::size_t from, std::size_t to) {
    return CountLineEnds(text, from, to) + (to > from && text[to - 1] != '\n' ? 1 : 0);
}

// Appends the lines of text between from and to, at most `most` of them.
void AppendLines(std::string_view text, std::size_t from, std::size_t to, std::vector<Line>& lines,
                 std::size_t most = static_cast<std::size_t>(-1)) {
    for (std::size_t taken = 0; from < to && taken < most; ++taken) {
        const void* end = std::memchr(text.data() + from, '\n', to - from);
        const std::size_t next = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1 : to;
        lines.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(next - from)});
        from = next;
    }
}

// Where the last `count` lines before end start (end is 0 or just past a
// line end).
std::size_t StartOfLastLines(std::string_view text, std::size_t end, std::size_t count) {
    std::size_t start = end;
    for (std::size_t i = 0; i < count && start > 0; ++i) {
        const std::size_t previousEnd = start >= 2 ? text.rfind('\n', start - 2) : std::string_view::npos;
        start = previousEnd == std::string_view::npos ? 0 : previousEnd + 1;
    }
    return start;
}

bool StartsLine(std::string_view text, std::size_t at, std::size_t lineStart) {
    return at == lineStart || text[at - 1] == '\n';
}

// One number per distinct line, so the search compares numbers, not texts.
// Open addressing over the keyed text hash, so lines built to collide
// cannot make it slow.
class LineNumbers {
public:
    explicit LineNumbers(std::size_t lines) : slots_(std::bit_ceil(std::max<std::size_t>(2 * lines, 16)), 0) {}

    std::uint32_t of(std::string_view line) {
        const std::uint64_t hash = TextHash(line);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const std::uint32_t slot = slots_[at];
            if (slot == 0) {
                texts_.push_back(line);
                hashes_.push_back(hash);
                slots_[at] = static_cast<std::uint32_t>(texts_.size());
                return slots_[at] - 1;
            }
            if (hashes_[slot - 1] == hash && texts_[slot - 1] == line) return slot - 1;
        }
    }
    [[nodiscard]] std::size_t count() const { return texts_.size(); }

private:
    std::vector<std::uint32_t> slots_;  // number + 1; 0 for a free slot
    std::vector<std::string_view> texts_;
    std::vector<std::uint64_t> hashes_;
};

// What the search may spend on one pair of texts.
struct SearchBudget {
    std::int64_t steps = 0;
    std::int64_t tracks = 0;
    std::uintptr_t lastOld = 0;
    std::uintptr_t lastNew = 0;
    bool spent = false;
};

// Line equality for the search, counting its work. The search compares
// consecutive lines along one diagonal, so a comparison whose two lines do
// not both follow the last two starts a new diagonal, and the search keeps
// a record of each. Once either count passes its limit every pair compares
// equal, which takes the search straight to its end in one more round; the
// caller then throws its result away.
class BudgetedEqual final : public dtl::Compare<std::uint32_t> {
public:
    BudgetedEqual() = default;
    explicit BudgetedEqual(SearchBudget& budget) : budget_(&budget) {}

    bool impl(const std::uint32_t& a, const std::uint32_t& b) const override {
        SearchBudget& budget = *budget_;
        if (budget.spent) return true;
        const auto atA = reinterpret_cast<std::uintptr_t>(&a);
        const auto atB = reinterpret_cast<std::uintptr_t>(&b);
        if (atA != budget.lastOld + sizeof a || atB != budget.lastNew + sizeof b) ++budget.tracks;
        budget.lastOld = atA;
        budget.lastNew = atB;
        if (++budget.steps > kCompareStepLimit || budget.tracks > kCompareTrackLimit) {
            budget.spent = true;
            return true;
        }
        return a == b;
    }

private:
    SearchBudget* budget_ = nullptr;
};

// The lines between the shared ends that the shortest edit script keeps,
// added to kept in order as positions in oldLines and newLines (the middle
// starts at `from` in both). False when the search ran out of budget.
bool KeepMiddleLines(std::string_view oldText, std::string_view newText, const std::vector<Line>& oldLines,
                     const std::vector<Line>& newLines, std::size_t from, std::size_t oldCount, std::size_t newCount,
                     std::vector<LinePair>& kept) {
    if (oldCount == 0 || newCount == 0) return true;
    LineNumbers numbers(oldCount + newCount);
    std::vector<std::uint32_t> oldNumbers(oldCount);
    std::vector<std::uint32_t> newNumbers(newCount);
    for (std::size_t i = 0; i < oldCount; ++i) oldNumbers[i] = numbers.of(TextOf(oldText, oldLines[from + i]));
    for (std::size_t i = 0; i < newCount; ++i) newNumbers[i] = numbers.of(TextOf(newText, newLines[from + i]));

    // A line only one text has is an edit in any script: the search runs
    // on the others, which is the same search made smaller.
    constexpr std::uint8_t kInOld = 1;
    constexpr std::uint8_t kInNew = 2;
    std::vector<std::uint8_t> where(numbers.count(), 0);
    for (const std::uint32_t number : oldNumbers) where[number] |= kInOld;
    for (const std::uint32_t number : newNumbers) where[number] |= kInNew;
    std::vector<std::uint32_t> oldShared;
    std::vector<std::uint32_t> newShared;
    std::vector<std::size_t> oldAt;
    std::vector<std::size_t> newAt;
    for (std::size_t i = 0; i < oldCount; ++i) {
        if (!(where[oldNumbers[i]] & kInNew)) continue;
        oldShared.push_back(oldNumbers[i]);
        oldAt.push_back(from + i);
    }
    for (std::size_t i = 0; i < newCount; ++i) {
        if (!(where[newNumbers[i]] & kInOld)) continue;
        newShared.push_back(newNumbers[i]);
        newAt.push_back(from + i);
    }
    if (oldShared.empty() || newShared.empty()) return true;

    SearchBudget budget;
    dtl::Diff<std::uint32_t, std::vector<std::uint32_t>, BudgetedEqual> search(oldShared, newShared,
                                                                               BudgetedEqual(budget));
    search.compose();
    if (budget.spent) return false;
    for (const auto& [number, step] : search.getSes().getSequence()) {
        if (step.type != dtl::SES_COMMON) continue;
        kept.emplace_back(oldAt[static_cast<std::size_t>(step.beforeIdx - 1)],
                          newAt[static_cast<std::size_t>(step.afterIdx - 1)]);
    }
    return true;
}

// The edits between consecutive kept lines.
std::vector<Edit> EditsBetween(const std::vector<LinePair>& kept, std::size_t oldSize, std::size_t newSize) {
    std::vector<Edit> edits;
    std::size_t oldNext = 0;
    std::size_t newNext = 0;
    const auto editUpTo = [&](std::size_t oldTo, std::size_t newTo) {
        if (oldTo > oldNext || newTo > newNext) edits.push_back({oldNext, oldTo - oldNext, newNext, newTo - newNext});
    };
    for (const auto& [oldLine, newLine] : kept) {
        editUpTo(oldLine, newLine);
        oldNext = oldLine + 1;
        newNext = newLine + 1;
    }
    editUpTo(oldSize, newSize);
    return edits;
}

// "A,B" as GNU diff writes a range: an empty range names the line before
// it, and a count of one is left out.
void AppendRange(std::string& out, std::size_t from, std::size_t count) {
    AppendDecimal(out, static_cast<std::int64_t>(count == 0 ? from : from + 1));
    if (count == 1) return;
    out += ',';
    AppendDecimal(out, static_cast<std::int64_t>(count));
}

void AppendLine(std::string& out, char mark, std::string_view line) {
    out += mark;
    out += line;
    if (line.back() != '\n') {
        out += '\n';
        out += kNoLineEnd;
    }
}

}  // namespace

LineDiffOutcome AppendHunks(std::string& out, std::string_view oldText, std::string_view newText,
                            LineDiffCounts& counts) {
    if (oldText.size() > kCompareTextLimit || newText.size() > kCompareTextLimit) return LineDiffOutcome::TooLong;
    if (oldText == newText) return LineDiffOutcome::Same;

    // The whole lines both texts start with...
    const std::size_t sameBytes =
        static_cast<std::size_t>(std::mismatch(oldText.begin(), oldText.end(), newText.begin(), newText.end()).first -
                                 oldText.begin());
    const std::size_t lastEnd = sameBytes == 0 ? std::string_view::npos : oldText.rfind('\n', sameBytes - 1);
    const std::size_t head = lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
    // ...and end with: equal bytes from where a line starts in both.
    const std::size_t most = std::min(oldText.size(), newText.size()) - head;
    std::size_t tail = 0;
    while (tail < most && oldText[oldText.size() - 1 - tail] == newText[newText.size() - 1 - tail]) ++tail;
    while (tail > 0 && !(StartsLine(oldText, oldText.size() - tail, head) &&
                         StartsLine(newText, newText.size() - tail, head))) {
        --tail;
    }
    const std::size_t oldTail = oldText.size() - tail;
    const std::size_t newTail = newText.size() - tail;
    const std::size_t oldMiddle = CountLines(oldText, head, oldTail);
    const std::size_t newMiddle = CountLines(newText, head, newTail);
    if (oldMiddle + newMiddle > kCompareLineLimit) return LineDiffOutcome::TooManyEdits;

    // The lines a hunk can show: the middle and up to three shared lines on
    // either side of it (the same bytes in both texts).
    const std::size_t shownFrom = StartOfLastLines(oldText, head, kContext);
    std::vector<Line> oldLines;
    AppendLines(oldText, shownFrom, head, oldLines);
    const std::size_t before = oldLines.size();
    std::vector<Line> newLines = oldLines;
    AppendLines(oldText, head, oldTail, oldLines);
    AppendLines(newText, head, newTail, newLines);
    AppendLines(oldText, oldTail, oldText.size(), oldLines, kContext);
    AppendLines(newText, newTail, newText.size(), newLines, kContext);
    const std::size_t after = oldLines.size() - before - oldMiddle;

    std::vector<LinePair> kept;
    for (std::size_t i = 0; i < before; ++i) kept.emplace_back(i, i);
    if (!KeepMiddleLines(oldText, newText, oldLines, newLines, before, oldMiddle, newMiddle, kept)) {
        return LineDiffOutcome::TooManyEdits;
    }
    for (std::size_t i = 0; i < after; ++i) kept.emplace_back(before + oldMiddle + i, before + newMiddle + i);
    const std::vector<Edit> edits = EditsBetween(kept, oldLines.size(), newLines.size());

    // Edits closer than twice the context share a hunk, as in GNU diff.
    const std::size_t firstLine = CountLineEnds(oldText, 0, shownFrom);
    for (std::size_t first = 0; first < edits.size();) {
        std::size_t last = first;
        while (last + 1 < edits.size() && edits[last + 1].oldFrom - edits[last].oldEnd() <= 2 * kContext) ++last;
        // The lines before the first edit and after the last are kept lines,
        // as many in the old text as in the new.
        const std::size_t lead = std::min(edits[first].oldFrom, kContext);
        const std::size_t trail = std::min(oldLines.size() - edits[last].oldEnd(), kContext);
        const std::size_t oldFrom = edits[first].oldFrom - lead;
        const std::size_t newFrom = edits[first].newFrom - lead;
        const std::size_t oldEnd = edits[last].oldEnd() + trail;
        out += "@@ -";
        AppendRange(out, firstLine + oldFrom, oldEnd - oldFrom);
        out += " +";
        AppendRange(out, firstLine + newFrom, edits[last].newEnd() + trail - newFrom);
        out += " @@\n";
        std::size_t line = oldFrom;
        for (std::size_t e = first; e <= last; ++e) {
            const Edit& edit = edits[e];
            for (; line < edit.oldFrom; ++line) AppendLine(out, ' ', TextOf(oldText, oldLines[line]));
            for (std::size_t i = 0; i < edit.oldCount; ++i) AppendLine(out, '-', TextOf(oldText, oldLines[edit.oldFrom + i]));
            for (std::size_t i = 0; i < edit.newCount; ++i) AppendLine(out, '+', TextOf(newText, newLines[edit.newFrom + i]));
            counts.removed += static_cast<std::int64_t>(edit.oldCount);
            counts.added += static_cast<std::int64_t>(edit.newCount);
            line = edit.oldEnd();
        }
        for (; line < oldEnd; ++line) AppendLine(out, ' ', TextOf(oldText, oldLines[line]));
        first = last + 1;
    }
    return LineDiffOutcome::Differ;
}

}  // namespace quorin
