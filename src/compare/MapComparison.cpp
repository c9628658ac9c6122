// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/MapComparison.h"

#include <unordered_map>

#include "base/LimitedText.h"
#include "base/TextFormat.h"
#include "compare/RecordText.h"

namespace quorin {

namespace {

template <typename Header>
std::vector<SharedText> NamesOf(const std::vector<Header>& cache) {
    std::vector<SharedText> names;
    names.reserve(cache.size());
    for (const Header& header : cache) names.push_back(header.Name);
    return names;
}

std::string_view NameAt(const MapContent& map, RecordKind kind, std::size_t position) {
    return kind == RecordKind::Script ? map.ScriptHeaderCache[position].Name.view()
                                      : map.GlobalHeaderCache[position].Name.view();
}

void AppendFileLine(std::string& out, std::string_view mark, std::string_view side, const RecordDifference& record,
                    bool present) {
    out += mark;
    if (present) {
        out += side;
        out += KindWord(record.kind);
        out += '/';
        AppendEscapedField(out, record.name);
    } else {
        out += "/dev/null";
    }
    out += '\n';
}

void AppendNotCompared(std::string& out, const RecordDifference& record) {
    out += KindWord(record.kind);
    out += ' ';
    AppendEscapedField(out, record.name);
    constexpr std::int64_t kMiB = 1024 * 1024;
    switch (record.notCompared) {
        case NotCompared::TooLong:
            out += ": not compared, its text is longer than ";
            AppendDecimal(out, static_cast<std::int64_t>(kCompareTextLimit) / kMiB);
            out += " MiB\n";
            break;
        case NotCompared::ReadLimit:
            out += ": not compared, the comparison had read ";
            AppendDecimal(out, kCompareReadLimit / kMiB);
            out += " MiB of texts before it\n";
            break;
        case NotCompared::No:
        case NotCompared::TooManyEdits: out += ": not compared, too many of its lines differ\n"; break;
    }
}

// One comparison: the texts of the record being compared (kept between
// records, so their memory is taken once) and its section.
class Comparison {
public:
    Comparison(const MapContent& oldMap, const MapContent& newMap, DifferenceSink& sink,
               const std::atomic<bool>* cancelled)
        : oldMap_(oldMap), newMap_(newMap), oldProducer_(RecordTextProducer(oldMap)),
          newProducer_(RecordTextProducer(newMap)), sink_(sink), cancelled_(cancelled),
          oldText_(kCompareTextLimit + 1, cancelled), newText_(kCompareTextLimit + 1, cancelled) {}

    // False once the sink or a cancel stopped it.
    bool compareAll(RecordKind kind, std::span<const SharedText> oldNames, std::span<const SharedText> newNames) {
        for (const RecordPair& pair : PairByName(oldNames, newNames)) {
            if (!compare(kind, pair)) {
                result_.complete = false;
                return false;
            }
        }
        return true;
    }

    const ComparisonResult& result() const { return result_; }

private:
    bool cancelled() const { return cancelled_ && cancelled_->load(std::memory_order_relaxed); }

    void write(LimitedText& text, const MapContent& map, const TextProducer& producer, RecordKind kind,
               std::optional<std::size_t> position) {
        if (!position) return;
        TextOutput out(text);
        WriteRecordText(out, map, producer, kind, *position);
        (void)out.flush();
    }

