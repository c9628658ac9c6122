// SPDX-License-Identifier: GPL-3.0-or-later
#include "file/MapBackup.h"

namespace quorin {

std::string BackupPathFor(const std::string& mapPath) { return mapPath + ".bak"; }

Status BackUpFile(const SystemFile& source, const std::string& backupPath) {
    const auto refused = [&](const Error& error) {
        return Error(error.code, source.path(), std::nullopt)
               << "Can't back up \"" << FilePath{source.path()} << "\" to \"" << FilePath{backupPath} << "\": " << error
               << " Nothing was written.";
    };
    auto copy = SystemFile::createBeside(backupPath);
    if (!copy) return refused(copy.error());
    Status done = source.copyTo(*copy);
    if (done) done = copy->sync();
    if (done) done = copy->placeAs(backupPath, true);
    if (done) done = copy->close();
    if (!done) return refused(done.error());
    return success();
}

}  // namespace quorin
