#include "map/MapWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "map/TextFormat.h"

namespace quorin {

Result<MapWriter> MapWriter::open(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code code;
    const auto status = fs::status(path, code);
    if (code || !fs::exists(status)) {
        return Error{"Can't write to \"" + path + "\": the file no longer exists. Nothing was written."};
    }
    if (!fs::is_regular_file(status)) {
        return Error{"Can't write to \"" + path + "\": it is not a file. Nothing was written."};
    }
    const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & writeBits) == fs::perms::none) {
        return Error{"Can't write to \"" + path + "\": the file is read-only. Nothing was written."};
    }
    // "r+b" opens an existing file for update without truncating it.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r+b"));
    if (!file) {
        return Error{"Can't write to \"" + path + "\": " + std::strerror(errno) + ". Nothing was written."};
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        return Error{"Can't write to \"" + path + "\": it cannot be searched. Nothing was written."};
    }
    const long size = std::ftell(file.get());
    if (size < 0) return Error{"Can't write to \"" + path + "\": its size is unknown. Nothing was written."};
    return MapWriter(std::move(file), path, size);
}

MapWriter::MapWriter(std::unique_ptr<std::FILE, FileCloser> file, std::string path, std::int64_t size)
    : file_(std::move(file)), path_(std::move(path)), size_(size) {}

Status MapWriter::writeBytes(std::int64_t offset, std::string_view bytes) {
    const auto length = static_cast<std::int64_t>(bytes.size());
    if (!file_) return Error{"Can't write to \"" + path_ + "\": the file is already closed."};
    if (offset < 0 || offset > size_ || length > size_ - offset) {
        return Error{"Can't write " + Decimal(length) + " bytes at offset " + Decimal(offset) + " of \"" + path_ +
                     "\": that lies outside the file, which has " + Decimal(size_) + " bytes. Nothing was written."};
    }
    if (length == 0) return success();
    if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
        return Error{"Writing to \"" + path_ + "\" at offset " + Decimal(offset) + " failed: " +
                     std::strerror(errno) + "."};
    }
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

Status MapWriter::close() {
    if (!file_) return success();
    const bool flushed = std::fflush(file_.get()) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed) {
        return Error{"Writing to \"" + path_ + "\" failed when the file was closed: " +
                     std::strerror(flushed ? errno : flushError) + "."};
    }
    return success();
}

}  // namespace quorin
