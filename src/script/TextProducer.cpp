// SPDX-License-Identifier: GPL-3.0-or-later
#include "script/TextProducer.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <type_traits>
#include <vector>

#include "map/FileLayout.h"
#include "map/TypeTables.h"

namespace quorin {

namespace {

using layout::kFalse;
using layout::kNoLink;
using layout::kTrue;
constexpr std::int32_t kGroupOpener = layout::expType::kGroup;
constexpr std::int32_t kCloser = layout::expType::kCommand;  // closes groups after it
constexpr std::int32_t kTextNode = layout::expType::kVariable;
constexpr std::int32_t kPrintedAsText = layout::kTextEngineIdentity;
constexpr std::int32_t kBoolean = layout::valueType::kBoolean;

// Node texts up to this long are copied into the rendered buffer, so it
// stays within a small multiple of the node count.
constexpr std::size_t kLongestCopiedText = 64;

bool IsNumber(std::int32_t valueType) {
    return valueType == layout::valueType::kReal || valueType == layout::valueType::kShort ||
           valueType == layout::valueType::kLong;
}

bool PrintsText(const Syntax& node, NodeTextRules rules) {
    switch (rules) {
    case NodeTextRules::SelectionDisplay:
        return node.EngineIdentity == kPrintedAsText || node.ExpType == kTextNode;
    case NodeTextRules::ExtractAll:
        return node.EngineIdentity == kPrintedAsText;
    case NodeTextRules::RangeExtraction:
        return false;
    }
    return false;
}

// Whether a node's text under rules is a space and its text, rather than
// "(" or its value.
bool TextIsCommand(const Syntax& node, NodeTextRules rules) {
    if (PrintsText(node, rules)) return true;
    if (node.ExpType == kGroupOpener || IsNumber(node.ValueType)) return false;
    return !(node.ValueType == kBoolean && (node.ScriptValue == kTrue || node.ScriptValue == kFalse));
}

std::string_view TruthWord(std::int32_t value) { return value == kTrue ? "true" : "false"; }

// The readers the producer serves, behind one face: fixed bytes, tokens
// (each with its kind and its record's or node's position) and numbers.

// The bytes alone, made (TextOutput) or counted (TextCount).
template <typename Text>
class Bytes {
public:
    explicit Bytes(Text& text) : text_(text) {}
    void fixed(std::string_view bytes) { text_ += bytes; }
    void fixed(char byte) { text_ += byte; }
    void token(PartKind, std::string_view bytes, std::size_t) { text_ += bytes; }
    void number(PartKind, std::int64_t value, std::size_t) { text_.appendDecimal(value); }
    [[nodiscard]] bool stopped() const { return text_.stopped(); }
    Text& text() { return text_; }

private:
    Text& text_;
};

class Parts {
public:
    explicit Parts(PartSink& sink) : sink_(sink) {}
    void fixed(std::string_view bytes) { sink_.take(PartKind::Fixed, bytes, 0); }
    void fixed(char byte) { sink_.take(PartKind::Fixed, std::string_view(&byte, 1), 0); }
    void token(PartKind kind, std::string_view bytes, std::size_t position) { sink_.take(kind, bytes, position); }
    void number(PartKind kind, std::int64_t value, std::size_t position) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        sink_.take(kind, std::string_view(digits, static_cast<std::size_t>(end - digits)), position);
    }
    [[nodiscard]] bool stopped() const { return sink_.stopped(); }

private:
    PartSink& sink_;
};

}  // namespace

// Every node's text and closer, made once by the same rules as any walk.
// Node p's bytes are bytes[at[p], at[p + 1]); a node whose text is long has
// it left out, and a LongText says where in those bytes the node's text
// goes (a walk hands it on from the map's buffer).
struct TextProducer::RenderedNodes {
    struct LongText {
        std::size_t node = 0;
        std::size_t at = 0;
    };
    std::string bytes;
    std::vector<std::size_t> at;
    std::vector<LongText> longTexts;  // in node order
    // The bytes the nodes before position p add to a walk, long texts included.
    std::vector<std::int64_t> walkedBefore;

