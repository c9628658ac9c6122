// SPDX-License-Identifier: GPL-3.0-or-later
#include "file/SystemFile.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "base/TextFormat.h"

namespace quorin {

namespace {

FileIdentity IdentityOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

Error CreateRefused(const std::string& path, int error) {
    return Error(ErrorCode::WriteFailed, path, std::nullopt)
           << "Can't create a file beside \"" << FilePath{path} << "\": " << std::strerror(error) << ".";
}

// A file on descriptor 0, 1 or 2 would take whatever the program writes to
// standard output or error, so it moves up to the lowest free one from 3.
int AboveStandardDescriptors(int descriptor) {
    if (descriptor < 0 || descriptor > 2) return descriptor;
    const int moved = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    const int error = errno;
    ::close(descriptor);
    errno = error;
    return moved;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// ---- Ending signals ----
//
// The handler may only touch what is set aside for it here: no allocation,
// no locks, only async-signal-safe calls.

// Temporary files that have a name, removed when a signal ends the run.
struct RemovalSlot {
    std::atomic<bool> taken{false};
    std::atomic<bool> armed{false};
    char path[PATH_MAX] = {};
};
RemovalSlot gRemovals[4];

std::atomic<int> gWritesUnderway{0};
std::atomic<int> gEndingSignal{0};

// A slot for path, or -1 when none is free (the name is then only removed
// by the run itself).
int RemoveOnSignal(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < static_cast<int>(std::size(gRemovals)); ++i) {
        bool free = false;
        if (!gRemovals[i].taken.compare_exchange_strong(free, true)) continue;
        std::memcpy(gRemovals[i].path, path.c_str(), path.size() + 1);
        gRemovals[i].armed.store(true);
        return i;
    }
    return -1;
}

void KeepOnSignal(int slot) {
    if (slot < 0) return;
    gRemovals[slot].armed.store(false);
    gRemovals[slot].taken.store(false);
}

[[noreturn]] void EndWith(int signal) {
    for (RemovalSlot& slot : gRemovals) {
        if (slot.armed.load()) ::unlink(slot.path);
    }
    struct sigaction usual {};
    usual.sa_handler = SIG_DFL;
    sigemptyset(&usual.sa_mask);
    ::sigaction(signal, &usual, nullptr);
    // Inside its own handler the signal is blocked; it must arrive now.
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void OnEndingSignal(int signal) {
    gEndingSignal.store(signal);
    if (gWritesUnderway.load() == 0) EndWith(signal);
    // Otherwise the write's end ends the process (~UninterruptedWrite).
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// ---- Names for new files ----

std::string UniqueSuffix() {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string suffix = ".";
    for (int i = 0; i < 6; ++i) suffix += kLetters[random() % (sizeof(kLetters) - 1)];
    return suffix;
}

// Gives an unnamed file the name name; 0 or an errno value.
int LinkUnnamed(int descriptor, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    const int error = errno;
    if (error != ENOENT) return error;
    // No /proc: the descriptor itself, which takes a privilege.
    if (::linkat(descriptor, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    return errno == ENOENT ? error : errno;
}

std::string WaitText(std::chrono::milliseconds wait) {
    if (wait.count() % 1000 == 0) return Decimal(wait.count() / 1000) + " seconds";
    return Decimal(wait.count()) + " ms";
}

}  // namespace

void OpenClosedStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        // Those below are open by now, so this is the lowest free descriptor.
        const int opened = ::open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != descriptor) {
            ::dup2(opened, descriptor);
            ::close(opened);
        }
    }
}

void HandleEndingSignals() {
    for (const int signal : kEndingSignals) {
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) continue;
        struct sigaction handling {};
        handling.sa_handler = OnEndingSignal;
        sigemptyset(&handling.sa_mask);
        for (const int other : kEndingSignals) sigaddset(&handling.sa_mask, other);
        handling.sa_flags = SA_RESTART;
        ::sigaction(signal, &handling, nullptr);
    }
}

UninterruptedWrite::UninterruptedWrite() {
    gWritesUnderway.fetch_add(1);
    // A signal that came before this write began is ending the process; the
    // write does not begin.
    if (const int signal = gEndingSignal.load(); signal != 0) {
        gWritesUnderway.fetch_sub(1);
        EndWith(signal);
    }
}

UninterruptedWrite::~UninterruptedWrite() {
    if (gWritesUnderway.fetch_sub(1) == 1) {
        if (const int signal = gEndingSignal.load(); signal != 0) EndWith(signal);
    }
}

WriteLock& WriteLock::operator=(WriteLock&& other) noexcept {
    if (this != &other) {
        release();
        file_ = std::exchange(other.file_, nullptr);
    }
    return *this;
}

void WriteLock::release() {
    if (file_) std::exchange(file_, nullptr)->releaseLock();
}

Result<SystemFile> SystemFile::open(const std::string& path, Access access) {
    const bool reading = access == Access::Read;
    const auto refused = [&](ErrorCode code, const std::string& reason) {
        return Error(code, path, std::nullopt)
               << (reading ? "Can't open \"" : "Can't write to \"") << FilePath{path} << "\": " << reason << ".";
    };
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    int descriptor = AboveStandardDescriptors(
        ::open(path.c_str(), (reading ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return refused(ErrorCode::CannotOpen, reading ? "the file does not exist" : "the file no longer exists");
        }
        if (error == EISDIR) return refused(ErrorCode::NotRegularFile, "it is not a regular file");
        if (error == EACCES && !reading) {
            return refused(ErrorCode::ReadOnly, "the file is read-only or you may not write it");
        }
        return refused(ErrorCode::CannotOpen, std::strerror(error));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        return refused(ErrorCode::CannotOpen, std::strerror(error));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return refused(ErrorCode::NotRegularFile, "it is not a regular file");
    }
    // Regular files never block; reads and writes go back to the usual mode.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    const bool writable = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    if (!reading && !writable) {
        // A user who may override the permission bits still leaves a file
        // marked read-only alone.
        ::close(descriptor);
        return refused(ErrorCode::ReadOnly, "the file is read-only");
    }
    return SystemFile(descriptor, path, IdentityOf(status), writable);
}

SystemFile::SystemFile(int descriptor, std::string path, FileIdentity identity, bool markedWritable)
    : descriptor_(descriptor), path_(std::move(path)), identity_(identity), markedWritable_(markedWritable) {}

SystemFile::SystemFile(SystemFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      path_(std::move(other.path_)),
      identity_(other.identity_),
      markedWritable_(other.markedWritable_),
      unnamed_(std::exchange(other.unnamed_, false)),
      temporaryName_(std::exchange(other.temporaryName_, false)),
      removalSlot_(std::exchange(other.removalSlot_, -1)) {}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        dropTemporaryName();
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
        path_ = std::move(other.path_);
        identity_ = other.identity_;
        markedWritable_ = other.markedWritable_;
        unnamed_ = std::exchange(other.unnamed_, false);
        temporaryName_ = std::exchange(other.temporaryName_, false);
        removalSlot_ = std::exchange(other.removalSlot_, -1);
    }
    return *this;
}

