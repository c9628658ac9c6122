// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/MapFile.h"

#include <algorithm>

#include "base/TextFormat.h"

namespace quorin {

Result<MapFile> MapFile::open(const std::string& path, SystemFile::Access access) {
    auto file = SystemFile::open(path, access);
    if (!file) return file.error();
    return MapFile(std::move(*file));
}

Error MapFile::outsideError(std::int64_t offset, std::int64_t length, std::string_view what) const {
    return Error(ErrorCode::OutOfBounds, path(), offset)
           << "The map \"" << FilePath{path()} << "\" is damaged: " << what << " (" << Decimal(length)
           << " bytes at offset " << FileOffset{offset} << ") lies outside the file, which has " << Decimal(size())
           << " bytes.";
}

Status MapFile::checkInside(std::int64_t offset, std::int64_t length, std::string_view what) const {
    if (offset < 0 || length < 0 || offset > size() || length > size() - offset) {
        return outsideError(offset, length, what);
    }
    return success();
}

Status MapFile::readInto(std::int64_t offset, std::span<std::uint8_t> bytes, std::string_view what) {
    if (auto inside = checkInside(offset, static_cast<std::int64_t>(bytes.size()), what); !inside) return inside;
    if (auto read = file_->readAt(offset, bytes); !read) {
        return Error(ErrorCode::ReadFailed, path(), offset)
               << "Can't read \"" << FilePath{path()} << "\" at offset " << FileOffset{offset}
               << ": the file changed or could not be read.";
    }
    return success();
}

Result<ByteBlock> MapFile::readBlock(std::int64_t offset, std::int64_t length, std::string_view what) {
    if (auto inside = checkInside(offset, length, what); !inside) return inside.error();
    ByteBlock bytes(static_cast<std::size_t>(length));
    if (auto read = readInto(offset, std::span(bytes.data(), bytes.size()), what); !read) return read.error();
    return bytes;
}

Result<std::int32_t> MapFile::readInt32(std::int64_t offset, std::string_view what) {
    auto bytes = readBlock(offset, 4, what);
    if (!bytes) return bytes.error();
    return Int32At(bytes->data());
}

Result<std::uint32_t> MapFile::readUInt32(std::int64_t offset, std::string_view what) {
    auto bytes = readBlock(offset, 4, what);
    if (!bytes) return bytes.error();
    return UInt32At(bytes->data());
}

Result<std::int32_t> MapFile::readInt16(std::int64_t offset, std::string_view what) {
    auto bytes = readBlock(offset, 2, what);
    if (!bytes) return bytes.error();
    return Int16At(bytes->data());
}

Result<std::string> MapFile::readText(std::int64_t offset, std::size_t most) {
    std::string text;
    if (offset < 0 || offset >= size()) return text;
    const auto length = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(most), size() - offset));
    text.resize(length);
    if (auto read = readInto(offset, std::span(reinterpret_cast<std::uint8_t*>(text.data()), length), "a text"); !read) {
        return read.error();
    }
    text.resize(std::min(text.find('\0'), text.size()));
    return text;
}

}  // namespace quorin
