// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the tool knows about the open map: the record caches, the three
// dictionaries and the records shown in the editor. Owned by a map session
// (session/MapSession.h); holds no widgets.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "map/IdentityIndex.h"
#include "map/NameIndex.h"
#include "map/Records.h"
#include "file/SystemFile.h"
#include "base/SharedText.h"

namespace quorin {

// The record an editor page shows: a cache position and the load it came
// from, so an edit can never reach a record of another map.
struct LoadedRecord {
    std::size_t position = 0;
    std::uint64_t generation = 0;
};

// What one successful load builds; replaces the previous map as a whole.
struct MapContent {
    // Header facts, as read.
    std::int32_t version = 0;
    std::int32_t indexOffset = 0;

    std::int32_t magic = 0;
    Tag Scenario;
    std::int32_t ScriptTableOuter = 0;
    std::vector<ScriptHeader> ScriptHeaderCache;
    std::vector<GlobalHeader> GlobalHeaderCache;
    std::vector<Syntax> SyntaxCache;
    NameIndex ScriptsByName;
    NameIndex GlobalsByName;
    IdentityIndex SyntaxByIdentity;
    // The top rows of the script tree: "scripts" when the script count is not
    // zero, then "globals" when the global count is not zero.
    std::vector<std::string> FolderRows;

    // The cache position a dictionary gives for a name or identity; nullopt
    // when the key is absent (or names a position the cache does not have).
    std::optional<std::size_t> scriptPosition(std::string_view name) const;
    std::optional<std::size_t> globalPosition(std::string_view name) const;
    std::optional<std::size_t> syntaxPosition(std::int32_t identity) const;
    // The lookup the renderer and the selection display make: an identity
    // the dictionary lacks leads to position 0. Only for a non-empty cache.
    std::size_t syntaxPositionOr0(std::int32_t identity) const;
    // The size of kind's cache.
    std::size_t recordCount(RecordKind kind) const;
};

// What a load learnt about the file itself, for the writes that follow.
struct LoadedFile {
    // The file as it was read, from the descriptor that read it; brought up
    // to date after each of the tool's own writes. A write goes ahead only
    // while the file still has this identity.
    FileIdentity identity;
    // Why the map may not be written (opened read-only, or a file this user
    // may not write); none when it may.
    std::optional<Error> readOnlyReason;
    // The descriptor the map was read through, kept open for writing, when
    // the load asked for it; otherwise each write opens the path anew.
    std::shared_ptr<SystemFile> held;
};

// The map's records (MapContent) plus what the window keeps beside them.
class MapState : public MapContent {
public:
    std::optional<LoadedRecord> LoadedScript;
    std::optional<LoadedRecord> LoadedGlobal;
    std::optional<LoadedRecord> LoadedSyntax;

    // True once a map has loaded; before that the dictionaries do not exist.
    bool hasMap() const { return generation_ != 0; }
    // The file the records came from; edits go there and nowhere else.
    const std::string& loadedPath() const { return loadedPath_; }
    // Counts successful loads; a LoadedRecord of another generation is stale.
    std::uint64_t generation() const { return generation_; }

    // Copy the file to NAME.map.bak before the first write after a load (a
    // preference: it outlives loads).
    bool backupBeforeFirstWrite = false;

    // Replaces the whole map with a freshly read one and forgets the records
    // shown in the editor, which belonged to the previous map.
    void adopt(MapContent content, std::string path, LoadedFile file = {});

    const LoadedFile& loadedFile() const { return file_; }
    bool readOnly() const { return hasMap() && file_.readOnlyReason.has_value(); }
    // No write has gone into this load's file yet (the backup is due).
    bool untouchedSinceLoad() const { return !written_; }
    // After one of the tool's own writes: the identity it left.
    void wroteFile(const FileIdentity& now) {
        file_.identity = now;
        written_ = true;
    }

    // The record an editor property points at, when it belongs to this load.
    const ScriptHeader* loadedScript() const;
    const GlobalHeader* loadedGlobal() const;
    const Syntax* loadedSyntax() const;
    // The cache position of the record of kind an editor page shows, when
    // it belongs to this load.
    std::optional<std::size_t> shownPosition(RecordKind kind) const;
    // LoadedScript, LoadedGlobal or LoadedSyntax, by kind.
    std::optional<LoadedRecord>& shown(RecordKind kind);
    const std::optional<LoadedRecord>& shown(RecordKind kind) const;

    LoadedRecord recordAt(std::size_t position) const { return {position, generation_}; }

private:
    std::string loadedPath_;
    std::uint64_t generation_ = 0;
    LoadedFile file_;
    bool written_ = false;
};

// The identity that a decimal-text key names: only the canonical form
// ("-2", "17", "0"; no sign on zero, no leading zeros or blanks) is a key.
std::optional<std::int32_t> IdentityFromKey(std::string_view key);

}  // namespace quorin
