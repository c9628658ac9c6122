// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapWriter.h"

#include <algorithm>
#include <span>

#include "file/MapBackup.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

std::span<std::uint8_t> Bytes(std::string& text) {
    return {reinterpret_cast<std::uint8_t*>(text.data()), text.size()};
}

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::int64_t Length(std::string_view bytes) { return static_cast<std::int64_t>(bytes.size()); }

// Fields at most this far apart share a write; the bytes between them are
// read and written back. A table's fields lie tens of bytes apart.
constexpr std::int64_t kMostBytesBetweenFields = 64 * 1024;
// And one write holds at most this many bytes (twice, with the journal's).
constexpr std::int64_t kMostBytesPerWrite = 4 * 1024 * 1024;

}  // namespace

Error ChangedOnDisk(const std::string& path) {
    return Error(ErrorCode::ChangedOnDisk, path, std::nullopt)
           << "The map \"" << FilePath{path} << "\" changed on disk since it was loaded. Open it again to edit it.";
}

Result<MapWriter> MapWriter::open(const std::string& path, std::chrono::milliseconds lockWait) {
    auto file = SystemFile::open(path, SystemFile::Access::ReadWrite);
    if (!file) return Error(file.error()) << " Nothing was written.";
    return locked(std::make_shared<SystemFile>(std::move(*file)), true, nullptr, lockWait);
}

Result<MapWriter> MapWriter::openUnchanged(const std::string& path, const FileIdentity& loaded,
                                           std::chrono::milliseconds lockWait) {
    auto file = SystemFile::open(path, SystemFile::Access::ReadWrite);
    if (!file) return Error(file.error()) << " Nothing was written.";
    // The identity is the opened descriptor's, so the file checked is the
    // file written, whatever the path names a moment later.
    return locked(std::make_shared<SystemFile>(std::move(*file)), true, &loaded, lockWait);
}

Result<MapWriter> MapWriter::through(std::shared_ptr<SystemFile> file, const FileIdentity& loaded,
                                     std::chrono::milliseconds lockWait) {
    return locked(std::move(file), false, &loaded, lockWait);
}

Result<MapWriter> MapWriter::locked(std::shared_ptr<SystemFile> file, bool owned, const FileIdentity* loaded,
                                    std::chrono::milliseconds lockWait) {
    auto lock = file->lockForWriting(lockWait);
    if (!lock) return lock.error();
    // Looked at once the lock is held: a writer waited for may have changed it.
    auto now = file->currentIdentity();
    if (!now) return Error(now.error()) << " Nothing was written.";
    if (loaded && *now != *loaded) return ChangedOnDisk(file->path());
    return MapWriter(std::move(file), owned, std::move(*lock), *now);
}

Status MapWriter::inside(std::int64_t offset, std::int64_t length) const {
    if (closed_) {
        return Error(ErrorCode::WriteFailed, path(), std::nullopt)
               << "Can't write to \"" << FilePath{path()} << "\": the file is already closed.";
    }
    if (offset < 0 || offset > size() || length > size() - offset) {
        return Error(ErrorCode::OutOfBounds, path(), offset)
               << "Can't write " << Decimal(length) << " bytes at offset " << FileOffset{offset} << " of \""
               << FilePath{path()} << "\": that lies outside the file, which has " << Decimal(size())
               << " bytes. Nothing was written.";
    }
    return success();
}

Status MapWriter::writeBytes(std::int64_t offset, std::string_view bytes) {
    if (auto ok = inside(offset, Length(bytes)); !ok) return ok;
    if (bytes.empty()) return success();
    std::string before;
    if (keepJournal_) {
        before.resize(bytes.size());
        if (auto read = readBefore(offset, before); !read) return read;
    }
    return put(offset, bytes, std::move(before));
}

FieldsWritten MapWriter::writeFields(std::span<const FieldBytes> fields) {
    FieldsWritten written;
    for (std::size_t first = 0; first < fields.size();) {
        const std::int64_t start = fields[first].offset;
        std::int64_t end = start + Length(fields[first].bytes);
        std::size_t last = first + 1;
        // A field below the last one's end starts a write of its own, so the
        // later field still lands last.
        for (; last < fields.size(); ++last) {
            const FieldBytes& next = fields[last];
            const std::int64_t nextEnd = next.offset + Length(next.bytes);
            if (next.offset < end || next.offset - end > kMostBytesBetweenFields || nextEnd - start > kMostBytesPerWrite) {
                break;
            }
            end = nextEnd;
        }
        if (written.status = inside(start, end - start); !written.status) return written;
        std::string before(static_cast<std::size_t>(end - start), '\0');
        if (written.status = readBefore(start, before); !written.status) return written;
        std::string after = before;
        for (std::size_t i = first; i < last; ++i) {
            after.replace(static_cast<std::size_t>(fields[i].offset - start), fields[i].bytes.size(), fields[i].bytes);
        }
        if (written.status = put(start, after, keepJournal_ ? std::move(before) : std::string()); !written.status) {
            return written;
        }
        written.fields += last - first;
        first = last;
    }
    return written;
}

