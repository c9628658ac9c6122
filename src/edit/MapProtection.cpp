// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/MapProtection.h"

#include <string>
#include <vector>

#include "edit/LoadedMapWriter.h"
#include "edit/MapWritable.h"
#include "map/FileLayout.h"
#include "map/MapWriter.h"
#include "map/RecordTable.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

constexpr std::int64_t kNameFieldSize = layout::kNameFieldSize;
constexpr std::int64_t kStringOffsetAt = layout::node::StringOffset.offset;
constexpr std::int64_t kStringOffsetWidth = layout::node::StringOffset.width;
static_assert(kStringOffsetWidth == 4, "the string offset is written as four bytes");

// One field that protection overwrites.
struct ProtectedField {
    std::int64_t offset = 0;
    bool isName = false;  // the 32-byte name field, else a node's 4-byte string offset
    const char* kind = "";
    std::size_t position = 0;
    std::size_t count = 0;
};

// Nodes first, then globals, then scripts.
std::vector<ProtectedField> PlanFields(const MapState& map) {
    std::vector<ProtectedField> fields;
    fields.reserve(map.SyntaxCache.size() + map.GlobalHeaderCache.size() + map.ScriptHeaderCache.size());
    for (std::size_t i = 0; i < map.SyntaxCache.size(); ++i) {
        fields.push_back({map.SyntaxCache[i].offset + kStringOffsetAt, false, RecordTable<Syntax>::kWord.data(), i, map.SyntaxCache.size()});
    }
    for (std::size_t i = 0; i < map.GlobalHeaderCache.size(); ++i) {
        fields.push_back({map.GlobalHeaderCache[i].Offset, true, RecordTable<GlobalHeader>::kWord.data(), i,
                          map.GlobalHeaderCache.size()});
    }
    for (std::size_t i = 0; i < map.ScriptHeaderCache.size(); ++i) {
        fields.push_back({map.ScriptHeaderCache[i].Offset, true, RecordTable<ScriptHeader>::kWord.data(), i,
                          map.ScriptHeaderCache.size()});
    }
    return fields;
}

// "the script 3 of 40 (offset 0x1F0)": appended to an error's words.
Error& Describe(Error& error, const ProtectedField& field) {
    return error << "the " << field.kind << " " << Decimal(static_cast<std::int64_t>(field.position)) << " of "
                 << Decimal(static_cast<std::int64_t>(field.count)) << " (offset " << FileOffset{field.offset} << ")";
}

}  // namespace

Status ProtectScripts(MapState& map, WriteHistory* history) {
    if (auto ready = CheckMapWritable(map); !ready) return ready;
    const std::vector<ProtectedField> fields = PlanFields(map);

    auto writer = OpenLoadedMap(map);
    if (!writer) return writer.error();
    for (const ProtectedField& field : fields) {
        const std::int64_t width = field.isName ? kNameFieldSize : kStringOffsetWidth;
        if (field.offset < 0 || field.offset > writer->size() - width) {
            Error outside(ErrorCode::OutOfBounds, map.loadedPath(), field.offset);
            Describe(outside << "Can't protect \"" << FilePath{map.loadedPath()} << "\": ", field);
            return std::move(outside) << " lies outside the file, which has " << Decimal(writer->size())
                                      << " bytes. Nothing was written.";
        }
    }

    std::string protectedName(kNameFieldSize, '\0');
    protectedName.replace(0, std::string_view(kProtectedName).size(), kProtectedName);
    // The stored offset is relative to the string table, so readers look at
    // 2T + 1 instead of the node's text.
    const auto pastText = static_cast<std::uint32_t>(map.ScriptTableOuter) + 1u;
    const char pastTextBytes[4] = {static_cast<char>(pastText & 0xFF), static_cast<char>((pastText >> 8) & 0xFF),
                                   static_cast<char>((pastText >> 16) & 0xFF), static_cast<char>(pastText >> 24)};
    std::vector<FieldBytes> writes;
    writes.reserve(fields.size());
    for (const ProtectedField& field : fields) {
        writes.push_back({field.offset, field.isName ? std::string_view(protectedName)
                                                     : std::string_view(pastTextBytes, sizeof pastTextBytes)});
    }
    // Each table goes in as one write, checked like any other: a file
    // changed part-way stops the rest.
    const FieldsWritten written = writer->writeFields(writes);
    if (!written.status) {
        auto closed = writer->close();
        Error stopped = Error::Like(written.status.error());
        Describe(stopped << "Protecting \"" << FilePath{map.loadedPath()} << "\" stopped at ", fields[written.fields]);
        return std::move(stopped) << ": " << written.status.error() << " "
                                  << Decimal(static_cast<std::int64_t>(written.fields)) << " of "
                                  << Decimal(static_cast<std::int64_t>(fields.size()))
                                  << " fields were written before it"
                                  << (closed ? "" : " (and closing the file failed too)")
                                  << "; the map is only partly protected.";
    }
    if (auto closed = CloseLoadedMap(map, *writer); !closed) {
        return Error(closed.error()) << " The map may be only partly protected.";
    }
    if (history) history->recorded(map, WriteStep{"Protect Map", writer->journal(), {}});
    return success();
}

}  // namespace quorin