SystemFile::~SystemFile() {
    dropTemporaryName();
    if (descriptor_ >= 0) ::close(descriptor_);
}

void SystemFile::dropTemporaryName() {
    if (temporaryName_) ::unlink(path_.c_str());
    temporaryName_ = false;
    KeepOnSignal(std::exchange(removalSlot_, -1));
}

Result<FileIdentity> SystemFile::currentIdentity() const {
    struct stat status {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0) {
        return Error(ErrorCode::CannotOpen, path_, std::nullopt)
               << "Can't look at \"" << FilePath{path_} << "\": " << std::strerror(errno) << ".";
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
            return Error(ErrorCode::ReadFailed, path_, offset)
                   << "Can't read \"" << FilePath{path_} << "\" at offset " << FileOffset{offset}
                   << ": the file changed or could not be read.";
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
        if (got < 0) {
            return Error(ErrorCode::ReadFailed, path_, std::nullopt)
                   << "Can't read \"" << FilePath{path_} << "\": " << std::strerror(errno) << ".";
        }
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
            return Error(ErrorCode::WriteFailed, path_, offset)
                   << "Writing to \"" << FilePath{path_} << "\" at offset " << FileOffset{offset}
                   << " failed: " << std::strerror(put < 0 ? errno : EIO) << ".";
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
        return Error(ErrorCode::WriteFailed, path_, std::nullopt)
               << "Writing to \"" << FilePath{path_} << "\" failed when the file was closed: " << std::strerror(errno)
               << ".";
    }
    return success();
}

Status SystemFile::cutShort(std::int64_t size) {
    if (::ftruncate(descriptor_, static_cast<off_t>(size)) != 0) {
        return Error(ErrorCode::WriteFailed, path_, std::nullopt)
               << "Can't cut \"" << FilePath{path_} << "\" back to " << Decimal(size)
               << " bytes: " << std::strerror(errno) << ".";
    }
    return success();
}

