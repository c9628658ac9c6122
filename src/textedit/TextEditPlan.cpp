// SPDX-License-Identifier: GPL-3.0-or-later
#include "textedit/TextEditPlan.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <span>
#include <tuple>
#include <unordered_map>

#include "base/TextFormat.h"
#include "map/FileLayout.h"
#include "map/TypeTables.h"
#include "script/Decompiler.h"

namespace quorin {

namespace {

// What ends a token read from a file: a space, a parenthesis or a line end.
constexpr std::string_view kTokenEnds = " ()\n";
// The most of a fixed text a refusal quotes.
constexpr std::size_t kQuotedFixedText = 24;

std::string Quoted(std::string_view text) { return "\"" + VisibleText(text) + "\""; }

bool IsTypeKind(PartKind kind) {
    return kind == PartKind::ScriptType || kind == PartKind::ReturnType || kind == PartKind::GlobalType;
}

std::span<const std::string_view> TableOf(PartKind kind) {
    if (kind == PartKind::ScriptType) return kScriptTypeNames;
    return kValueTypeNames;
}

// The longest name of table that text starts with.
std::optional<std::string_view> LongestNameAt(std::span<const std::string_view> table, std::string_view text) {
    std::optional<std::string_view> longest;
    for (std::string_view name : table) {
        if (text.starts_with(name) && (!longest || name.size() > longest->size())) longest = name;
    }
    return longest;
}

std::optional<std::int32_t> CodeOf(std::span<const std::string_view> table, std::string_view name) {
    const auto found = std::find(table.begin(), table.end(), name);
    if (found == table.end()) return std::nullopt;
    return static_cast<std::int32_t>(found - table.begin());
}

// A decimal number of the 2-byte value field: a sign, then digits.
std::optional<std::int32_t> ShortNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    std::int64_t value = 0;
    for (const char digit : text) {
        value = value * 10 + (digit - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 32767) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> TruthValue(std::string_view text) {
    if (text == "true") return layout::kTrue;
    if (text == "false") return layout::kFalse;
    return std::nullopt;
}

// How a value field shows under the truth words: anything but true is false.
std::string_view TruthWord(std::int32_t value) { return value == layout::kTrue ? "true" : "false"; }
// A value in words where it becomes a truth word: true, false, or the number it was.
std::string TruthOrNumber(std::int32_t value) {
    if (value == layout::kTrue || value == layout::kFalse) return std::string(TruthWord(value));
    return Decimal(value);
}

std::string LittleEndian(std::int32_t value, int width) {
    std::string bytes(static_cast<std::size_t>(width), '\0');
    for (int i = 0; i < width; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string NameField(std::string_view name) {
    std::string field(static_cast<std::size_t>(layout::kNameFieldSize), '\0');
    field.replace(0, name.size(), name);
    return field;
}

RecordChange Change(RecordMember member, std::size_t position, RecordValue before, RecordValue after,
                    bool addsDictionaryEntry = false) {
    return {member, position, std::move(before), std::move(after), addsDictionaryEntry, std::nullopt};
}

// A field of a record or node, so that two tokens of one node can be told
// to ask for the same field.
struct FieldKey {
    RecordKind kind;
    std::size_t position;
    std::int32_t field;
    auto operator<=>(const FieldKey&) const = default;
};

class Planner {
public:
    Planner(const MapContent& map, TextRecord record, const PartedText& text)
        : map_(map), record_(record), text_(text) {
        plan_.record = record;
        if (record.kind == RecordKind::Global) globalType_ = map.GlobalHeaderCache[record.position].Type;
    }

    void take(const EditedToken& token) {
        const TextPart& part = text_.parts()[token.part];
        switch (part.kind) {
        case PartKind::ScriptType:
            typeName(token, part, &ScriptHeader::Type, map_.ScriptHeaderCache[part.position].Type);
            break;
        case PartKind::ReturnType:
            typeName(token, part, &ScriptHeader::ReturnType, map_.ScriptHeaderCache[part.position].ReturnType);
            break;
        case PartKind::GlobalType:
            typeName(token, part, &GlobalHeader::Type, map_.GlobalHeaderCache[part.position].Type);
            break;
        case PartKind::ScriptName: name(token, part, &ScriptHeader::Name, map_.ScriptHeaderCache[part.position].Name); break;
        case PartKind::GlobalName: name(token, part, &GlobalHeader::Name, map_.GlobalHeaderCache[part.position].Name); break;
        case PartKind::NodeText: nodeText(token, part); break;
        case PartKind::NodeNumber: number(token, part, "value"); break;
        case PartKind::NodeTruth: truth(token, part, "value"); break;
        case PartKind::GlobalValue:
            if (globalType_ == layout::valueType::kBoolean) truth(token, part, globalValueField(part));
            else number(token, part, globalValueField(part));
            break;
        case PartKind::Fixed: break;
        }
    }

    TextPlan take() { return std::move(plan_); }

private:
    void refuse(const EditedToken& token, std::string message) {
        plan_.refusals.push_back({token.at, token.part, std::move(message)});
    }

    std::string label() const {
        if (record_.kind == RecordKind::Script) {
            return "script " + Quoted(map_.ScriptHeaderCache[record_.position].Name);
        }
        return "global " + Quoted(map_.GlobalHeaderCache[record_.position].Name);
    }
    std::string nodeLabel(std::size_t position) const {
        return "node " + Decimal(map_.SyntaxCache[position].ExpIdentity);
    }
    std::string globalValueField(const TextPart& part) const {
        return "value (" + nodeLabel(part.position) + ")";
    }

    // Notes what a token asks of its field. False when the same field was
    // asked for another value earlier in the text (a node on the child line
    // and in the walk), which refuses the token; also false for a second
    // token asking the same, which has nothing more to write.
    bool ask(const EditedToken& token, const TextPart& part, const std::string& asked) {
        const auto field = FieldOfPart(map_, part);
        const auto [earlier, first] =
            asked_.try_emplace(FieldKey{RecordKindOf(part.kind), part.position, field->field.offset}, asked);
        if (first) return true;
        if (earlier->second != asked) {
            refuse(token, nodeLabel(part.position) + " appears twice in this text, and its two " +
                              std::string(PartKindName(part.kind)) + "s ask for different values: " +
                              Quoted(earlier->second) + " before, " + Quoted(asked) + " here");
        }
        return false;
    }

    void write(const TextPart& part, std::string bytes, std::string what, std::vector<RecordChange> changes) {
        plan_.writes.push_back({FieldOfPart(map_, part)->offset, std::move(bytes), std::move(what), std::move(changes)});
    }

    // A script type, a return type or a global type, by its table's name.
    template <typename Record>
    void typeName(const EditedToken& token, const TextPart& part, std::int32_t Record::*member, std::int32_t now) {
        const bool scriptType = part.kind == PartKind::ScriptType;
        const std::string old = scriptType ? ScriptTypeName(now) : ValueTypeName(now);
        if (token.text == old) {
            ask(token, part, token.text);
            return;
        }
        const auto code = CodeOf(TableOf(part.kind), token.text);
        if (!code) {
            refuse(token, Quoted(token.text) + (scriptType ? " is not a script type: startup, dormant, continuous, static or stub"
                                                           : " is not a value type name"));
            return;
        }
        if (scriptType && layout::ScriptTypeReturnsValue(*code) != layout::ScriptTypeReturnsValue(now)) {
            refuse(token, "a " + old + " script cannot become " + token.text + ": that would " +
                              (layout::ScriptTypeReturnsValue(*code) ? "add" : "drop") +
                              " the return type (a script type changes within startup and continuous, or within "
                              "dormant, static and stub)");
            return;
        }
        if (!ask(token, part, token.text)) return;
        if (part.kind == PartKind::GlobalType) globalType_ = *code;
        write(part, LittleEndian(*code, 2),
              label() + " " + std::string(PartFieldName(part.kind)) + ": " + old + " -> " + token.text,
              {Change(member, part.position, now, *code)});
    }

    template <typename Record>
    void name(const EditedToken& token, const TextPart& part, SharedText Record::*member, const SharedText& now) {
        if (token.text == now.view()) {
            ask(token, part, token.text);
            return;
        }
        if (token.text.size() > static_cast<std::size_t>(layout::kLongestName)) {
            refuse(token, "the name " + Quoted(token.text) + " has " + Decimal(static_cast<std::int64_t>(token.text.size())) +
                              " bytes, but a name holds at most " + Decimal(layout::kLongestName));
            return;
        }
        if (const std::size_t at = FindControlByte(token.text); at != std::string::npos) {
            refuse(token, "the name " + Quoted(token.text) + " holds the control byte " +
                              EscapedByte(static_cast<unsigned char>(token.text[at])) +
                              "; a name takes printable characters only");
            return;
        }
        if (!ask(token, part, token.text)) return;
        write(part, NameField(token.text), label() + " Name: " + Quoted(now) + " -> " + Quoted(token.text),
              {Change(member, part.position, now, SharedText(token.text), true)});
    }

    void nodeText(const EditedToken& token, const TextPart& part) {
        const Syntax& node = map_.SyntaxCache[part.position];
        if (token.text == node.Command.view()) {
            ask(token, part, token.text);
            return;
        }
        const auto source = nodeWithText(token.text);
        if (!source) {
            refuse(token, "no node of the map has the text " + Quoted(token.text) +
                              " (an edit points a node at a text the map holds; it never adds one)");
            return;
        }
        if (!ask(token, part, token.text)) return;
        const Syntax& from = map_.SyntaxCache[*source];
        write(part, LittleEndian(storedOffset(from), 4),
              nodeLabel(part.position) + " text: " + Quoted(node.Command) + " -> " + Quoted(token.text),
              {Change(&Syntax::ScriptTableOffset, part.position, node.ScriptTableOffset, from.ScriptTableOffset),
               Change(&Syntax::Command, part.position, node.Command, from.Command)});
    }

    void number(const EditedToken& token, const TextPart& part, const std::string& field) {
        const Syntax& node = map_.SyntaxCache[part.position];
        const auto value = ShortNumber(token.text);
        if (!value) {
            refuse(token, Quoted(token.text) + " is not a number from -32768 to 32767");
            return;
        }
        if (!ask(token, part, Decimal(*value)) || *value == node.ScriptValue) return;
        write(part, LittleEndian(*value, 2),
              (part.kind == PartKind::GlobalValue ? label() : nodeLabel(part.position)) + " " + field + ": " +
                  Decimal(node.ScriptValue) + " -> " + Decimal(*value),
              {Change(&Syntax::ScriptValue, part.position, node.ScriptValue, *value)});
    }

    void truth(const EditedToken& token, const TextPart& part, const std::string& field) {
        const Syntax& node = map_.SyntaxCache[part.position];
        const auto value = TruthValue(token.text);
        if (!value) {
            refuse(token, Quoted(token.text) + " is not a truth word: true or false");
            return;
        }
        // A field that already shows the word keeps its value, whatever it is.
        if (!ask(token, part, token.text) || token.text == TruthWord(node.ScriptValue)) return;
        write(part, LittleEndian(*value, 2),
              (part.kind == PartKind::GlobalValue ? label() : nodeLabel(part.position)) + " " + field + ": " +
                  TruthOrNumber(node.ScriptValue) + " -> " + token.text,
              {Change(&Syntax::ScriptValue, part.position, node.ScriptValue, *value)});
    }

    // The stored string offset (relative to the string table, 32-bit arithmetic).
    std::int32_t storedOffset(const Syntax& node) const {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(node.ScriptTableOffset) -
                                         static_cast<std::uint32_t>(map_.ScriptTableOuter));
    }

    // The node whose text is text with the smallest stored offset; built
    // once, at the first node text that changes.
    std::optional<std::size_t> nodeWithText(std::string_view text) {
        if (!byText_) {
            byText_.emplace();
            byText_->reserve(map_.SyntaxCache.size());
            for (std::size_t p = 0; p < map_.SyntaxCache.size(); ++p) {
                const auto [at, added] = byText_->try_emplace(map_.SyntaxCache[p].Command.view(), p);
                if (!added && storedOffset(map_.SyntaxCache[p]) < storedOffset(map_.SyntaxCache[at->second])) {
                    at->second = p;
                }
            }
        }
        const auto found = byText_->find(text);
        if (found == byText_->end()) return std::nullopt;
        return found->second;
    }

    const MapContent& map_;
    TextRecord record_;
    const PartedText& text_;
    TextPlan plan_;
    std::int32_t globalType_ = 0;  // a global's type as its edited text gives it
    std::map<FieldKey, std::string> asked_;
    std::optional<std::unordered_map<std::string_view, std::size_t>> byText_;
};

}  // namespace

bool HasTextRecord(const MapContent& map, TextRecord record) {
    switch (record.kind) {
    case RecordKind::Script: return record.position < map.ScriptHeaderCache.size();
    case RecordKind::Global: return record.position < map.GlobalHeaderCache.size();
    case RecordKind::Syntax: break;
    }
    return false;
}

PartedText RecordText(const MapContent& map, TextRecord record, std::size_t most) {
    if (record.kind == RecordKind::Global) return GlobalTextParts(map, record.position, most);
    return ScriptTextParts(map, record.position, most);
}

ReadTokens ReadEditedText(const PartedText& text, std::string_view edited) {
    ReadTokens read;
    const std::string& shown = text.text();
    if (edited.ends_with('\n') && !std::string_view(shown).ends_with('\n')) edited.remove_suffix(1);
    std::size_t at = 0;
    for (std::size_t index = 0; index < text.parts().size(); ++index) {
        const TextPart& part = text.parts()[index];
        const std::string_view old = text.bytesOf(part);
        const std::string_view rest = edited.substr(at);
        if (!IsToken(part.kind)) {
            const auto differs = std::mismatch(old.begin(), old.end(), rest.begin(), rest.end()).first;
            if (differs != old.end()) {
                const auto same = static_cast<std::size_t>(differs - old.begin());
                std::string_view expected = old.substr(same);
                const bool shortened = expected.size() > kQuotedFixedText;
                expected = expected.substr(0, kQuotedFixedText);
                read.refusal = Refusal{at + same, std::nullopt,
                                       "fixed text changed: expected " + Quoted(expected) + (shortened ? "..." : "") +
                                           " here; only names, types, numbers, truth words and node texts change"};
                return read;
            }
            at += old.size();
            continue;
        }
        std::string_view token;
        if (IsTypeKind(part.kind)) {
            if (const auto name = LongestNameAt(TableOf(part.kind), rest)) token = *name;
            else if (rest.starts_with(old)) token = old;  // a code with no name, as it was
            else token = rest.substr(0, rest.find_first_of(kTokenEnds));
        } else if (old.find_first_of(kTokenEnds) != std::string_view::npos) {
            if (!rest.starts_with(old)) {
                read.refusal = Refusal{at, index,
                                       "this " + std::string(PartKindName(part.kind)) + ", " + Quoted(old) +
                                           ", holds a space, a parenthesis or a line end, so a file can only leave "
                                           "it as it was (the editor window can change it)"};
                return read;
            }
            token = old;
        } else {
            token = rest.substr(0, rest.find_first_of(kTokenEnds));
        }
        read.tokens.push_back({index, at, std::string(token)});
        at += token.size();
    }
    if (at < edited.size()) {
        read.refusal = Refusal{at, std::nullopt, "the text goes on after the end of the record's text"};
    }
    return read;
}

TextPlan PlanTextEdit(const MapContent& map, TextRecord record, const PartedText& text,
                      const std::vector<EditedToken>& tokens) {
    Planner planner(map, record, text);
    for (const EditedToken& token : tokens) {
        if (token.part < text.parts().size() && IsToken(text.parts()[token.part].kind)) planner.take(token);
    }
    return planner.take();
}

TextPlan PlanEditedFile(const MapContent& map, TextRecord record, std::string_view edited) {
    TextPlan plan;
    plan.record = record;
    const PartedText text = RecordText(map, record);
    if (IsCut(text)) {
        plan.refusals.push_back({0, std::nullopt,
                                 "the record's text is longer than " + Decimal(kDecompiledTextLimit) +
                                     " bytes, so it is cut and cannot be edited"});
        return plan;
    }
    ReadTokens read = ReadEditedText(text, edited);
    if (read.refusal) {
        plan.refusals.push_back(std::move(*read.refusal));
        return plan;
    }
    return PlanTextEdit(map, record, text, read.tokens);
}

std::string DryRunLine(const PlannedWrite& write) {
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(write.offset), 16).ptr;
    return "0x" + std::string(digits, end) + "\t" + write.what;
}

TextPlace PlaceFinder::placeOf(std::size_t at) {
    at = std::clamp(at, placed_, text_.size());
    const std::string_view between = text_.substr(placed_, at - placed_);
    const std::size_t lastLineEnd = between.rfind('\n');
    if (lastLineEnd == std::string_view::npos) {
        place_.column += between.size();
    } else {
        place_.line += static_cast<std::size_t>(std::count(between.begin(), between.end(), '\n'));
        place_.column = between.size() - lastLineEnd;
    }
    placed_ = at;
    return place_;
}

RecordKind RecordKindOf(PartKind kind) {
    switch (kind) {
    case PartKind::ScriptType:
    case PartKind::ReturnType:
    case PartKind::ScriptName: return RecordKind::Script;
    case PartKind::GlobalType:
    case PartKind::GlobalName: return RecordKind::Global;
    case PartKind::Fixed:
    case PartKind::NodeText:
    case PartKind::NodeNumber:
    case PartKind::NodeTruth:
    case PartKind::GlobalValue: break;
    }
    return RecordKind::Syntax;
}

std::string_view PartKindName(PartKind kind) {
    switch (kind) {
    case PartKind::Fixed: return "fixed text";
    case PartKind::ScriptType: return "script type";
    case PartKind::ReturnType: return "return type";
    case PartKind::ScriptName: return "script name";
    case PartKind::GlobalType: return "global type";
    case PartKind::GlobalName: return "global name";
    case PartKind::NodeText: return "node text";
    case PartKind::NodeNumber: return "number";
    case PartKind::NodeTruth: return "truth word";
    case PartKind::GlobalValue: return "global value";
    }
    return "";
}

std::string_view PartFieldName(PartKind kind) {
    switch (kind) {
    case PartKind::Fixed: return "";
    case PartKind::ScriptType:
    case PartKind::GlobalType: return "Type";
    case PartKind::ReturnType: return "ReturnType";
    case PartKind::ScriptName:
    case PartKind::GlobalName: return "Name";
    case PartKind::NodeText: return "ScriptTableOffset";
    case PartKind::NodeNumber:
    case PartKind::NodeTruth:
    case PartKind::GlobalValue: return "ScriptValue";
    }
    return "";
}

}  // namespace quorin
