// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapLoader.h"

#include <algorithm>
#include <new>
#include <span>
#include <stdexcept>

#include "map/FileLayout.h"
#include "map/TextCollector.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

namespace L = layout;

// Offsets derived from stored addresses wrap like the 32-bit arithmetic the
// format was designed around; the reader then bounds them against the file.
std::int32_t Wrap32(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

// A field of a structure already read into memory at `base`.
std::int32_t Int16In(const std::uint8_t* base, const L::Field& field) { return Int16At(base + field.offset); }
std::int32_t Int32In(const std::uint8_t* base, const L::Field& field) { return Int32At(base + field.offset); }

// Class codes are stored with their four characters reversed.
std::string ClassCode(const std::uint8_t* base, const L::Field& field) {
    const auto* at = base + field.offset;
    return std::string(std::reverse_iterator(at + field.width), std::reverse_iterator(at));
}

// The message for a file that has neither the header tag nor an index
// offset inside it; why says what was found instead.
Error NotAMap(const MapFile& file, const Error& why) {
    return Error(ErrorCode::NotAMap, file.path(), why.offset)
           << "\"" << FilePath{file.path()} << "\" is not a Vexa map (or it is damaged): its header tag is not \""
           << L::kHeaderTag << "\", and " << why;
}

struct TableRef {
    std::int32_t count = 0;
    std::int32_t offset = 0;
};

// Tables are read a slice at a time into one buffer, so a table of any
// size holds no more of its bytes than a slice beside its records.
constexpr std::int64_t kSliceBytes = 64 * 1024;

// Reads `count` structures of `size` bytes from `offset` a slice at a time;
// readOne(i, bytes) takes structure i. The caller has checked the whole run
// against the file before making anything for it.
template <typename ReadOne>
Status ReadSlices(MapFile& file, std::int64_t offset, std::int64_t count, std::int64_t size, const std::string& what,
                  ByteBlock& slice, ReadOne readOne) {
    const std::int64_t perSlice = std::max<std::int64_t>(1, kSliceBytes / size);
    for (std::int64_t from = 0; from < count; from += perSlice) {
        const std::int64_t taken = std::min(perSlice, count - from);
        slice.resize(static_cast<std::size_t>(taken * size));
        if (auto read = file.readInto(offset + from * size, std::span(slice.data(), slice.size()), what); !read) {
            return read;
        }
        for (std::int64_t i = 0; i < taken; ++i) readOne(from + i, &slice[static_cast<std::size_t>(i * size)]);
    }
    return success();
}

// Reads a table of entries. Each entry's name is the zero-ended text at its
// start (a name that fills its 32-byte field runs on into what follows);
// readFields takes the rest from the entry.
template <typename Record, typename ReadFields>
Status ReadEntries(MapFile& file, const TableRef& table, std::int64_t entrySize, std::string_view kind,
                   std::vector<Record>& cache, TextCollector& texts, ByteBlock& slice, ReadFields readFields) {
    const std::int32_t count = table.count > 0 ? table.count : 0;
    const std::string what = "the " + std::string(kind) + " table of " + Decimal(count) + " entries";
    if (auto inside = file.checkInside(table.offset, count * entrySize, what); !inside) return inside;
    cache.reserve(static_cast<std::size_t>(count));
    texts.reserve(static_cast<std::size_t>(count));
    return ReadSlices(file, table.offset, count, entrySize, what, slice, [&](std::int64_t i, const std::uint8_t* entry) {
        Record& record = cache.emplace_back();
        record.Offset = Wrap32(table.offset + entrySize * i);
        texts.want(record.Offset);
        readFields(record, entry);
    });
}

Status ReadScripts(MapFile& file, const TableRef& table, MapContent& content, TextCollector& texts, ByteBlock& slice) {
    return ReadEntries(file, table, L::scriptEntry::kSize, "script", content.ScriptHeaderCache, texts, slice,
                       [](ScriptHeader& script, const std::uint8_t* entry) {
                           script.Type = Int16In(entry, L::scriptEntry::Type);
                           script.ReturnType = Int16In(entry, L::scriptEntry::ReturnType);
                           script.ExpPointer = Int16In(entry, L::scriptEntry::ExpPointer);
                       });
}

Status ReadGlobals(MapFile& file, const TableRef& table, MapContent& content, TextCollector& texts, ByteBlock& slice) {
    return ReadEntries(file, table, L::globalEntry::kSize, "global", content.GlobalHeaderCache, texts, slice,
                       [](GlobalHeader& global, const std::uint8_t* entry) {
                           global.Type = Int16In(entry, L::globalEntry::Type);
                           global.ExpPointer = Int16In(entry, L::globalEntry::ExpPointer);
                       });
}

Status ReadSyntax(MapFile& file, std::int32_t blockOffset, MapContent& content, TextCollector& texts, ByteBlock& slice) {
    // The node count overlaps node 0's sibling field; both are read as they stand.
    auto count = file.readInt16(static_cast<std::int64_t>(blockOffset) + L::syntaxBlock::Count.offset,
                                "the syntax node count");
    if (!count) return count.error();
    if (*count <= 0) return success();
    const std::int64_t first = L::NodeAt(blockOffset, 0);
    const std::string what = "the syntax node block of " + Decimal(*count) + " nodes";
    if (auto inside = file.checkInside(first, *count * std::int64_t{L::node::kSize}, what); !inside) return inside;
    content.SyntaxCache.reserve(static_cast<std::size_t>(*count));
    texts.reserve(static_cast<std::size_t>(*count));
    return ReadSlices(file, first, *count, L::node::kSize, what, slice, [&](std::int64_t i, const std::uint8_t* node) {
        Syntax& syntax = content.SyntaxCache.emplace_back();
        syntax.offset = Wrap32(L::NodeAt(blockOffset, i));
        syntax.ExpIdentity = Int16In(node, L::node::ExpIdentity);
        syntax.EngineIdentity = Int16In(node, L::node::EngineIdentity);
        syntax.ValueType = Int16In(node, L::node::ValueType);
        syntax.ExpType = Int16In(node, L::node::ExpType);
        syntax.SibExpPointer = Int16In(node, L::node::SibExpPointer);
        syntax.ScriptTableOffset =
            Wrap32(static_cast<std::int64_t>(Int32In(node, L::node::StringOffset)) + content.ScriptTableOuter);
        syntax.ScriptValue = Int16In(node, L::node::ScriptValue);
        syntax.KidExpPointer = Int16In(node, L::node::KidExpPointer);
        texts.want(syntax.ScriptTableOffset);
        content.SyntaxByIdentity[syntax.ExpIdentity] = static_cast<std::int32_t>(i);
    });
}

// Script, global and syntax tables of the scenario at S; the texts they
// point at are read last, all at once.
Status ReadScriptData(MapFile& file, MapContent& content, TextCollector& texts) {
    namespace S = L::scenario;
    const std::int64_t scenario = content.Scenario.Offset;
    auto fields = file.readBlock(scenario + S::kFieldsFrom, S::kFieldsEnd - S::kFieldsFrom,
                                 "the scenario's script fields");
    if (!fields) return fields.error();
    const auto int32 = [&](const L::Field& field) { return Int32At(fields->data() + field.offset - S::kFieldsFrom); };
    const auto address = [&](const L::Field& field) {
        return Wrap32(static_cast<std::int64_t>(int32(field)) - content.magic);
    };

    const TableRef scripts{int32(S::ScriptCount), address(S::ScriptTable)};
    const TableRef globals{int32(S::GlobalCount), address(S::GlobalTable)};
    content.ScriptTableOuter = address(S::StringTable);
    const std::int32_t syntaxBlock = address(S::SyntaxBlock);

    ByteBlock slice;
    if (scripts.count != 0) {
        if (auto read = ReadScripts(file, scripts, content, texts, slice); !read) return read;
        content.FolderRows.emplace_back("scripts");
    }
    if (globals.count != 0) {
        if (auto read = ReadGlobals(file, globals, content, texts, slice); !read) return read;
        content.FolderRows.emplace_back("globals");
    }
    if (auto read = ReadSyntax(file, syntaxBlock, content, texts, slice); !read) return read;
    slice = {};

    // Tickets run: the tag name, the script names, the global names, the node texts.
    const std::size_t globalsFrom = 1 + content.ScriptHeaderCache.size();
    const std::size_t nodesFrom = globalsFrom + content.GlobalHeaderCache.size();
    auto read = texts.read(file, [&](std::size_t ticket, SharedText&& text) {
        if (ticket >= nodesFrom) content.SyntaxCache[ticket - nodesFrom].Command = std::move(text);
        else if (ticket >= globalsFrom) content.GlobalHeaderCache[ticket - globalsFrom].Name = std::move(text);
        else if (ticket > 0) content.ScriptHeaderCache[ticket - 1].Name = std::move(text);
        else content.Scenario.Name = std::move(text);
    });
    if (!read) return read.error();
    content.ScriptsByName = NameIndex::ofTable(*read, scripts.offset, L::scriptEntry::kSize,
                                               content.ScriptHeaderCache.size(),
                                               [&](std::size_t i) -> const SharedText& { return content.ScriptHeaderCache[i].Name; });
    content.GlobalsByName = NameIndex::ofTable(*read, globals.offset, L::globalEntry::kSize,
                                               content.GlobalHeaderCache.size(),
                                               [&](std::size_t i) -> const SharedText& { return content.GlobalHeaderCache[i].Name; });
    return success();
}

}  // namespace