Result<WriteLock> SystemFile::lockForWriting(std::chrono::milliseconds wait) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;  // from the start, l_len 0: the whole file however long
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    // Asked again and again rather than waited on: a blocking wait could
    // only be bounded by a timer signal aimed at this thread.
    while (true) {
        if (::fcntl(descriptor_, F_OFD_SETLK, &whole) == 0) return WriteLock(this);
        const int error = errno;
        if (error == EINTR) continue;
        // A file system (or kernel) without these locks: writers are not kept
        // apart there, as before there were locks.
        if (error == EINVAL || error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS) return WriteLock();
        if (error != EAGAIN && error != EACCES) {
            return Error(ErrorCode::WriteFailed, path_, std::nullopt)
                   << "Can't write to \"" << FilePath{path_}
                   << "\": its lock could not be taken: " << std::strerror(error) << ". Nothing was written.";
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return Error(ErrorCode::Busy, path_, std::nullopt)
                   << "Can't write to \"" << FilePath{path_} << "\": another program (another Quorin run, say) is "
                   << "writing it and did not finish within " << WaitText(wait) << ". Nothing was written.";
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

void SystemFile::releaseLock() {
    if (descriptor_ < 0) return;
    struct flock whole {};
    whole.l_type = F_UNLCK;
    whole.l_whence = SEEK_SET;
    ::fcntl(descriptor_, F_OFD_SETLK, &whole);
}

Status SystemFile::takeOwner(const FileOwner& owner) {
    if (::fchown(descriptor_, owner.user, owner.group) != 0) {
        // A user who may not give the file away keeps it; the group may
        // still be theirs to give.
        (void)::fchown(descriptor_, static_cast<uid_t>(-1), owner.group);
    }
    if (::fchmod(descriptor_, static_cast<mode_t>(owner.mode & 07777)) != 0) {
        return Error(ErrorCode::WriteFailed, path_, std::nullopt)
               << "Can't set the permissions of \"" << FilePath{path_} << "\": " << std::strerror(errno) << ".";
    }
    return success();
}

Result<FileReplacement> FileReplacement::prepare(const std::string& path) {
    const auto refused = [&](ErrorCode code, const std::string& reason) {
        return Error(code, path, std::nullopt) << "Can't write to \"" << FilePath{path} << "\": " << reason << ".";
    };
    // O_PATH opens neither a FIFO nor a device, so looking never blocks and
    // never wakes hardware; O_NOFOLLOW makes a link count as what it is.
    const int descriptor = AboveStandardDescriptors(::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENOENT) return FileReplacement(path, false, {});
        return refused(ErrorCode::CannotOpen, std::strerror(error));
    }
    struct stat status {};
    const bool looked = ::fstat(descriptor, &status) == 0;
    const int error = errno;
    ::close(descriptor);
    if (!looked) return refused(ErrorCode::CannotOpen, std::strerror(error));
    if (!S_ISREG(status.st_mode)) return refused(ErrorCode::NotRegularFile, "it is not a regular file");
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return refused(ErrorCode::ReadOnly, "the file is read-only");
    }
    return FileReplacement(path, true, {status.st_uid, status.st_gid, static_cast<unsigned>(status.st_mode & 07777)});
}

Status FileReplacement::commit(std::span<const std::uint8_t> bytes, bool mayReplace) const {
    const auto failed = [&](const Error& error) {
        return Error(error.code, path_, error.offset) << "Can't write to \"" << FilePath{path_} << "\": " << error;
    };
    // A new file gets what the user's file creation mask allows; a replaced
    // one keeps its owner, group and permission bits.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    auto file = SystemFile::createBeside(path_, 0666u & ~static_cast<unsigned>(mask));
    if (!file) return failed(file.error());
    Status done = existing_ ? file->takeOwner(owner_) : success();
    // Every byte reaches the disk before the name moves: a full disk shows
    // here, while path still holds the old file.
    if (done) done = file->writeAt(0, bytes);
    if (done) done = file->sync();
    if (done) done = file->placeAs(path_, mayReplace);
    if (done) done = file->close();
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
        if (got < 0) {
            return Error(ErrorCode::ReadFailed,
                         std::string("Can't read standard input: ") + std::strerror(errno) + ".");
        }
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
        return Error(ErrorCode::WriteFailed, path_, std::nullopt)
               << "Writing to \"" << FilePath{path_} << "\" failed when it was flushed: " << std::strerror(errno)
               << ".";
    }
    return success();
}

