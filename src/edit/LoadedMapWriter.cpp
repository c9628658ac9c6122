// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/LoadedMapWriter.h"

#include "file/MapBackup.h"

namespace quorin {

Result<MapWriter> OpenLoadedMap(MapState& map) {
    const LoadedFile& file = map.loadedFile();
    auto writer = file.held ? MapWriter::through(file.held, file.identity)
                            : MapWriter::openUnchanged(map.loadedPath(), file.identity);
    if (!writer) return writer;
    if (map.backupBeforeFirstWrite && map.untouchedSinceLoad()) {
        if (auto copied = writer->backUpTo(BackupPathFor(map.loadedPath())); !copied) return copied.error();
    }
    return writer;
}

Status CloseLoadedMap(MapState& map, MapWriter& writer) {
    // Asked before closing: a descriptor of our own is gone afterwards.
    auto now = writer.identityNow();
    if (auto closed = writer.close(); !closed) return closed;
    if (!now) return Error(now.error()) << " The write is in the file, but the next one will be refused.";
    if (writer.writes() != 0) map.wroteFile(*now);
    return success();
}

}  // namespace quorin
