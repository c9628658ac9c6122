#include "map/MapWriter.h"

#include <span>

#include "map/TextFormat.h"

namespace quorin {

Result<MapWriter> MapWriter::open(const std::string& path) {
    auto file = SystemFile::open(path, SystemFile::Access::ReadWrite);
    if (!file) return Error{file.error().message + " Nothing was written."};
    return MapWriter(std::move(*file));
}

Status MapWriter::writeBytes(std::int64_t offset, std::string_view bytes) {
    const auto length = static_cast<std::int64_t>(bytes.size());
    const std::int64_t size = file_.size();
    if (closed_) return Error{"Can't write to \"" + file_.path() + "\": the file is already closed."};
    if (offset < 0 || offset > size || length > size - offset) {
        return Error{"Can't write " + Decimal(length) + " bytes at offset " + Decimal(offset) + " of \"" +
                     file_.path() + "\": that lies outside the file, which has " + Decimal(size) +
                     " bytes. Nothing was written."};
    }
    if (length == 0) return success();
    return file_.writeAt(offset, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
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
    if (closed_) return success();
    closed_ = true;
    return file_.close();
}

}  // namespace quorin