Status SystemFile::copyTo(SystemFile& target) const {
    const auto failed = [&](int error) {
        return Error(ErrorCode::WriteFailed, target.path_, std::nullopt)
               << "Copying \"" << FilePath{path_} << "\" to \"" << FilePath{target.path_}
               << "\" failed: " << std::strerror(error) << ".";
    };
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) return failed(errno);
    const std::int64_t size = status.st_size;
    // The copy belongs to whoever owns the original and may be read by
    // whoever may read it.
    (void)target.takeOwner({status.st_uid, status.st_gid, static_cast<unsigned>(status.st_mode & 07777)});
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
    const int descriptor =
        AboveStandardDescriptors(::open(FolderOf(path).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    // Where the file system cannot make a file without a name (or the folder
    // is wrong), the named way says why.
    if (descriptor < 0) return createNamedBeside(path, permissions);
    struct stat status {};
    if (::fchmod(descriptor, static_cast<mode_t>(permissions & 07777)) != 0 || ::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        return CreateRefused(path, error);
    }
    SystemFile file(descriptor, path, IdentityOf(status), true);
    file.unnamed_ = true;
    return file;
}

Result<SystemFile> SystemFile::createNamedBeside(const std::string& path, unsigned permissions) {
    std::string name = path + ".XXXXXX";
    const int made = ::mkostemp(name.data(), O_CLOEXEC);
    const int descriptor = AboveStandardDescriptors(made);
    if (descriptor < 0) {
        const int error = errno;
        if (made >= 0) ::unlink(name.c_str());
        return CreateRefused(path, error);
    }
    SystemFile file(descriptor, name, {}, true);
    file.temporaryName_ = true;
    file.removalSlot_ = RemoveOnSignal(name);
    struct stat status {};
    if (::fchmod(descriptor, static_cast<mode_t>(permissions & 07777)) != 0 || ::fstat(descriptor, &status) != 0) {
        return CreateRefused(path, errno);
    }
    file.identity_ = IdentityOf(status);
    return file;
}

Status SystemFile::placeAs(const std::string& target, bool mayReplace) {
    const auto renamed = [&](const std::string& from) -> Status {
        if (::rename(from.c_str(), target.c_str()) != 0) {
            return Error(ErrorCode::WriteFailed, target, std::nullopt)
                   << "Can't rename \"" << FilePath{from} << "\" to \"" << FilePath{target}
                   << "\": " << std::strerror(errno) << ".";
        }
        return success();
    };
    const auto exists = [&] {
        return Error(ErrorCode::WriteFailed, target, std::nullopt) << "\"" << FilePath{target} << "\" exists already.";
    };
    const auto failed = [&](int error) {
        return Error(ErrorCode::WriteFailed, target, std::nullopt) << std::strerror(error) << ".";
    };
    if (temporaryName_) {
        if (mayReplace) {
            if (auto moved = renamed(path_); !moved) return moved;
        } else if (::link(path_.c_str(), target.c_str()) == 0) {
            ::unlink(path_.c_str());
        } else {
            const int error = errno;
            if (error == EEXIST) return exists();
            if (error != EPERM && error != EOPNOTSUPP) return failed(error);
            // A file system without hard links: target was absent a moment ago.
            if (auto moved = renamed(path_); !moved) return moved;
        }
        temporaryName_ = false;
        KeepOnSignal(std::exchange(removalSlot_, -1));
        path_ = target;
        return success();
    }
    if (!unnamed_) {
        return Error(ErrorCode::WriteFailed, path_, std::nullopt)
               << "\"" << FilePath{path_} << "\" is no new file to place.";
    }
    if (!mayReplace) {
        if (const int error = LinkUnnamed(descriptor_, target); error != 0) {
            return error == EEXIST ? exists() : failed(error);
        }
    } else {
        // A link never replaces a name: the file takes a name of its own
        // beside target first, removed by a signal until it has moved over.
        int error = EEXIST;
        std::string name;
        int slot = -1;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            KeepOnSignal(slot);
            name = target + UniqueSuffix();
            slot = RemoveOnSignal(name);
            error = LinkUnnamed(descriptor_, name);
        }
        Status moved = error == 0 ? renamed(name)
                                  : Error(ErrorCode::WriteFailed, target, std::nullopt)
                                        << "Can't give the new file a name beside \"" << FilePath{target}
                                        << "\": " << std::strerror(error) << ".";
        if (!moved && error == 0) ::unlink(name.c_str());
        KeepOnSignal(slot);
        if (!moved) return moved;
    }
    unnamed_ = false;
    path_ = target;
    return success();
}

}  // namespace quorin
