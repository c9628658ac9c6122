// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapWriter.h"

#include <span>

#include "file/MapBackup.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

std::span<std::uint8_t> Bytes(std::string& text) {
    return {reinterpret_cast<std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::string ChangedOnDiskMessage(const std::string& path) {
    return "The map \"" + path + "\" changed on disk since it was loaded. Open it again to edit it.";
}

Result<MapWriter> MapWriter::open(const std::string& path) {
    auto file = SystemFile::open(path, SystemFile::Access::ReadWrite);
    if (!file) return Error{file.error().message + " Nothing was written."};
    const std::int64_t size = file->size();
    return MapWriter(std::make_shared<SystemFile>(std::move(*file)), true, size);
}

Result<MapWriter> MapWriter::openUnchanged(const std::string& path, const FileIdentity& loaded) {
    auto writer = open(path);
    if (!writer) return writer;
    // The identity is the opened descriptor's, so the file checked is the
    // file written, whatever the path names a moment later.
    if (writer->file_->identity() != loaded) return Error{ChangedOnDiskMessage(path)};
    return writer;
}

Result<MapWriter> MapWriter::through(std::shared_ptr<SystemFile> file, const FileIdentity& loaded) {
    auto now = file->currentIdentity();
    if (!now) return Error{now.error().message + " Nothing was written."};
    if (*now != loaded) return Error{ChangedOnDiskMessage(file->path())};
    return MapWriter(std::move(file), false, now->size);
}

Status MapWriter::writeBytes(std::int64_t offset, std::string_view bytes) {
    const auto length = static_cast<std::int64_t>(bytes.size());
    if (closed_) return Error{"Can't write to \"" + path() + "\": the file is already closed."};
    if (offset < 0 || offset > size_ || length > size_ - offset) {
        return Error{"Can't write " + Decimal(length) + " bytes at offset " + Decimal(offset) + " of \"" + path() +
                     "\": that lies outside the file, which has " + Decimal(size_) + " bytes. Nothing was written."};
    }
    if (length == 0) return success();
    // A file cut short since it was opened would grow back with a gap of
    // zeros under a write past its new end; the size is asked of the
    // descriptor right before each write.
    auto now = file_->currentSize();
    if (!now) return now.error();
    if (*now != size_) return Error{ChangedOnDiskMessage(path())};
    BytePatch patch;
    if (keepJournal_) {
        patch = {offset, std::string(bytes.size(), '\0'), std::string(bytes)};
        if (auto read = file_->readAt(offset, Bytes(patch.before)); !read) return read;
    }
    if (auto written = file_->writeAt(offset, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        !written) {
        return written;
    }
    ++writes_;
    if (keepJournal_) journal_.push_back(std::move(patch));
    return success();
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
    if (count < 0) return Error{"Can't write a negative number of bytes."};
    return writeBytes(offset, std::string(static_cast<std::size_t>(count), '\0'));
}

Status MapWriter::backUpTo(const std::string& backupPath) const { return BackUpFile(*file_, backupPath); }

Status MapWriter::close() {
    if (closed_) return success();
    closed_ = true;
    return owned_ ? file_->close() : success();
}

}  // namespace quorin