Status MapWriter::unchanged() const {
    // Found as this writer left it: a program that touched, rewrote or cut
    // the file since owns what is in it now. The check reads the whole
    // identity, modification time included.
    auto now = file_->currentIdentity();
    if (!now) return now.error();
    if (*now != expected_) return ChangedOnDisk(path());
    return success();
}

Status MapWriter::readBefore(std::int64_t offset, std::string& bytes) const {
    auto read = file_->readAt(offset, Bytes(bytes));
    if (read) return read;
    // A read cut off by a file cut short is that change.
    auto same = unchanged();
    return same ? read : same;
}

Status MapWriter::put(std::int64_t offset, std::string_view after, std::string before) {
    if (auto ok = unchanged(); !ok) return ok;
    if (!underway_) underway_ = std::make_unique<UninterruptedWrite>();
    if (auto written = file_->writeAt(offset, Bytes(after)); !written) return written;
    // A file cut short between the check and the write grows back under a
    // write past its new end; the size tells.
    auto then = file_->currentIdentity();
    if (!then) return then.error();
    const std::int64_t end = offset + Length(after);
    if (then->size != expected_.size) {
        if (then->size == end) return cutBack(offset, end);
        return ChangedOnDisk(path());
    }
    // The write moves the modification time to now; a time set back while
    // it ran (a touch, a copy keeping its times) is another program's, and
    // taking it as ours would let the next write land on its change.
    if (then->modifiedNanoseconds < expected_.modifiedNanoseconds) return ChangedOnDisk(path());
    expected_ = *then;
    ++writes_;
    if (keepJournal_) journal_.push_back({offset, std::move(before), std::string(after)});
    return success();
}

Error MapWriter::cutBack(std::int64_t offset, std::int64_t end) {
    // The gap between the short file's end and the write reads as zeros, so
    // the end was where the zeros before offset begin, or later; cutting
    // there never leaves the file longer than it was.
    std::int64_t keep = offset;
    std::string chunk;
    while (keep > 0) {
        const std::int64_t from = std::max<std::int64_t>(0, keep - 64 * 1024);
        chunk.assign(static_cast<std::size_t>(keep - from), '\0');
        if (!file_->readAt(from, Bytes(chunk))) break;
        if (const std::size_t last = chunk.find_last_not_of('\0'); last != std::string::npos) {
            keep = from + static_cast<std::int64_t>(last) + 1;
            break;
        }
        keep = from;
    }
    const Status cut = file_->cutShort(keep);
    Error error(ErrorCode::ChangedOnDisk, path(), offset);
    error << "The map \"" << FilePath{path()}
          << "\" was cut short while it was being written, and the write of offsets " << FileOffset{offset} << " to "
          << FileOffset{end - 1} << " made it longer again; ";
    if (cut) {
        error << "it was cut back to " << Decimal(keep) << " bytes.";
    } else {
        error << cut.error();
    }
    return std::move(error) << " Open it again to edit it.";
}

Status MapWriter::writeInt16(std::int64_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const char bytes[2] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF)};
    return writeBytes(offset, std::string_view(bytes, 2));
}

Status MapWriter::writeInt32(std::int64_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                           static_cast<char>((bits >> 16) & 0xFF), static_cast<char>((bits >> 24) & 0xFF)};
    return writeBytes(offset, std::string_view(bytes, 4));
}

Status MapWriter::writeZeros(std::int64_t offset, std::int64_t count) {
    if (count < 0) return Error(ErrorCode::BadValue, "Can't write a negative number of bytes.");
    return writeBytes(offset, std::string(static_cast<std::size_t>(count), '\0'));
}

Status MapWriter::backUpTo(const std::string& backupPath) const { return BackUpFile(*file_, backupPath); }

Status MapWriter::close() {
    if (closed_) return success();
    closed_ = true;
    lock_.release();
    const Status closed = owned_ ? file_->close() : success();
    // A signal that waited for these writes ends the process here.
    underway_.reset();
    return closed;
}

}  // namespace quorin
