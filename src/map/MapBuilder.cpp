#include "map/MapBuilder.h"

#include <algorithm>
#include <fstream>

namespace quorin {

namespace {

constexpr std::int32_t kIndexOffset = 2048;
constexpr std::int32_t kScenarioOffset = 4096;
constexpr std::int32_t kScenarioSize = 1280;

std::int32_t AlignUp(std::int64_t value) { return static_cast<std::int32_t>((value + 15) / 16 * 16); }

class Bytes {
public:
    explicit Bytes(std::size_t size) : bytes_(size, 0) {}
    void int16(std::int64_t at, std::int32_t value) {
        bytes_[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    void int32(std::int64_t at, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF);
    }
    void text(std::int64_t at, const std::string& text) { std::copy(text.begin(), text.end(), bytes_.begin() + at); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

MapLayout MapBuilder::layout() const {
    MapLayout at;
    at.magic = magic;
    at.indexOffset = kIndexOffset;
    at.tagEntry = kIndexOffset + 40;
    at.tagName = at.tagEntry + 24;
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
    at.globalTable = AlignUp(at.scriptTable + 92 * static_cast<std::int64_t>(scripts.size()));
    at.syntaxBlock = AlignUp(at.globalTable + 92 * static_cast<std::int64_t>(globals.size()));
    const std::int64_t nodesEnd =
        at.syntaxBlock + 36 + 20 * static_cast<std::int64_t>(std::max<std::size_t>(nodes.size(), 1));
    if (!stringsFirst) at.stringTable = std::max(AlignUp(nodesEnd), stringTableAt.value_or(0));
    const std::int64_t end = std::max<std::int64_t>(stringsFirst ? nodesEnd : at.stringTable + strings, 0);
    at.fileSize = std::max<std::int64_t>(end, padTo);
    return at;
}

std::vector<std::uint8_t> MapBuilder::build() const {
    const MapLayout at = layout();
    Bytes file(static_cast<std::size_t>(at.fileSize));
    const auto address = [&](std::int64_t offset) { return static_cast<std::int32_t>(offset + magic); };

    file.text(0, headerTag.substr(0, 4));
    file.int32(4, version);
    file.int32(16, at.indexOffset);
    file.text(32, mapName.substr(0, 1516 - 32 - 1));
    file.int32(1516, at.indexOffset);

    file.int32(at.indexOffset, address(at.tagEntry));
    file.text(at.tagEntry + 0, "rncs");  // "scnr", stored reversed
    file.text(at.tagEntry + 4, "\xFF\xFF\xFF\xFF");
    file.text(at.tagEntry + 8, "\xFF\xFF\xFF\xFF");
    file.int32(at.tagEntry + 12, static_cast<std::int32_t>(0xE1740000u));
    file.int32(at.tagEntry + 16, address(at.tagName));
    file.int32(at.tagEntry + 20, address(at.scenario));
    file.text(at.tagName, tagName);

    const std::int32_t s = at.scenario;
    file.int32(s + 1152, address(at.syntaxBlock));
    file.int32(s + 1172, address(at.stringTable));
    file.int32(s + 1180, scriptCount.value_or(static_cast<std::int32_t>(scripts.size())));
    file.int32(s + 1184, address(at.scriptTable));
    file.int32(s + 1192, globalCount.value_or(static_cast<std::int32_t>(globals.size())));
    file.int32(s + 1196, address(at.globalTable));

    for (std::size_t i = 0; i < scripts.size(); ++i) {
        const std::int32_t entry = at.scriptEntry(static_cast<int>(i));
        file.text(entry, scripts[i].Name.substr(0, 32));
        file.int16(entry + 32, scripts[i].Type);
        file.int16(entry + 34, scripts[i].ReturnType);
        file.int16(entry + 36, -1);
        file.int16(entry + 38, scripts[i].ExpPointer);
    }
    for (std::size_t i = 0; i < globals.size(); ++i) {
        const std::int32_t entry = at.globalEntry(static_cast<int>(i));
        file.text(entry, globals[i].Name.substr(0, 32));
        file.int16(entry + 32, globals[i].Type);
        file.int16(entry + 40, -1);
        file.int16(entry + 42, globals[i].ExpPointer);
    }

    std::int32_t nextString = 1;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Syntax& node = nodes[i];
        const std::int32_t d = at.node(static_cast<int>(i));
        file.int16(d + 0, node.ExpIdentity);
        file.int16(d + 2, node.EngineIdentity);
        file.int16(d + 4, node.ValueType);
        file.int16(d + 6, node.ExpType);
        file.int16(d + 8, -1);
        file.int16(d + 10, node.SibExpPointer);
        std::int32_t stored = 0;
        if (!node.Command.empty()) {
            stored = nextString;
            file.text(at.stringTable + nextString, node.Command);
            nextString += static_cast<std::int32_t>(node.Command.size()) + 1;
        }
        file.int32(d + 12, stored);
        file.int16(d + 16, node.ScriptValue);
        file.int16(d + 18, node.KidExpPointer);
    }
    // Written last: the count shares its bytes with node 0's sibling field.
    file.int16(at.syntaxBlock + 46, syntaxCount.value_or(static_cast<std::int16_t>(nodes.size())));
    return file.take();
}

Status MapBuilder::writeTo(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = build();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return Error{"Can't create \"" + path + "\"."};
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return Error{"Writing \"" + path + "\" failed."};
    return success();
}

}  // namespace quorin
