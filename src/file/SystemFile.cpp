// SPDX-License-Identifier: GPL-3.0-or-later
#include "file/SystemFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace quorin {

namespace {

FileIdentity IdentityOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

Result<SystemFile> SystemFile::open(const std::string& path, Access access) {
    const bool reading = access == Access::Read;
    const auto refused = [&](const std::string& reason) {
        return Error{(reading ? "Can't open " : "Can't write to ") + Quoted(path) + ": " + reason + "."};
    };
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    int descriptor = ::open(path.c_str(), (reading ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENOENT) return refused(reading ? "the file does not exist" : "the file no longer exists");
        if (error == EISDIR) return refused("it is not a regular file");
        if (error == EACCES && !reading) return refused("the file is read-only or you may not write it");
        return refused(std::strerror(error));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        return refused(std::strerror(error));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return refused("it is not a regular file");
    }
    // Regular files never block; reads and writes go back to the usual mode.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    const bool writable = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    if (!reading && !writable) {
        // A user who may override the permission bits still leaves a file
        // marked read-only alone.
        ::close(descriptor);
        return refused("the file is read-only");
    }
    return SystemFile(descriptor, path, IdentityOf(status), writable);
}

SystemFile::SystemFile(int descriptor, std::string path, FileIdentity identity, bool markedWritable)
    : descriptor_(descriptor), path_(std::move(path)), identity_(identity), markedWritable_(markedWritable) {}

SystemFile::SystemFile(SystemFile&& other) noexcept
    : descriptor_(other.descriptor_),
      path_(std::move(other.path_)),
      identity_(other.identity_),
      markedWritable_(other.markedWritable_) {
    other.descriptor_ = -1;
}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = other.descriptor_;
        path_ = std::move(other.path_);
        identity_ = other.identity_;
        markedWritable_ = other.markedWritable_;
        other.descriptor_ = -1;
    }
    return *this;
}

SystemFile::~SystemFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

Result<FileIdentity> SystemFile::currentIdentity() const {
    struct stat status {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0) {
        return Error{"Can't look at " + Quoted(path_) + ": " + std::strerror(errno) + "."};
    }
    return IdentityOf(status);
}

Result<std::int64_t> SystemFile::currentSize() const {
    const off_t end = descriptor_ < 0 ? -1 : ::lseek(descriptor_, 0, SEEK_END);
    if (end < 0) return Error{"Can't look at " + Quoted(path_) + ": " + std::strerror(errno) + "."};
    return static_cast<std::int64_t>(end);
}

Status SystemFile::readAt(std::int64_t offset, std::span<std::uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(descriptor_, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            return Error{"Can't read " + Quoted(path_) + " at offset " + std::to_string(offset) +
                         ": the file changed or could not be read."};
        }
        done += static_cast<std::size_t>(got);
    }
    return success();
}

Result<std::vector<std::uint8_t>> SystemFile::readFromStart(std::size_t limit) const {
    std::vector<std::uint8_t> bytes;
    // The size seen at open is only a hint: the file may grow or shrink.
    bytes.resize(std::min<std::size_t>(limit, 64 * 1024));
    std::size_t done = 0;
    while (done < limit) {
        if (done == bytes.size()) bytes.resize(std::min(limit, bytes.size() * 2));
        const ssize_t got = ::pread(descriptor_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Error{"Can't read " + Quoted(path_) + ": " + std::strerror(errno) + "."};
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

Status SystemFile::writeAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(descriptor_, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            return Error{"Writing to " + Quoted(path_) + " at offset " + std::to_string(offset) + " failed: " +
                         std::strerror(put < 0 ? errno : EIO) + "."};
        }
        done += static_cast<std::size_t>(put);
    }
    return success();
}

Status SystemFile::close() {
    if (descriptor_ < 0) return success();
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0) {
        return Error{"Writing to " + Quoted(path_) + " failed when the file was closed: " + std::strerror(errno) +
                     "."};
    }
    return success();
}

Result<FileReplacement> FileReplacement::prepare(const std::string& path) {
    const auto refused = [&](const std::string& reason) {
        return Error{"Can't write to " + Quoted(path) + ": " + reason + "."};
    };
    // O_PATH opens neither a FIFO nor a device, so looking never blocks and
    // never wakes hardware; O_NOFOLLOW makes a link count as what it is.
    const int descriptor = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENOENT) return FileReplacement(path, false, 0);
        return refused(std::strerror(error));
    }
    struct stat status {};
    const bool looked = ::fstat(descriptor, &status) == 0;
    const int error = errno;
    ::close(descriptor);
    if (!looked) return refused(std::strerror(error));
    if (!S_ISREG(status.st_mode)) return refused("it is not a regular file");
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return refused("the file is read-only");
    return FileReplacement(path, true, static_cast<unsigned>(status.st_mode & 0777));
}

