#include "map/SystemFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

}  // namespace quorin