    // Takes the node renderer's output: the bytes, with long node texts marked.
    class Builder {
    public:
        explicit Builder(RenderedNodes& nodes) : nodes_(nodes) {}
        void fixed(std::string_view bytes) { nodes_.bytes += bytes; }
        void fixed(char byte) { nodes_.bytes += byte; }
        void token(PartKind kind, std::string_view bytes, std::size_t position) {
            if (kind == PartKind::NodeText && bytes.size() > kLongestCopiedText) {
                nodes_.longTexts.push_back({position, nodes_.bytes.size()});
                longBytes_ += static_cast<std::int64_t>(bytes.size());
            } else {
                nodes_.bytes += bytes;
            }
        }
        void number(PartKind, std::int64_t value, std::size_t) { AppendDecimal(nodes_.bytes, value); }
        [[nodiscard]] bool stopped() const { return false; }
        [[nodiscard]] std::int64_t longBytes() const { return longBytes_; }

    private:
        RenderedNodes& nodes_;
        std::int64_t longBytes_ = 0;
    };

    // The walk first .. root - 1 (first < root): runs of the buffer, and the
    // long texts from the map between them.
    void write(Bytes<TextOutput>& out, const MapContent& map, std::size_t first, std::size_t root) const {
        const std::string_view all = bytes;
        auto next = std::lower_bound(longTexts.begin(), longTexts.end(), first,
                                     [](const LongText& text, std::size_t p) { return text.node < p; });
        std::size_t from = at[first];
        for (; next != longTexts.end() && next->node < root && !out.stopped(); ++next) {
            out.fixed(all.substr(from, next->at - from));
            out.fixed(map.SyntaxCache[next->node].Command.view());
            from = next->at;
        }
        out.fixed(all.substr(from, at[root] - from));
    }
    void write(Bytes<TextCount>& out, const MapContent&, std::size_t first, std::size_t root) const {
        out.text().add(static_cast<std::uint64_t>(walkedBefore[root] - walkedBefore[first]));
    }
};

std::optional<ScriptWalk> WalkOf(const MapContent& map, const ScriptHeader& script) {
    if (map.SyntaxCache.empty()) return std::nullopt;
    ScriptWalk walk;
    walk.root = map.syntaxPositionOr0(script.ExpPointer);
    walk.child = map.syntaxPositionOr0(map.SyntaxCache[walk.root].KidExpPointer);
    walk.childLine = map.SyntaxCache[walk.child].ExpType == kCloser;
    walk.first = map.syntaxPositionOr0(map.SyntaxCache[walk.child].SibExpPointer);
    return walk;
}


template <typename Out>
void TextProducer::writeNode(Out& out, std::size_t position) const {
    const Syntax& node = map_.SyntaxCache[position];
    if (TextIsCommand(node, rules_)) {
        out.fixed(' ');
        out.token(PartKind::NodeText, node.Command.view(), position);
    } else if (node.ExpType == kGroupOpener) {
        out.fixed('(');
    } else if (IsNumber(node.ValueType)) {
        out.fixed(' ');
        out.number(PartKind::NodeNumber, node.ScriptValue, position);
    } else {
        out.fixed(' ');
        out.token(PartKind::NodeTruth, TruthWord(node.ScriptValue), position);
    }
    // At most one closer, and only after a node of expression type 9.
    if (node.ExpType != kCloser) return;
    const bool noKid = node.KidExpPointer == kNoLink;
    const bool noSibling = node.SibExpPointer == kNoLink;
    if (noKid && noSibling) {
        out.fixed("))");
        out.fixed(kLineEnd);
    } else if (noSibling) {
        out.fixed(')');
        out.fixed(kLineEnd);
    } else if (noKid) {
        out.fixed(')');
    }
}

TextProducer::TextProducer(const MapContent& map, NodeTextRules rules, Walks walks) : map_(map), rules_(rules) {
    if (walks != Walks::RenderedOnce) return;
    auto rendered = std::make_unique<RenderedNodes>();
    const std::size_t count = map.SyntaxCache.size();
    rendered->at.reserve(count + 1);
    rendered->walkedBefore.reserve(count + 1);
    RenderedNodes::Builder builder(*rendered);
    for (std::size_t p = 0; p < count; ++p) {
        rendered->at.push_back(rendered->bytes.size());
        rendered->walkedBefore.push_back(static_cast<std::int64_t>(rendered->bytes.size()) + builder.longBytes());
        writeNode(builder, p);
    }
    rendered->at.push_back(rendered->bytes.size());
    rendered->walkedBefore.push_back(static_cast<std::int64_t>(rendered->bytes.size()) + builder.longBytes());
    rendered_ = std::move(rendered);
}

