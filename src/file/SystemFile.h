// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place that asks the operating system for files: opening without
// blocking, checking the kind of file on the open descriptor, positioned
// reads and writes, and the identity that tells whether a path still names
// the file that was opened; the lock that keeps two writers apart, and the
// signals that would end a write half done. A port to another platform
// changes this file and its .cpp only.
//
// No file is ever opened on descriptors 0, 1 or 2: a program started with
// one of them closed would otherwise have its messages or its output land
// in the file.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/Result.h"

namespace quorin {

// Which file, in which state: two identities are equal only when the path
// still leads to the same file with the same size and modification time.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// Who owns a file and its permission bits, to be given to the file that
// replaces it.
struct FileOwner {
    std::uint32_t user = 0;
    std::uint32_t group = 0;
    unsigned mode = 0;  // the permission bits, with set-user-ID, set-group-ID and sticky
};

class SystemFile;

// The lock one writer holds over a whole file while it checks and writes
// it; released when this ends (or by release()). Quorin runs wait for one
// another through it; it is an open-file-description lock, so two opens in
// one process exclude each other too.
class WriteLock {
public:
    WriteLock() = default;
    WriteLock(WriteLock&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}
    WriteLock& operator=(WriteLock&& other) noexcept;
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    ~WriteLock() { release(); }

    void release();

private:
    friend class SystemFile;
    explicit WriteLock(SystemFile* file) : file_(file) {}

