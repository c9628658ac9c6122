#include "map/MapLoader.h"

#include <cstring>

#include "map/MapFile.h"
#include "map/TextFormat.h"

namespace quorin {

namespace {

constexpr std::int64_t kEntrySize = 92;
constexpr std::int64_t kNodeSize = 20;

// Offsets derived from stored addresses wrap like the 32-bit arithmetic the
// format was designed around; the reader then bounds them against the file.
std::int32_t Wrap32(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

// The zero-ended text starting at `offset`, taken from `block` (which starts
// at blockStart) when its zero byte is there, otherwise read on from the file
// (a name that fills its 32-byte field runs on into what follows).
std::string TextFrom(const std::vector<std::uint8_t>& block, std::int64_t blockStart, std::int64_t offset,
                     MapFile& file) {
    const auto from = static_cast<std::size_t>(offset - blockStart);
    const auto* start = block.data() + from;
    if (const void* zero = std::memchr(start, 0, block.size() - from)) {
        return std::string(reinterpret_cast<const char*>(start), static_cast<const std::uint8_t*>(zero) - start);
    }
    return file.readText(offset);
}

struct TableRef {
    std::int32_t count = 0;
    std::int32_t offset = 0;
};

// Reads a table of 92-byte entries in one block. Each entry's name is the
// zero-ended text at its start; readFields takes the rest from the entry.
template <typename Record, typename ReadFields>
Status ReadEntries(MapFile& file, const TableRef& table, std::string_view kind, std::vector<Record>& cache,
                   NameIndex& byName, ReadFields readFields) {
    const std::int32_t count = table.count > 0 ? table.count : 0;
    auto block = file.readBlock(table.offset, count * kEntrySize,
                                "the " + std::string(kind) + " table of " + Decimal(count) + " entries");
    if (!block) return block.error();
    const auto& bytes = *block;
    cache.reserve(static_cast<std::size_t>(count));
    byName.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int64_t at = kEntrySize * i;
        Record record;
        record.Offset = Wrap32(table.offset + at);
        record.Name = TextFrom(bytes, table.offset, record.Offset, file);
        readFields(record, &bytes[static_cast<std::size_t>(at)]);
        byName[record.Name] = i;
        cache.push_back(std::move(record));
    }
    return success();
}

Status ReadScripts(MapFile& file, const TableRef& table, MapContent& content) {
    return ReadEntries(file, table, "script", content.ScriptHeaderCache, content.ScriptsByName,
                       [](ScriptHeader& script, const std::uint8_t* entry) {
                           script.Type = Int16At(entry + 32);
                           script.ReturnType = Int16At(entry + 34);
                           script.ExpPointer = Int16At(entry + 38);
                       });
}

Status ReadGlobals(MapFile& file, const TableRef& table, MapContent& content) {
    return ReadEntries(file, table, "global", content.GlobalHeaderCache, content.GlobalsByName,
                       [](GlobalHeader& global, const std::uint8_t* entry) {
                           global.Type = Int16At(entry + 32);
                           global.ExpPointer = Int16At(entry + 42);
                       });
}

Status ReadSyntax(MapFile& file, std::int32_t blockOffset, MapContent& content) {
    // The node count overlaps node 0's sibling field; both are read as they stand.
    auto count = file.readInt16(static_cast<std::int64_t>(blockOffset) + 46, "the syntax node count");
    if (!count) return count.error();
    if (*count <= 0) return success();
    const std::int64_t first = static_cast<std::int64_t>(blockOffset) + 36;
    auto block = file.readBlock(first, *count * kNodeSize,
                                "the syntax node block of " + Decimal(*count) + " nodes");
    if (!block) return block.error();
    const auto& bytes = *block;
    content.SyntaxCache.reserve(static_cast<std::size_t>(*count));
    content.SyntaxByIdentity.reserve(static_cast<std::size_t>(*count));
    for (std::int32_t i = 0; i < *count; ++i) {
        const std::uint8_t* node = &bytes[static_cast<std::size_t>(kNodeSize * i)];
        Syntax syntax;
        syntax.offset = Wrap32(first + kNodeSize * i);
        syntax.ExpIdentity = Int16At(node + 0);
        syntax.EngineIdentity = Int16At(node + 2);
        syntax.ValueType = Int16At(node + 4);
        syntax.ExpType = Int16At(node + 6);
        syntax.SibExpPointer = Int16At(node + 10);
        syntax.ScriptTableOffset = Wrap32(static_cast<std::int64_t>(Int32At(node + 12)) + content.ScriptTableOuter);
        syntax.ScriptValue = Int16At(node + 16);
        syntax.KidExpPointer = Int16At(node + 18);
        syntax.Command = file.readText(syntax.ScriptTableOffset);
        content.SyntaxByIdentity[syntax.ExpIdentity] = i;
        content.SyntaxCache.push_back(std::move(syntax));
    }
    return success();
}

// Script, global and syntax tables of the scenario at S.
Status ReadScriptData(MapFile& file, MapContent& content) {
    const std::int64_t scenario = content.Scenario.Offset;
    // S + 1152 to S + 1199 hold every field the tables need.
    auto fields = file.readBlock(scenario + 1152, 48, "the scenario's script fields");
    if (!fields) return fields.error();
    const std::uint8_t* at = fields->data();
    const auto address = [&](int field) { return Wrap32(static_cast<std::int64_t>(Int32At(at + field - 1152)) - content.magic); };

    const TableRef scripts{Int32At(at + 1180 - 1152), address(1184)};
    const TableRef globals{Int32At(at + 1192 - 1152), address(1196)};
    content.ScriptTableOuter = address(1172);
    const std::int32_t syntaxBlock = address(1152);

    if (scripts.count != 0) {
        if (auto read = ReadScripts(file, scripts, content); !read) return read;
        content.FolderRows.emplace_back("scripts");
    }
    if (globals.count != 0) {
        if (auto read = ReadGlobals(file, globals, content); !read) return read;
        content.FolderRows.emplace_back("globals");
    }
    return ReadSyntax(file, syntaxBlock, content);
}

}  // namespace

std::string reverse(const std::string& text) { return std::string(text.rbegin(), text.rend()); }

Result<MapContent> ReadMapData(const std::string& path, const std::vector<std::string>& mapNames) {
    auto opened = MapFile::open(path);
    if (!opened) return opened.error();
    MapFile& file = *opened;

    auto headerTag = file.readBlock(0, 4, "the header tag");
    if (!headerTag) return headerTag.error();
    const std::string tag(headerTag->begin(), headerTag->end());

    std::int64_t indexOffset = 0;
    if (EqualsIgnoringCase(tag, "daeh")) {
        auto index = file.readInt32(16, "the index offset");
        if (!index) return index.error();
        indexOffset = *index;
        const std::string mapName = file.readText(32);
        bool accepted = false;
        for (const std::string& stock : mapNames) {
            if (EqualsIgnoringCase(mapName, stock)) accepted = true;
        }
        if (!accepted) return Error{kNameRefused};
    } else {
        auto index = file.readInt32(1516, "the index offset");
        if (!index) return index.error();
        indexOffset = *index;
    }

    MapContent content;
    auto firstAddress = file.readInt32(indexOffset, "the tag index");
    if (!firstAddress) return firstAddress.error();
    content.magic = Wrap32(static_cast<std::int64_t>(*firstAddress) - (indexOffset + 40));

    auto entry = file.readBlock(indexOffset + 40, 24, "the scenario tag entry");
    if (!entry) return entry.error();
    const std::uint8_t* at = entry->data();
    Tag& scenario = content.Scenario;
    scenario.Class1 = reverse(std::string(at + 0, at + 4));
    scenario.Class2 = reverse(std::string(at + 4, at + 8));
    scenario.Class3 = reverse(std::string(at + 8, at + 12));
    scenario.ident = UInt32At(at + 12);
    scenario.NameOffset = Wrap32(static_cast<std::int64_t>(Int32At(at + 16)) - content.magic);
    scenario.Name = file.readText(scenario.NameOffset);
    scenario.Offset = Wrap32(static_cast<std::int64_t>(Int32At(at + 20)) - content.magic);

    if (auto read = ReadScriptData(file, content); !read) return read.error();
    return content;
}

bool OpenMap(MapState& state, const std::string& path, const std::vector<std::string>& stockNames,
             MessageSink& messages) {
    state.f = path;
    {
        auto file = MapFile::open(path);
        if (!file) {
            messages.showMessage(file.error().message);
            return false;
        }
        auto version = file->readInt32(4, "the version field");
        if (!version) {
            messages.showMessage(version.error().message);
            return false;
        }
        if (*version == 609) {
            messages.showMessage(kVersionRefused);
            return false;
        }
    }
    state.MapNames = stockNames;
    auto content = ReadMapData(path, state.MapNames);
    if (!content) {
        messages.showMessage(content.error().message);
        return false;
    }
    state.adopt(std::move(*content), path);
    messages.showMessage(kMapLoaded);
    return true;
}

}  // namespace quorin