TextProducer::~TextProducer() = default;

template <typename Out>
void TextProducer::writeWalk(Out& out, std::size_t first, std::size_t root) const {
    if (first >= root) return;
    if constexpr (std::is_same_v<Out, Bytes<TextOutput>> || std::is_same_v<Out, Bytes<TextCount>>) {
        if (rendered_) {
            rendered_->write(out, map_, first, root);
            return;
        }
    }
    for (std::size_t p = first; p < root && !out.stopped(); ++p) writeNode(out, p);
}

template <typename Out>
std::int64_t TextProducer::writeScript(Out& out, const ScriptHeader& script, std::size_t position) const {
    const bool block = rules_ != NodeTextRules::SelectionDisplay;
    out.fixed("(script ");
    out.token(PartKind::ScriptType, ScriptTypeName(script.Type), position);
    out.fixed(' ');
    if (layout::ScriptTypeReturnsValue(script.Type)) {
        out.token(PartKind::ReturnType, ValueTypeName(script.ReturnType), position);
        out.fixed(' ');
    }
    out.token(PartKind::ScriptName, script.Name.view(), position);
    if (block) out.fixed(')');
    std::int64_t walked = 0;
    if (const auto walk = WalkOf(map_, script)) {
        if (walk->childLine) {
            out.fixed(kLineEnd);
            out.fixed('(');
            out.token(PartKind::NodeText, map_.SyntaxCache[walk->child].Command.view(), walk->child);
            out.fixed(kLineEnd);
        }
        writeWalk(out, walk->first, walk->root);
        walked = static_cast<std::int64_t>(walk->walked());
    }
    out.fixed("))");
    if (block) {
        out.fixed(kLineEnd);
        out.fixed(kLineEnd);
    }
    return walked;
}

template <typename Out>
void TextProducer::writeGlobal(Out& out, const GlobalHeader& global, std::size_t position) const {
    out.fixed("(global ");
    out.token(PartKind::GlobalType, ValueTypeName(global.Type), position);
    out.fixed(' ');
    out.token(PartKind::GlobalName, global.Name.view(), position);
    if (!map_.SyntaxCache.empty()) {
        const std::size_t at = map_.syntaxPositionOr0(global.ExpPointer);
        const std::int32_t value = map_.SyntaxCache[at].ScriptValue;
        out.fixed(' ');
        // Any value but true is false here, unlike a node of the walk.
        if (global.Type == kBoolean) out.token(PartKind::GlobalValue, TruthWord(value), at);
        else out.number(PartKind::GlobalValue, value, at);
    }
    out.fixed(')');
    if (rules_ != NodeTextRules::SelectionDisplay) out.fixed(kLineEnd);
}

// Bytes have no use for where a token came from: their header tokens carry
// no position.
std::int64_t TextProducer::script(TextOutput& out, const ScriptHeader& script) const {
    Bytes<TextOutput> bytes(out);
    return writeScript(bytes, script, 0);
}

std::int64_t TextProducer::script(TextCount& out, const ScriptHeader& script) const {
    Bytes<TextCount> bytes(out);
    return writeScript(bytes, script, 0);
}

std::int64_t TextProducer::script(PartSink& out, std::size_t position) const {
    Parts parts(out);
    return writeScript(parts, map_.ScriptHeaderCache[position], position);
}

void TextProducer::global(TextOutput& out, const GlobalHeader& global) const {
    Bytes<TextOutput> bytes(out);
    writeGlobal(bytes, global, 0);
}

void TextProducer::global(TextCount& out, const GlobalHeader& global) const {
    Bytes<TextCount> bytes(out);
    writeGlobal(bytes, global, 0);
}

void TextProducer::global(PartSink& out, std::size_t position) const {
    Parts parts(out);
    writeGlobal(parts, map_.GlobalHeaderCache[position], position);
}

void TextProducer::node(PartSink& out, std::size_t position) const {
    Parts parts(out);
    writeNode(parts, position);
}

}  // namespace quorin