Status FileReplacement::commit(std::span<const std::uint8_t> bytes, bool mayReplace) const {
    const auto failed = [&](const Error& error) {
        return Error{"Can't write to " + Quoted(path_) + ": " + error.message};
    };
    // A replaced file keeps its permission bits; a new one gets what the
    // user's file creation mask allows.
    unsigned permissions = permissions_;
    if (!existing_) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        permissions = 0666u & ~static_cast<unsigned>(mask);
    }
    auto temporary = SystemFile::createBeside(path_, permissions);
    if (!temporary) return failed(temporary.error());
    const std::string temporaryPath = temporary->path();
    // Every byte reaches the disk before the name moves: a full disk shows
    // here, while path still holds the old file.
    Status done = temporary->writeAt(0, bytes);
    if (done) done = temporary->sync();
    if (done) done = temporary->close();
    if (done) done = mayReplace ? SystemFile::replace(temporaryPath, path_) : SystemFile::linkNew(temporaryPath, path_);
    if (!mayReplace || !done) SystemFile::remove(temporaryPath);
    if (!done) return failed(done.error());
    return success();
}

bool IsTerminal(int descriptor) { return ::isatty(descriptor) == 1; }

Result<std::vector<std::uint8_t>> ReadStandardInput(std::size_t limit) {
    std::vector<std::uint8_t> bytes(std::min<std::size_t>(limit, 64 * 1024));
    std::size_t done = 0;
    while (done < limit) {
        if (done == bytes.size()) bytes.resize(std::min(limit, bytes.size() * 2));
        const ssize_t got = ::read(STDIN_FILENO, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Error{std::string("Can't read standard input: ") + std::strerror(errno) + "."};
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

bool SystemFile::userMayWrite() const {
    return markedWritable_ && ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) == 0;
}

Status SystemFile::sync() {
    if (::fsync(descriptor_) != 0) {
        return Error{"Writing to " + Quoted(path_) + " failed when it was flushed: " + std::strerror(errno) + "."};
    }
    return success();
}

Status SystemFile::copyTo(SystemFile& target) const {
    const auto failed = [&](int error) {
        return Error{"Copying " + Quoted(path_) + " to " + Quoted(target.path_) + " failed: " + std::strerror(error) +
                     "."};
    };
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) return failed(errno);
    const std::int64_t size = status.st_size;
    // The copy may be read by whoever may read the original.
    ::fchmod(target.descriptor_, status.st_mode & 07777);
    std::int64_t done = 0;
    // The kernel copies without passing the bytes through this process; a
    // file system that cannot (or a kernel without the call) gets a plain copy.
    while (done < size) {
        off_t from = static_cast<off_t>(done);
        off_t to = static_cast<off_t>(done);
        const ssize_t copied = ::copy_file_range(descriptor_, &from, target.descriptor_, &to,
                                                 static_cast<std::size_t>(size - done), 0);
        if (copied < 0 && errno == EINTR) continue;
        if (copied < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) break;
        if (copied < 0) return failed(errno);
        if (copied == 0) return failed(EIO);  // the file shrank while it was copied
        done += copied;
    }
    std::vector<std::uint8_t> buffer(done < size ? std::size_t{1} << 20 : 0);
    while (done < size) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(size - done, buffer.size()));
        if (auto read = readAt(done, std::span(buffer.data(), chunk)); !read) return read;
        if (auto written = target.writeAt(done, std::span<const std::uint8_t>(buffer.data(), chunk)); !written) {
            return written;
        }
        done += static_cast<std::int64_t>(chunk);
    }
    return success();
}

Result<SystemFile> SystemFile::createBeside(const std::string& path, unsigned permissions) {
    std::string name = path + ".XXXXXX";
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0) {
        return Error{"Can't create a file beside " + Quoted(path) + ": " + std::strerror(errno) + "."};
    }
    struct stat status {};
    if (::fchmod(descriptor, static_cast<mode_t>(permissions & 07777)) != 0 || ::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        ::unlink(name.c_str());
        return Error{"Can't create a file beside " + Quoted(path) + ": " + std::strerror(error) + "."};
    }
    return SystemFile(descriptor, name, IdentityOf(status), true);
}

Status SystemFile::replace(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return Error{"Can't rename " + Quoted(from) + " to " + Quoted(to) + ": " + std::strerror(errno) + "."};
    }
    return success();
}

Status SystemFile::linkNew(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) == 0) return success();
    const int error = errno;
    // A file system without hard links: to was absent a moment ago.
    if ((error == EPERM || error == EOPNOTSUPP) && ::rename(from.c_str(), to.c_str()) == 0) return success();
    if (error == EEXIST) return Error{Quoted(to) + " exists already."};
    return Error{std::strerror(error) + std::string(".")};
}

void SystemFile::remove(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace quorin
