// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place that asks the operating system for files: opening without
// blocking, checking the kind of file on the open descriptor, positioned
// reads and writes, and the identity that tells whether a path still names
// the file that was opened. A port to another platform changes this file
// and its .cpp only.

#include <cstdint>
#include <span>
#include <string>
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
    // The size now, from the descriptor. Cheaper than currentIdentity
    // between many small writes: asking for the times makes the file system
    // stamp each following write with a fresh time.
    [[nodiscard]] Result<std::int64_t> currentSize() const;
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

    // Whether this user may write the file now (permission bits, ownership,
    // a read-only mount), asked of the path the file was opened by.
    [[nodiscard]] bool userMayWrite() const;
    // Forces what was written to the disk.
    [[nodiscard]] Status sync();
    // The whole file, as it is now, into target, which must be empty; done by
    // the kernel where it can.
    [[nodiscard]] Status copyTo(SystemFile& target) const;

    // A new, empty file named after path with a unique suffix, in the same
    // folder, so that it can be renamed over path; only the owner may read
    // it unless permissions say otherwise.
    [[nodiscard]] static Result<SystemFile> createBeside(const std::string& path, unsigned permissions = 0600);
    // Renames from over to in one step: to names either its old file or the
    // new one, never a part of it.
    [[nodiscard]] static Status replace(const std::string& from, const std::string& to);
    // Gives from's file the name to as well, refusing when to exists.
    [[nodiscard]] static Status linkNew(const std::string& from, const std::string& to);
    // Removes path; a file that is already gone is no error.
    static void remove(const std::string& path);

private:
    SystemFile(int descriptor, std::string path, FileIdentity identity, bool markedWritable);

    int descriptor_ = -1;
    std::string path_;
    FileIdentity identity_;
    bool markedWritable_ = false;
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
    // the new file takes the old one's permission bits. The temporary file
    // never outlives this call.
    [[nodiscard]] Status commit(std::span<const std::uint8_t> bytes, bool mayReplace) const;

private:
    FileReplacement(std::string path, bool existing, unsigned permissions)
        : path_(std::move(path)), existing_(existing), permissions_(permissions) {}

    std::string path_;
    bool existing_ = false;
    unsigned permissions_ = 0;
};

// Whether descriptor (1 for standard output) is a terminal.
bool IsTerminal(int descriptor);

// Standard input from where it stands to its end, at most limit bytes: fewer
// when it ends first. Never more than limit is held in memory.
[[nodiscard]] Result<std::vector<std::uint8_t>> ReadStandardInput(std::size_t limit);

}  // namespace quorin
