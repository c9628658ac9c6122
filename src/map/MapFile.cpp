#include "map/MapFile.h"

#include <cstring>

#include "map/TextFormat.h"

namespace quorin {

namespace {

std::string OffsetText(std::int64_t offset) {
    if (offset < 0) return "-0x" + Hexadecimal(static_cast<std::int32_t>(-offset));
    std::string digits;
    std::uint64_t value = static_cast<std::uint64_t>(offset);
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[value % 16]);
        value /= 16;
    } while (value != 0);
    return "0x" + digits;
}

}  // namespace

Result<MapFile> MapFile::open(const std::string& path, SystemFile::Access access) {
    auto file = SystemFile::open(path, access);
    if (!file) return file.error();
    return MapFile(std::move(*file));
}

Error MapFile::outsideError(std::int64_t offset, std::int64_t length, std::string_view what) const {
    return Error{"The map \"" + path() + "\" is damaged: " + std::string(what) + " (" + Decimal(length) +
                 " bytes at offset " + OffsetText(offset) + ") lies outside the file, which has " +
                 Decimal(size()) + " bytes."};
}

Result<std::vector<std::uint8_t>> MapFile::readBlock(std::int64_t offset, std::int64_t length,
                                                     std::string_view what) {
    if (offset < 0 || length < 0 || offset > size() || length > size() - offset) {
        return outsideError(offset, length, what);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (auto read = file_->readAt(offset, bytes); !read) {
        return Error{"Can't read \"" + path() + "\" at offset " + OffsetText(offset) +
                     ": the file changed or could not be read."};
    }
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

Result<const std::vector<std::uint8_t>*> MapFile::page(std::int64_t index) {
    if (index == lastPageIndex_) return lastPage_;
    auto found = pages_.find(index);
    if (found == pages_.end()) {
        if (pages_.size() >= kMostPages) pages_.clear();  // bounded memory; texts are mostly close together
        const std::int64_t start = index * kPageSize;
        const std::int64_t length = std::min(kPageSize, size() - start);
        auto bytes = readBlock(start, length, "a text");
        if (!bytes) return bytes.error();
        found = pages_.emplace(index, std::move(*bytes)).first;
    }
    lastPageIndex_ = index;
    lastPage_ = &found->second;
    return lastPage_;
}

Result<std::string> MapFile::readText(std::int64_t offset) {
    std::string text;
    while (offset >= 0 && offset < size()) {
        auto bytes = page(offset / kPageSize);
        if (!bytes) return bytes.error();
        const std::size_t from = static_cast<std::size_t>(offset % kPageSize);
        if (from >= (*bytes)->size()) break;
        const auto* start = (*bytes)->data() + from;
        const std::size_t available = (*bytes)->size() - from;
        const void* zero = std::memchr(start, 0, available);
        if (zero) {
            text.append(reinterpret_cast<const char*>(start), static_cast<const std::uint8_t*>(zero) - start);
            break;
        }
        text.append(reinterpret_cast<const char*>(start), available);
        offset += static_cast<std::int64_t>(available);
    }
    return text;
}

}  // namespace quorin
