// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a valid Map file from records: header, tag index, scenario tag,
// script and global tables, syntax node block with its count, string table.
// Used for every test fixture, the benchmarks and `quorin-cli demo`.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "map/FileLayout.h"
#include "map/Records.h"
#include "base/Result.h"

namespace quorin {

// Where the builder put each structure (file offsets).
struct MapLayout {
    std::int32_t indexOffset = 0;  // I
    std::int32_t tagEntry = 0;     // E = I + 40
    std::int32_t tagName = 0;
    std::int32_t scenario = 0;     // S
    std::int32_t scriptTable = 0;  // SC
    std::int32_t globalTable = 0;  // GL
    std::int32_t syntaxBlock = 0;  // Y
    std::int32_t stringTable = 0;  // T
    std::int32_t magic = 0;
    std::int64_t fileSize = 0;

    std::int32_t scriptEntry(int i) const { return static_cast<std::int32_t>(layout::ScriptEntryAt(scriptTable, i)); }
    std::int32_t globalEntry(int i) const { return static_cast<std::int32_t>(layout::GlobalEntryAt(globalTable, i)); }
    std::int32_t node(int i) const { return static_cast<std::int32_t>(layout::NodeAt(syntaxBlock, i)); }
};

class MapBuilder {
public:
    // Header.
    std::string headerTag{layout::kHeaderTag};
    std::int32_t version = 7;
    std::string mapName = "saltmarsh";
    std::string tagName = "levels\\saltmarsh\\saltmarsh";
    // Address difference: every stored address is a file offset plus this.
    std::int32_t magic = 0x3F000000;

    // Records. Only the fields stored in the file are used; a node's text is
    // its Command, placed in the string table by the builder. The syntax
    // count shares its bytes with node 0's sibling field, so node 0's
    // SibExpPointer is written as the count (see syntaxCount).
    std::vector<ScriptHeader> scripts;
    std::vector<GlobalHeader> globals;
    std::vector<Syntax> nodes;

    // Counts written in place of the real ones (zero, negative or absurd).
    std::optional<std::int32_t> scriptCount;
    std::optional<std::int32_t> globalCount;
    std::optional<std::int16_t> syntaxCount;

    // Where the string table starts (so tests can choose T, for example
    // 4096). At or before 4096 the texts go right there and the scenario
    // follows them; a later offset is kept when it lies past the syntax
    // nodes and raised to their end otherwise. Unset: after the nodes.
    std::optional<std::int32_t> stringTableAt;
    // The file is padded with zero bytes up to this size.
    std::int64_t padTo = 0;

    // Bytes written over the built file last (cut at its end): how a map is
    // built to hurt, for example texts whose zero bytes are overwritten.
    struct Overwrite {
        std::int64_t offset = 0;
        std::string bytes;
    };
    std::vector<Overwrite> overwrites;

    MapLayout layout() const;
    std::vector<std::uint8_t> build() const;
    // Replaces the file at path as a whole (see FileReplacement).
    [[nodiscard]] Status writeTo(const std::string& path) const;
};

}  // namespace quorin
