// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one write path into a Map file. It opens an existing regular file for
// reading and writing, can only overwrite bytes inside it (never grow or
// truncate it), and reports a failed open, write or close. Every write keeps
// the bytes it replaced, so the caller can take it back.
//
// A writer holds the file's write lock from its first look at the file to
// its close, so two Quorin writers never interleave. Before each write the
// file must still have the identity the writer last saw (another program
// that touched, rewrote or cut it short since stops the writing), and after
// each write the size is checked again: a write that made a file cut short
// meanwhile longer is taken off again. Once the first byte is written,
// SIGINT and SIGTERM wait for the close.

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
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

// One field of many to write at once.
struct FieldBytes {
    std::int64_t offset = 0;
    std::string_view bytes;
};

// How far writeFields got: the fields written, and what stopped the rest.
struct FieldsWritten {
    std::size_t fields = 0;
    Status status = success();
};

class MapWriter {
public:
    // Refuses a missing file, anything but a regular file, a file whose
    // permission bits forbid writing (even for a user who could override
    // them), one that cannot be opened and one whose lock another writer
    // holds for longer than lockWait.
    [[nodiscard]] static Result<MapWriter> open(const std::string& path,
                                                std::chrono::milliseconds lockWait = kWriteLockWait);
    // As open, and only while path still leads to the file that was loaded:
    // the identity of the descriptor opened now, once the lock is taken,
    // must equal loaded.
    [[nodiscard]] static Result<MapWriter> openUnchanged(const std::string& path, const FileIdentity& loaded,
                                                         std::chrono::milliseconds lockWait = kWriteLockWait);
    // Writes through a descriptor that is already open for writing (the one
    // the map was read through), while its file is still as loaded.
    [[nodiscard]] static Result<MapWriter> through(std::shared_ptr<SystemFile> file, const FileIdentity& loaded,
                                                   std::chrono::milliseconds lockWait = kWriteLockWait);

    std::int64_t size() const { return expected_.size; }
    const std::string& path() const { return file_->path(); }

    // The low 16 bits of value, little-endian.
    [[nodiscard]] Status writeInt16(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeInt32(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeBytes(std::int64_t offset, std::string_view bytes);
    [[nodiscard]] Status writeZeros(std::int64_t offset, std::int64_t count);
    // Many small fields, in order, as writeBytes one by one would leave the
    // file; fields that follow one another up the file close together go in
    // as one write of the bytes from the first to the last (the bytes
    // between them written back as they were read), so a table's worth of
    // fields costs one check and one write. The journal holds one patch per
    // such write. Stops at the first write refused.
    [[nodiscard]] FieldsWritten writeFields(std::span<const FieldBytes> fields);

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

    // Releases the lock and closes the file (a descriptor lent by through()
    // stays open); the writes are in the file once this succeeds.
    [[nodiscard]] Status close();

private:
    MapWriter(std::shared_ptr<SystemFile> file, bool owned, WriteLock lock, const FileIdentity& now)
        : file_(std::move(file)), owned_(owned), lock_(std::move(lock)), expected_(now) {}
    // Takes file's lock; then the file must have the identity loaded, when given.
    static Result<MapWriter> locked(std::shared_ptr<SystemFile> file, bool owned, const FileIdentity* loaded,
                                    std::chrono::milliseconds lockWait);

    // Refuses a range outside the file.
    [[nodiscard]] Status inside(std::int64_t offset, std::int64_t length) const;
    // Refuses a file that no longer has the identity expected_.
    [[nodiscard]] Status unchanged() const;
    // The bytes at offset, for the journal; a read that fails because the
    // file changed says that.
    [[nodiscard]] Status readBefore(std::int64_t offset, std::string& bytes) const;
    // Writes after at offset once the file is found as this writer left it,
    // then checks what the write did to its size. before is the journal's.
    [[nodiscard]] Status put(std::int64_t offset, std::string_view after, std::string before);
    // After a write at offset that ended the file although it should be
    // longer: the file was cut short meanwhile, and the write may have made
    // it longer again.
    [[nodiscard]] Error cutBack(std::int64_t offset, std::int64_t end);

    std::shared_ptr<SystemFile> file_;
    bool owned_ = true;
    WriteLock lock_;
    // The identity the file must have before the next write.
    FileIdentity expected_;
    std::unique_ptr<UninterruptedWrite> underway_;  // from the first write to the close
    bool closed_ = false;
    bool keepJournal_ = true;
    std::size_t writes_ = 0;
    std::vector<BytePatch> journal_;
};

// The refusal of a write to a map that is no longer the file that was loaded.
Error ChangedOnDisk(const std::string& path);

}  // namespace quorin