Result<MapContent> ReadMapData(MapFile& file, const std::vector<std::string>& mapNames) {
    MapContent content;
    auto headerTag = file.readBlock(L::header::Tag.offset, L::header::Tag.width, "the header tag");
    if (!headerTag) return headerTag.error();
    const std::string tag(headerTag->begin(), headerTag->end());

    if (EqualsIgnoringCase(tag, L::kHeaderTag)) {
        auto index = file.readInt32(L::header::IndexOffset.offset, "the index offset");
        if (!index) return index.error();
        content.indexOffset = *index;
        // Only as many bytes as the longest stock name: a longer name matches none.
        std::size_t longest = 0;
        for (const std::string& stock : mapNames) longest = std::max(longest, stock.size());
        auto mapName = file.readText(L::header::MapName.offset, longest + 1);
        if (!mapName) return mapName.error();
        bool accepted = false;
        for (const std::string& stock : mapNames) {
            if (EqualsIgnoringCase(*mapName, stock)) accepted = true;
        }
        if (!accepted) return Error(ErrorCode::NotAMap, file.path(), L::header::MapName.offset) << kNameRefused;
    } else {
        // Without the header tag only the index offset says this is a map;
        // one that leads outside the file says it is none (a text file,
        // say), rather than a damaged one.
        const L::Field& at = L::header::OtherIndexOffset;
        if (file.size() < at.offset + at.width) {
            return NotAMap(file, Error(ErrorCode::NotAMap, file.path(), at.offset)
                                     << "the index offset (" << Decimal(at.width) << " bytes at offset "
                                     << FileOffset{at.offset} << ") lies outside the file, which has "
                                     << Decimal(file.size()) << " bytes.");
        }
        auto index = file.readInt32(at.offset, "the index offset");
        if (!index) return index.error();
        if (*index < 0 || *index >= file.size()) {
            return NotAMap(file, Error(ErrorCode::NotAMap, file.path(), at.offset)
                                     << "the index offset at " << FileOffset{at.offset} << ", " << Decimal(*index)
                                     << ", lies outside the file, which has " << Decimal(file.size()) << " bytes.");
        }
        content.indexOffset = *index;
    }
    const std::int64_t indexOffset = content.indexOffset;

    auto firstAddress = file.readInt32(indexOffset + L::tagIndex::FirstEntryAddress.offset, "the tag index");
    if (!firstAddress) return firstAddress.error();
    const std::int64_t entryOffset = indexOffset + L::tagIndex::kFirstEntry;
    content.magic = Wrap32(static_cast<std::int64_t>(*firstAddress) - entryOffset);

    auto entry = file.readBlock(entryOffset, L::tagEntry::kReadSize, "the scenario tag entry");
    if (!entry) return entry.error();
    const std::uint8_t* at = entry->data();
    Tag& scenario = content.Scenario;
    scenario.Class1 = ClassCode(at, L::tagEntry::Class1);
    scenario.Class2 = ClassCode(at, L::tagEntry::Class2);
    scenario.Class3 = ClassCode(at, L::tagEntry::Class3);
    scenario.ident = UInt32At(at + L::tagEntry::Ident.offset);
    scenario.NameOffset = Wrap32(static_cast<std::int64_t>(Int32In(at, L::tagEntry::NameAddress)) - content.magic);
    TextCollector texts;
    texts.want(scenario.NameOffset);
    scenario.Offset = Wrap32(static_cast<std::int64_t>(Int32In(at, L::tagEntry::DataAddress)) - content.magic);

    if (auto read = ReadScriptData(file, content, texts); !read) return read.error();
    return content;
}

