// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/FieldWriteBack.h"

#include <optional>
#include <string>
#include <type_traits>

#include "edit/FieldRule.h"
#include "edit/LoadedMapWriter.h"
#include "edit/MapWritable.h"
#include "edit/RecordChangeApply.h"
#include "map/FileLayout.h"
#include "map/MapWriter.h"
#include "map/RecordTable.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

// What the user entered: an edit field's text or a popup's item index.
struct Entry {
    std::string_view text;
    int index = 0;
};

std::string FieldLabel(const FieldRule& rule) { return std::string(rule.label); }

Result<std::string> NameFrom(const FieldRule& rule, std::string_view text) {
    // Names are quoted through VisibleText: a refused name may be the hostile one.
    if (text.size() > static_cast<std::size_t>(layout::kLongestName)) {
        return Error(ErrorCode::BadValue, "The name \"" + VisibleText(text) + "\" has " +
                                              Decimal(static_cast<std::int64_t>(text.size())) +
                                              " bytes, but a name holds at most " + Decimal(layout::kLongestName) +
                                              ". Nothing was written.");
    }
    if (text.find('\0') != std::string_view::npos) {
        return Error(ErrorCode::BadValue,
                     "A name cannot hold a zero byte (" + FieldLabel(rule) + "). Nothing was written.");
    }
    // A line end or an escape byte in a name would forge lines in every
    // listing and reach the terminal of whoever prints it.
    if (const std::size_t at = FindControlByte(text); at != std::string_view::npos) {
        return Error(ErrorCode::BadValue, "The name \"" + VisibleText(text) + "\" holds the control byte " +
                                              EscapedByte(static_cast<unsigned char>(text[at])) + " (" +
                                              FieldLabel(rule) +
                                              "); a name takes printable characters only. Nothing was written.");
    }
    return std::string(text);
}

std::int32_t NumberFrom(const FieldRule& rule, const Entry& entry) {
    switch (rule.text) {
        case FieldText::Hexadecimal: return ParseFieldHexadecimal(entry.text);
        case FieldText::ItemIndex: return entry.index;
        case FieldText::Decimal:
        case FieldText::Bytes: break;
    }
    return ParseFieldNumber(entry.text);
}

// The name field is written whole, the name followed by zero bytes, so
// nothing of a longer old name is left behind.
Status WriteValue(MapWriter& writer, const FieldRule&, std::int64_t place, const MapState&, const SharedText& name) {
    std::string field(static_cast<std::size_t>(layout::kNameFieldSize), '\0');
    field.replace(0, name.size(), name.view());
    return writer.writeBytes(place, field);
}

Status WriteValue(MapWriter& writer, const FieldRule& rule, std::int64_t place, const MapState& map,
                  std::int32_t number) {
    std::int32_t stored = number;
    if (rule.place.kind == layout::Kind::StringTableRelative) {
        // Offsets are 32-bit arithmetic in this format; wrap like it.
        stored = static_cast<std::int32_t>(static_cast<std::uint32_t>(number) -
                                           static_cast<std::uint32_t>(map.ScriptTableOuter));
    }
    return rule.place.width == 4 ? writer.writeInt32(place, stored) : writer.writeInt16(place, stored);
}

template <typename Record, typename Value>
Status Commit(MapState& map, const FieldRule& rule, Value Record::*member, const Entry& entry, WriteHistory* history) {
    using Table = RecordTable<Record>;
    if (auto ready = CheckMapWritable(map); !ready) return ready;
    const auto position = map.shownPosition(Table::kKind);
    if (!position) {
        return Error(ErrorCode::UnknownName, "No " + std::string(Table::kWord) +
                                                 " of the map loaded now is shown, so " + FieldLabel(rule) +
                                                 " has nothing to write to. Nothing was written.");
    }
    auto& cache = map.*Table::kCache;

    Value value{};
    if constexpr (std::is_same_v<Value, SharedText>) {
        auto name = NameFrom(rule, entry.text);
        if (!name) return name.error();
        value = std::move(*name);
    } else {
        value = NumberFrom(rule, entry);
    }

    auto writer = OpenLoadedMap(map);
    if (!writer) return writer.error();
    if (auto written = WriteValue(*writer, rule, Table::fileOffset(cache[*position]) + rule.place.offset, map, value);
        !written) {
        return written;
    }
    if (auto closed = CloseLoadedMap(map, *writer); !closed) return closed;

    // The shown record is the one whose bytes were just written, so it is the
    // one updated, even where another record shares its name or identity
    // (looking the old key up again would then reach that other record).
    RecordChange change{member, *position, cache[*position].*member, std::move(value),
                        rule.addsDictionaryEntry, std::nullopt};
    ApplyForward(map, change);
    if (history) history->recorded(map, WriteStep{FieldLabel(rule), writer->journal(), {std::move(change)}});
    return success();
}

Status CommitRule(MapState& map, const FieldRule& rule, const Entry& entry, WriteHistory* history) {
    return std::visit([&](auto member) { return Commit(map, rule, member, entry, history); }, rule.member);
}

}  // namespace

Status CommitField(MapState& map, EditField field, std::string_view text, WriteHistory* history) {
    const FieldRule& rule = RuleFor(field);
    if (IsPopup(rule)) {
        return Error(ErrorCode::BadValue, FieldLabel(rule) + " is a popup; it takes an item, not a text.");
    }
    return CommitRule(map, rule, Entry{text, 0}, history);
}

Status CommitPopup(MapState& map, EditField popup, int index, WriteHistory* history) {
    const FieldRule& rule = RuleFor(popup);
    if (!IsPopup(rule)) return Error(ErrorCode::BadValue, FieldLabel(rule) + " is an edit field, not a popup.");
    if (index == -1) return success();  // no item chosen
    if (index < 0 || static_cast<std::size_t>(index) >= rule.items.size()) {
        return Error(ErrorCode::BadValue, FieldLabel(rule) + " has no item " + Decimal(index) + " (it has " +
                                              Decimal(static_cast<std::int64_t>(rule.items.size())) +
                                              "). Nothing was written.");
    }
    return CommitRule(map, rule, Entry{{}, index}, history);
}

bool IsCommitKey(FieldKey key, bool shortcut) { return key != FieldKey::Other && !shortcut; }

}  // namespace quorin
