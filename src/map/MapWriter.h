// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one write path into a Map file. It opens an existing regular file for
// reading and writing, can only overwrite bytes inside it (never grow or
// truncate it), and reports a failed open, write or close. Every write keeps
// the bytes it replaced, so the caller can take it back.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "file/SystemFile.h"

namespace quorin {

// One byte range a write changed: what was there before and what is there now.
struct BytePatch {
    std::int64_t offset = 0;
    std::string before;
    std::string after;

    bool operator==(const BytePatch&) const = default;
};

class MapWriter {
public:
    // Refuses a missing file, anything but a regular file, a file whose
    // permission bits forbid writing (even for a user who could override
    // them) and one that cannot be opened.
    [[nodiscard]] static Result<MapWriter> open(const std::string& path);
    // As open, and only while path still leads to the file that was loaded:
    // the identity of the descriptor opened now must equal loaded.
    [[nodiscard]] static Result<MapWriter> openUnchanged(const std::string& path, const FileIdentity& loaded);
    // Writes through a descriptor that is already open for writing (the one
    // the map was read through), while its file is still as loaded.
    [[nodiscard]] static Result<MapWriter> through(std::shared_ptr<SystemFile> file, const FileIdentity& loaded);

    std::int64_t size() const { return size_; }
    const std::string& path() const { return file_->path(); }

    // The low 16 bits of value, little-endian.
    [[nodiscard]] Status writeInt16(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeInt32(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeBytes(std::int64_t offset, std::string_view bytes);
    [[nodiscard]] Status writeZeros(std::int64_t offset, std::int64_t count);

    // Every write made so far, in order, with the bytes it replaced.
    const std::vector<BytePatch>& journal() const { return journal_; }
    // A caller that knows the bytes it overwrites (an undo or redo) spares
    // the read of each one.
    void keepJournal(bool keep) { keepJournal_ = keep; }
    // How many writes went into the file.
    std::size_t writes() const { return writes_; }

    // Copies the file, as it is now, to backupPath (see BackUpFile).
    [[nodiscard]] Status backUpTo(const std::string& backupPath) const;

    // The file's identity now, from the descriptor: after this writer's own
    // writes, the identity a later write must find.
    [[nodiscard]] Result<FileIdentity> identityNow() const { return file_->currentIdentity(); }

    // Closes the file (a descriptor lent by through() stays open); the
    // writes are in the file once this succeeds.
    [[nodiscard]] Status close();

private:
    MapWriter(std::shared_ptr<SystemFile> file, bool owned, std::int64_t size)
        : file_(std::move(file)), owned_(owned), size_(size) {}

    std::shared_ptr<SystemFile> file_;
    bool owned_ = true;
    std::int64_t size_ = 0;
    bool closed_ = false;
    bool keepJournal_ = true;
    std::size_t writes_ = 0;
    std::vector<BytePatch> journal_;
};

// The message for a map that is no longer the file that was loaded.
std::string ChangedOnDiskMessage(const std::string& path);

}  // namespace quorin
