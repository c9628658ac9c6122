// SPDX-License-Identifier: GPL-3.0-or-later
#include "builder/MapBuilder.h"

#include <algorithm>

#include "file/SystemFile.h"

namespace quorin {

namespace {

namespace L = layout;

constexpr std::int32_t AlignUp(std::int64_t value) { return static_cast<std::int32_t>((value + 15) / 16 * 16); }

// Where the builder puts the tag index and the scenario; the format leaves
// both to the map's maker.
constexpr std::int32_t kIndexOffset = 2048;
constexpr std::int32_t kScenarioOffset = 4096;
// The script table follows the scenario's fields, with room to spare.
constexpr std::int32_t kScenarioSize = 1280;
static_assert(kScenarioSize >= L::scenario::kFieldsEnd);

class Bytes {
public:
    explicit Bytes(std::size_t size) : bytes_(size, 0) {}
    void field(std::int64_t base, const L::Field& field, std::int32_t value) {
        if (field.width == 2) int16(base + field.offset, value);
        else int32(base + field.offset, value);
    }
    void int16(std::int64_t at, std::int32_t value) {
        bytes_[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    void int32(std::int64_t at, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF);
    }
    void text(std::int64_t at, std::string_view text) { std::copy(text.begin(), text.end(), bytes_.begin() + at); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

MapLayout MapBuilder::layout() const {
    MapLayout at;
    at.magic = magic;
    at.indexOffset = kIndexOffset;
    at.tagEntry = kIndexOffset + L::tagIndex::kFirstEntry;
    at.tagName = at.tagEntry + L::tagEntry::kReadSize;
    std::int64_t strings = 1;  // the empty text at offset 0
    for (const Syntax& node : nodes) {
        if (!node.Command.empty()) strings += static_cast<std::int64_t>(node.Command.size()) + 1;
    }
    const std::int32_t afterTagName = AlignUp(at.tagName + static_cast<std::int64_t>(tagName.size()) + 1);
    const bool stringsFirst = stringTableAt && *stringTableAt <= kScenarioOffset;
    std::int64_t scenario = std::max(kScenarioOffset, afterTagName);
    if (stringsFirst) {
        at.stringTable = std::max(*stringTableAt, afterTagName);
        scenario = std::max<std::int64_t>(scenario, AlignUp(at.stringTable + strings));
    }
    at.scenario = static_cast<std::int32_t>(scenario);
    at.scriptTable = at.scenario + kScenarioSize;
    at.globalTable = AlignUp(L::ScriptEntryAt(at.scriptTable, static_cast<std::int64_t>(scripts.size())));
    at.syntaxBlock = AlignUp(L::GlobalEntryAt(at.globalTable, static_cast<std::int64_t>(globals.size())));
    // Node 0 is there even in a map without nodes: the count lives in it.
    const std::int64_t nodesEnd =
        L::NodeAt(at.syntaxBlock, static_cast<std::int64_t>(std::max<std::size_t>(nodes.size(), 1)));
    if (!stringsFirst) at.stringTable = std::max(AlignUp(nodesEnd), stringTableAt.value_or(0));
    const std::int64_t end = std::max<std::int64_t>(stringsFirst ? nodesEnd : at.stringTable + strings, 0);
    at.fileSize = std::max<std::int64_t>(end, padTo);
    return at;
}

std::vector<std::uint8_t> MapBuilder::build() const {
    const MapLayout at = layout();
    Bytes file(static_cast<std::size_t>(at.fileSize));
    const auto address = [&](std::int64_t offset) { return static_cast<std::int32_t>(offset + magic); };

    namespace H = L::header;
    file.text(H::Tag.offset, headerTag.substr(0, H::Tag.width));
    file.field(0, H::Version, version);
    file.field(0, H::IndexOffset, at.indexOffset);
    // The name must end before the other index offset field.
    file.text(H::MapName.offset, mapName.substr(0, H::OtherIndexOffset.offset - H::MapName.offset - 1));
    file.field(0, H::OtherIndexOffset, at.indexOffset);

    namespace E = L::tagEntry;
    file.field(at.indexOffset, L::tagIndex::FirstEntryAddress, address(at.tagEntry));
    file.text(at.tagEntry + E::Class1.offset, "rncs");  // "scnr", stored reversed
    file.text(at.tagEntry + E::Class2.offset, "\xFF\xFF\xFF\xFF");
    file.text(at.tagEntry + E::Class3.offset, "\xFF\xFF\xFF\xFF");
    file.field(at.tagEntry, E::Ident, static_cast<std::int32_t>(0xE1740000u));
    file.field(at.tagEntry, E::NameAddress, address(at.tagName));
    file.field(at.tagEntry, E::DataAddress, address(at.scenario));
    file.text(at.tagName, tagName);

    namespace S = L::scenario;
    file.field(at.scenario, S::SyntaxBlock, address(at.syntaxBlock));
    file.field(at.scenario, S::StringTable, address(at.stringTable));
    file.field(at.scenario, S::ScriptCount, scriptCount.value_or(static_cast<std::int32_t>(scripts.size())));
    file.field(at.scenario, S::ScriptTable, address(at.scriptTable));
    file.field(at.scenario, S::GlobalCount, globalCount.value_or(static_cast<std::int32_t>(globals.size())));
    file.field(at.scenario, S::GlobalTable, address(at.globalTable));

    const auto names = static_cast<std::size_t>(L::kNameFieldSize);
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        namespace F = L::scriptEntry;
        const std::int32_t entry = at.scriptEntry(static_cast<int>(i));
        file.text(entry + F::Name.offset, scripts[i].Name.view().substr(0, names));
        file.field(entry, F::Type, scripts[i].Type);
        file.field(entry, F::ReturnType, scripts[i].ReturnType);
        file.field(entry, F::LinkPad, -1);
        file.field(entry, F::ExpPointer, scripts[i].ExpPointer);
    }
    for (std::size_t i = 0; i < globals.size(); ++i) {
        namespace F = L::globalEntry;
        const std::int32_t entry = at.globalEntry(static_cast<int>(i));
        file.text(entry + F::Name.offset, globals[i].Name.view().substr(0, names));
        file.field(entry, F::Type, globals[i].Type);
        file.field(entry, F::LinkPad, -1);
        file.field(entry, F::ExpPointer, globals[i].ExpPointer);
    }

    std::int32_t nextString = 1;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        namespace N = L::node;
        const Syntax& node = nodes[i];
        const std::int32_t d = at.node(static_cast<int>(i));
        file.field(d, N::ExpIdentity, node.ExpIdentity);
        file.field(d, N::EngineIdentity, node.EngineIdentity);
        file.field(d, N::ValueType, node.ValueType);
        file.field(d, N::ExpType, node.ExpType);
        file.field(d, N::LinkPad, -1);
        file.field(d, N::SibExpPointer, node.SibExpPointer);
        std::int32_t stored = 0;
        if (!node.Command.empty()) {
            stored = nextString;
            file.text(at.stringTable + nextString, node.Command);
            nextString += static_cast<std::int32_t>(node.Command.size()) + 1;
        }
        file.field(d, N::StringOffset, stored);
        file.field(d, N::ScriptValue, node.ScriptValue);
        file.field(d, N::KidExpPointer, node.KidExpPointer);
    }
    // Written last: the count shares its bytes with node 0's sibling field.
    file.field(at.syntaxBlock, L::syntaxBlock::Count, syntaxCount.value_or(static_cast<std::int16_t>(nodes.size())));
    std::vector<std::uint8_t> bytes = file.take();
    for (const Overwrite& overwrite : overwrites) {
        if (overwrite.offset < 0) continue;
        const auto from = static_cast<std::size_t>(overwrite.offset);
        for (std::size_t i = 0; i < overwrite.bytes.size() && from + i < bytes.size(); ++i) {
            bytes[from + i] = static_cast<std::uint8_t>(overwrite.bytes[i]);
        }
    }
    return bytes;
}

Status MapBuilder::writeTo(const std::string& path) const {
    auto target = FileReplacement::prepare(path);
    if (!target) return target.error();
    return target->commit(build(), true);
}

}  // namespace quorin