namespace {

struct OpenedMap {
    MapFile file;
    LoadedFile facts;
};

Result<OpenedMap> OpenForMode(const std::string& path, OpenMode mode) {
    if (mode == OpenMode::HoldForWriting) {
        auto writable = MapFile::open(path, SystemFile::Access::ReadWrite);
        if (writable) {
            auto held = writable->file();
            return OpenedMap{std::move(*writable), {{}, {}, std::move(held)}};
        }
        // Still readable: it loads, and every write says why it can't be.
        auto readable = MapFile::open(path);
        if (!readable) return readable.error();
        return OpenedMap{std::move(*readable), {{}, Error(writable.error()) << " Nothing was written.", nullptr}};
    }
    auto file = MapFile::open(path);
    if (!file) return file.error();
    std::optional<Error> readOnly;
    if (mode == OpenMode::ReadOnly || !file->file()->userMayWrite()) {
        readOnly = Error(ErrorCode::ReadOnly, path, std::nullopt)
                   << "The map \"" << FilePath{path} << "\" " << kOpenedReadOnly
                   << (mode == OpenMode::ReadOnly ? "" : ": you may not write the file") << ". Nothing was written.";
    }
    return OpenedMap{std::move(*file), {{}, std::move(readOnly), nullptr}};
}

// OpenMap, but an allocation that fails throws; size is the file's once it
// is open.
Status LoadMap(MapState& state, const std::string& path, const std::vector<std::string>& stockNames, OpenMode mode,
               std::int64_t& size) {
    // The loaded map stays until this file has loaded: a refused file must
    // not take the writes away from the map on screen.
    auto opened = OpenForMode(path, mode);
    if (!opened) return opened.error();
    MapFile& file = opened->file;
    size = file.size();
    auto version = file.readInt32(L::header::Version.offset, "the version field");
    if (!version) return version.error();
    if (*version == L::kRefusedVersion) {
        return Error(ErrorCode::NotAMap, path, L::header::Version.offset) << kVersionRefused;
    }
    auto content = ReadMapData(file, stockNames);
    if (!content) return content.error();
    content->version = *version;
    // The identity the writes will compare with is the one of the file that
    // was read: one that changed while it was read is not the file loaded.
    auto now = file.file()->currentIdentity();
    if (!now) return now.error();
    if (*now != file.identity()) {
        return Error(ErrorCode::ChangedOnDisk, path, std::nullopt)
               << "The map \"" << FilePath{path} << "\" changed while it was being loaded. Open it again.";
    }
    opened->facts.identity = *now;
    state.adopt(std::move(*content), path, std::move(opened->facts));
    return success();
}

}  // namespace

Status OpenMap(MapState& state, const std::string& path, const std::vector<std::string>& stockNames, OpenMode mode) {
    // A map's counts ask for as much memory as the file's bytes allow; when
    // the system has less, what was made is let go and the map is refused.
    std::int64_t size = -1;
    try {
        return LoadMap(state, path, stockNames, mode, size);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return Error(ErrorCode::NotEnoughMemory, path, std::nullopt)
           << kNotEnoughMemory << " \"" << FilePath{path} << "\""
           << (size >= 0 ? " (" + Decimal(size) + " bytes)" : std::string()) << "; nothing was loaded.";
}

}  // namespace quorin