    bool compare(RecordKind kind, const RecordPair& pair) {
        // Past the read limit a record is listed unread: whether it differs
        // is not known.
        const bool readable = read_ < kCompareReadLimit;
        oldText_.clear();
        newText_.clear();
        if (readable) {
            write(oldText_, oldMap_, *oldProducer_, kind, pair.oldPosition);
            write(newText_, newMap_, *newProducer_, kind, pair.newPosition);
            read_ += static_cast<std::int64_t>(oldText_.text().size() + newText_.text().size());
        }
        if (cancelled()) return false;

        RecordDifference record;
        record.kind = kind;
        record.name = pair.oldPosition ? NameAt(oldMap_, kind, *pair.oldPosition)
                                       : NameAt(newMap_, kind, *pair.newPosition);
        record.change = !pair.oldPosition   ? RecordChange::Added
                        : !pair.newPosition ? RecordChange::Removed
                                            : RecordChange::Changed;
        hunks_.clear();
        record.notCompared = NotCompared::ReadLimit;
        if (readable) {
            switch (AppendHunks(hunks_, oldText_.text(), newText_.text(), record.lines)) {
                case LineDiffOutcome::Same: return true;
                case LineDiffOutcome::Differ: record.notCompared = NotCompared::No; break;
                case LineDiffOutcome::TooLong: record.notCompared = NotCompared::TooLong; break;
                case LineDiffOutcome::TooManyEdits: record.notCompared = NotCompared::TooManyEdits; break;
            }
        }
        section_.clear();
        if (record.notCompared == NotCompared::No) {
            AppendFileLine(section_, "--- ", "a/", record, pair.oldPosition.has_value());
            AppendFileLine(section_, "+++ ", "b/", record, pair.newPosition.has_value());
            section_ += hunks_;
        } else {
            AppendNotCompared(section_, record);
        }
        switch (record.change) {
            case RecordChange::Changed: ++result_.changed; break;
            case RecordChange::Added: ++result_.added; break;
            case RecordChange::Removed: ++result_.removed; break;
        }
        return sink_.take(record, section_);
    }

    const MapContent& oldMap_;
    const MapContent& newMap_;
    std::unique_ptr<TextProducer> oldProducer_;
    std::unique_ptr<TextProducer> newProducer_;
    DifferenceSink& sink_;
    const std::atomic<bool>* cancelled_;
    LimitedText oldText_;
    LimitedText newText_;
    std::string hunks_;
    std::string section_;
    std::int64_t read_ = 0;  // bytes of record texts read so far
    ComparisonResult result_;
};

}  // namespace

std::vector<RecordPair> PairByName(std::span<const SharedText> oldNames, std::span<const SharedText> newNames) {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // For each name, its first new record not paired yet; for each new
    // record, the next one of the same name.
    std::unordered_map<SharedText, std::size_t, SharedTextHash, SharedTextEqual> firstFree;
    std::vector<std::size_t> nextSame(newNames.size(), kNone);
    for (std::size_t i = newNames.size(); i-- > 0;) {
        const auto [entry, added] = firstFree.try_emplace(newNames[i], i);
        if (added) continue;
        nextSame[i] = entry->second;
        entry->second = i;
    }
    std::vector<bool> paired(newNames.size(), false);
    std::vector<RecordPair> pairs;
    pairs.reserve(oldNames.size() + newNames.size());
    for (std::size_t i = 0; i < oldNames.size(); ++i) {
        const auto entry = firstFree.find(oldNames[i]);
        if (entry == firstFree.end() || entry->second == kNone) {
            pairs.push_back({i, std::nullopt});
            continue;
        }
        const std::size_t partner = entry->second;
        entry->second = nextSame[partner];
        paired[partner] = true;
        pairs.push_back({i, partner});
    }
    for (std::size_t i = 0; i < newNames.size(); ++i) {
        if (!paired[i]) pairs.push_back({std::nullopt, i});
    }
    return pairs;
}

std::string_view KindWord(RecordKind kind) { return kind == RecordKind::Global ? "global" : "script"; }

std::string_view ChangeWord(RecordChange change) {
    switch (change) {
        case RecordChange::Changed: return "changed";
        case RecordChange::Added: return "added";
        case RecordChange::Removed: return "removed";
    }
    return "changed";
}

std::string ComparisonResult::message() const {
    std::string text;
    AppendDecimal(text, differing());
    text += " records differ: ";
    AppendDecimal(text, changed);
    text += " changed, ";
    AppendDecimal(text, added);
    text += " added, ";
    AppendDecimal(text, removed);
    text += " removed.";
    return text;
}

ComparisonResult CompareMaps(const MapContent& oldMap, const MapContent& newMap, DifferenceSink& sink,
                             const std::atomic<bool>* cancelled) {
    Comparison comparison(oldMap, newMap, sink, cancelled);
    if (comparison.compareAll(RecordKind::Script, NamesOf(oldMap.ScriptHeaderCache), NamesOf(newMap.ScriptHeaderCache))) {
        (void)comparison.compareAll(RecordKind::Global, NamesOf(oldMap.GlobalHeaderCache),
                                    NamesOf(newMap.GlobalHeaderCache));
    }
    return comparison.result();
}

}  // namespace quorin
