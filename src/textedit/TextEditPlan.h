// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Editing a script's or global's text: an edited text is read against the
// record's parts (see TextParts.h), and every token it changes becomes the
// write of the one field that token renders. Only values change, never the
// shape: fixed text must stay as it was, and a token must fit its kind. The
// plan says what would be written, or why nothing may be; carrying it out
// is TextEditApply's.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/WriteStep.h"
#include "map/MapState.h"
#include "map/Records.h"
#include "script/TextParts.h"

namespace quorin {

// The record whose text is edited: a script or a global, by cache position.
struct TextRecord {
    RecordKind kind = RecordKind::Script;  // Script or Global
    std::size_t position = 0;

    bool operator==(const TextRecord&) const = default;
};

// Whether the record lies in its cache (a node is no text record).
[[nodiscard]] bool HasTextRecord(const MapContent& map, TextRecord record);

// The record's text as the main window and `quorin-cli script|global` show
// it, with its parts; cut after `most` bytes. The record must exist.
[[nodiscard]] PartedText RecordText(const MapContent& map, TextRecord record,
                                    std::size_t most = kDecompiledTextLimit);
// A text cut at its limit leaves out tokens, so it cannot be edited.
[[nodiscard]] inline bool IsCut(const PartedText& text, std::size_t most = kDecompiledTextLimit) {
    return text.text().size() >= most;
}

// What a token or a stretch of an edited text cannot be, and where: a byte
// offset into the edited text, and the part it stands for when it is a token.
struct Refusal {
    std::size_t at = 0;
    std::optional<std::size_t> part;
    std::string message;

    bool operator==(const Refusal&) const = default;
};

// A token of an edited text: the part of the record's text it stands for,
// where it starts in the edited text and its bytes there.
struct EditedToken {
    std::size_t part = 0;
    std::size_t at = 0;
    std::string text;
};

// The tokens of an edited file, one per token part in order, or the first
// place where the file leaves the record's shape. One final line end may
// follow the text. Type tokens are read as the longest name of their table
// found there (or their old text, when a code has no name); every other
// token as the bytes up to the next space, parenthesis or line end, so a
// token whose old text holds one of those can only stay as it was.
struct ReadTokens {
    std::vector<EditedToken> tokens;
    std::optional<Refusal> refusal;
};
[[nodiscard]] ReadTokens ReadEditedText(const PartedText& text, std::string_view edited);

// One field an edit writes: the bytes at a file offset, what it changes in
// words (the dry-run line after the offset), and the record fields that
// follow it.
struct PlannedWrite {
    std::int64_t offset = 0;
    std::string bytes;
    std::string what;
    std::vector<RecordChange> changes;
};

// The writes of an edit in the order their tokens stand, or its refusals
// (then nothing may be written).
struct TextPlan {
    TextRecord record;
    std::vector<PlannedWrite> writes;
    std::vector<Refusal> refusals;

    [[nodiscard]] bool refused() const { return !refusals.empty(); }
};

// Plans the writes of tokens (one per token part of text, in order: what
// ReadEditedText gives, or the window's own token spans). text must be the
// record's text as the map holds it now. A field is written only when its
// token asks for a value it does not already show.
[[nodiscard]] TextPlan PlanTextEdit(const MapContent& map, TextRecord record, const PartedText& text,
                                    const std::vector<EditedToken>& tokens);

// The whole path for an edited file: the record's text, its tokens read
// from edited, and the plan.
[[nodiscard]] TextPlan PlanEditedFile(const MapContent& map, TextRecord record, std::string_view edited);

// "0x" and the offset in lowercase hexadecimal digits, a tab, then what.
[[nodiscard]] std::string DryRunLine(const PlannedWrite& write);

// The 1-based line and column (in bytes) of a byte of text.
struct TextPlace {
    std::size_t line = 1;
    std::size_t column = 1;
};
// Finds the places of bytes asked for in the order of the text, each from
// the one before, so a text refused at many places is read once.
class PlaceFinder {
public:
    explicit PlaceFinder(std::string_view text) : text_(text) {}
    // at must not lie before the byte asked for last.
    [[nodiscard]] TextPlace placeOf(std::size_t at);

private:
    std::string_view text_;
    std::size_t placed_ = 0;
    TextPlace place_;
};

// The cache a token's position lies in: the script's, the global's or the
// node's (a node's text, number or truth word, and a global's value).
[[nodiscard]] RecordKind RecordKindOf(PartKind kind);

// How a token's kind is named in messages and documents ("node text"), and
// the record field it writes as `quorin-cli set` names it ("ScriptValue").
[[nodiscard]] std::string_view PartKindName(PartKind kind);
[[nodiscard]] std::string_view PartFieldName(PartKind kind);

}  // namespace quorin
