// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What each byte of a script's or global's text stands for. The text
// producer hands a text on as parts: fixed text (parentheses, spaces, line
// ends, the words "script" and "global") and tokens, each of which renders
// one field of one record or node. A reader that knows the part of a byte
// knows the field it came from, and through FieldOfPart where that field
// lies in the file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/FileLayout.h"
#include "map/MapState.h"

namespace quorin {

// The longest script or global text held whole: a walk can repeat the
// map's longest node text once per node, so a hostile map could otherwise
// ask for far more memory than it has bytes.
inline constexpr std::size_t kDecompiledTextLimit = 64 * 1024 * 1024;

enum class PartKind : std::uint8_t {
    Fixed,        // not a field: parentheses, spaces, line ends, "script", "global"
    ScriptType,   // a script entry's type, by name
    ReturnType,   // a script entry's return type, by name
    ScriptName,   // a script entry's name
    GlobalType,   // a global entry's type, by name
    GlobalName,   // a global entry's name
    NodeText,     // a node's text from the string table (also the child line's command)
    NodeNumber,   // a node's value as a number
    NodeTruth,    // a node's value as "true" or "false"
    GlobalValue,  // a global's value node's value: a number, or a truth word for a boolean global
};

// True for every kind but Fixed.
[[nodiscard]] constexpr bool IsToken(PartKind kind) { return kind != PartKind::Fixed; }

// One part of a text held whole (see PartedText).
struct TextPart {
    PartKind kind = PartKind::Fixed;
    // A token's record or node: the script's or global's cache position for
    // the header kinds, the node's cache position for the node kinds and a
    // global's value. 0 for fixed text. A node can give two tokens in one
    // text: the child line and the walk can both pass through it.
    std::size_t position = 0;
    // The part's bytes in the text.
    std::size_t from = 0;
    std::size_t size = 0;

    bool operator==(const TextPart&) const = default;
};

// Takes a text part by part, in order. bytes are valid during the call only.
class PartSink {
public:
    virtual ~PartSink() = default;
    virtual void take(PartKind kind, std::string_view bytes, std::size_t position) = 0;
    // True once the sink wants no more; the producer then ends early.
    [[nodiscard]] virtual bool stopped() const { return false; }
};

// A text held whole with its parts. Fixed bytes that follow each other make
// one part; a token is always a part of its own. The text is cut after
// `most` bytes (a cut token keeps what fits), so a hostile map cannot make
// it hold more than that.
class PartedText final : public PartSink {
public:
    explicit PartedText(std::size_t most = kDecompiledTextLimit) : most_(most) {}

    void take(PartKind kind, std::string_view bytes, std::size_t position) override;
    [[nodiscard]] bool stopped() const override { return text_.size() >= most_; }

    [[nodiscard]] const std::string& text() const { return text_; }
    [[nodiscard]] const std::vector<TextPart>& parts() const { return parts_; }
    [[nodiscard]] std::string_view bytesOf(const TextPart& part) const {
        return std::string_view(text_).substr(part.from, part.size);
    }

private:
    std::size_t most_;
    std::string text_;
    std::vector<TextPart> parts_;
};

// Where the field a token renders lies in the file: the file offset of its
// first byte (its record's or node's offset plus the field's) and the
// field as the layout describes it (width, sign, kind). Nothing for fixed
// text. The part's position must lie in the cache its kind names.
struct PartField {
    std::int64_t offset = 0;
    layout::Field field{};
};
[[nodiscard]] std::optional<PartField> FieldOfPart(const MapContent& map, const TextPart& part);

}  // namespace quorin