    SystemFile* file_ = nullptr;
};

// How long a write waits for another writer's lock before it gives up.
inline constexpr std::chrono::milliseconds kWriteLockWait{10'000};

class SystemFile {
public:
    enum class Access { Read, ReadWrite };

    // Opens an existing regular file. The open never blocks (a FIFO or a
    // device put in place of the file is refused, not waited on): the kind
    // is checked on the descriptor, not on the path. A refusal reads
    // "Can't open "PATH": REASON." ("Can't write to" when opened for writing).
    [[nodiscard]] static Result<SystemFile> open(const std::string& path, Access access);

    SystemFile(SystemFile&& other) noexcept;
    SystemFile& operator=(SystemFile&& other) noexcept;
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;
    ~SystemFile();

    const std::string& path() const { return path_; }
    // The size when the file was opened.
    std::int64_t size() const { return identity_.size; }
    // The identity when the file was opened.
    const FileIdentity& identity() const { return identity_; }
    // The identity now, read from the descriptor.
    [[nodiscard]] Result<FileIdentity> currentIdentity() const;
    // Whether the permission bits allow writing, for anyone (a user who may
    // override them is still refused a file marked read-only).
    bool markedWritable() const { return markedWritable_; }

    // Exactly bytes.size() bytes at offset, or an error (a short read means
    // the file shrank under us).
    [[nodiscard]] Status readAt(std::int64_t offset, std::span<std::uint8_t> bytes) const;
    // The file's bytes from the start, at most limit of them: fewer when the
    // file ends first. Never more than limit is held in memory.
    [[nodiscard]] Result<std::vector<std::uint8_t>> readFromStart(std::size_t limit) const;
    // Exactly bytes.size() bytes at offset.
    [[nodiscard]] Status writeAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    // Closes the descriptor, reporting a failed close.
    [[nodiscard]] Status close();
    // Cuts the file to size bytes (never makes it longer than it is).
    [[nodiscard]] Status cutShort(std::int64_t size);

    // Takes the write lock over the whole file, waiting at most wait while
    // another writer holds it. A file system without such locks gives a
    // lock that holds nothing. The file must be open for writing.
    [[nodiscard]] Result<WriteLock> lockForWriting(std::chrono::milliseconds wait = kWriteLockWait);

    // Gives the file owner's user and group (where this user may: root
    // always, others only to a group they belong to) and then its
    // permission bits, which a change of owner would clear in part.
    [[nodiscard]] Status takeOwner(const FileOwner& owner);

    // Whether this user may write the file now (permission bits, ownership,
    // a read-only mount), asked of the path the file was opened by.
    [[nodiscard]] bool userMayWrite() const;
    // Forces what was written to the disk.
    [[nodiscard]] Status sync();
    // The whole file, as it is now, into target, which must be empty; done by
    // the kernel where it can. The copy gets this file's owner, group and
    // permission bits (see takeOwner).
    [[nodiscard]] Status copyTo(SystemFile& target) const;

    // A new, empty file in path's folder that is to take path's name once it
    // is complete (placeAs); only the owner may read it unless permissions
    // say otherwise. Where the file system allows it the file has no name
    // until then, so a run killed meanwhile leaves nothing behind; elsewhere
    // it is createNamedBeside's.
    [[nodiscard]] static Result<SystemFile> createBeside(const std::string& path, unsigned permissions = 0600);
    // The same with a name: path and a unique suffix. The name is removed
    // when the file is dropped unplaced, and by SIGINT, SIGTERM and SIGHUP.
    [[nodiscard]] static Result<SystemFile> createNamedBeside(const std::string& path, unsigned permissions = 0600);
    // Gives a file from createBeside the name target in one step: target
    // names either its old file or this one, never a part of it. With
    // mayReplace false a file at target is kept and the placing refused.
    [[nodiscard]] Status placeAs(const std::string& target, bool mayReplace);

private:
    friend class WriteLock;
    SystemFile(int descriptor, std::string path, FileIdentity identity, bool markedWritable);
    void releaseLock();
    // Removes the name of a temporary file that was never placed.
    void dropTemporaryName();

    int descriptor_ = -1;
    std::string path_;
    FileIdentity identity_;
    bool markedWritable_ = false;
    bool unnamed_ = false;        // made by O_TMPFILE, no name yet
    bool temporaryName_ = false;  // path_ is a temporary name to remove unless placed
    int removalSlot_ = -1;        // where a signal finds that name
};

// Writes a whole new file at path through a temporary file beside it, which
// is renamed over path only once every byte is on disk: a failure (a full
// disk, say) leaves path as it was. path is looked at once, without
// following a link and without opening what it names, so a FIFO or a device
// there is refused, never waited on or written.
class FileReplacement {
public:
    // Refuses a path that names anything but a regular file, or a regular
    // file marked read-only ("Can't write to "PATH": REASON.").
    [[nodiscard]] static Result<FileReplacement> prepare(const std::string& path);

    // Whether a regular file was at path when prepared.
    bool replacesExisting() const { return existing_; }

    // Writes bytes and puts them at path. With mayReplace false a file that
    // appeared at path meanwhile is kept and the write refused; with it true
    // the new file takes the old one's owner, group and permission bits. The
    // temporary file never outlives this call, nor a run killed during it.
    [[nodiscard]] Status commit(std::span<const std::uint8_t> bytes, bool mayReplace) const;

private:
    FileReplacement(std::string path, bool existing, FileOwner owner)
        : path_(std::move(path)), existing_(existing), owner_(owner) {}

    std::string path_;
    bool existing_ = false;
    FileOwner owner_;  // the existing file's
};

// Whether descriptor (1 for standard output) is a terminal.
bool IsTerminal(int descriptor);

// Standard input from where it stands to its end, at most limit bytes: fewer
// when it ends first. Never more than limit is held in memory.
[[nodiscard]] Result<std::vector<std::uint8_t>> ReadStandardInput(std::size_t limit);

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that
// nothing opened later takes their place. Called first thing by each
// executable.
void OpenClosedStandardDescriptors();

// SIGINT, SIGTERM and SIGHUP end the process as they always do, except that
// a write under way (see UninterruptedWrite) is finished first and a
// temporary file that has a name is removed. Called once at start by each
// executable; a signal the process was started ignoring stays ignored.
void HandleEndingSignals();

// While one lives, SIGINT, SIGTERM and SIGHUP wait: a write of many fields
// runs to its end (milliseconds), and then the process ends with the
// signal's usual status. Writes come from one thread at a time.
class UninterruptedWrite {
public:
    UninterruptedWrite();
    UninterruptedWrite(const UninterruptedWrite&) = delete;
    UninterruptedWrite& operator=(const UninterruptedWrite&) = delete;
    ~UninterruptedWrite();
};

}  // namespace quorin
