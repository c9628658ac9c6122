// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one read path into a Map file: every integer, block and text is read
// through a bounds check against the file's size, in 64-bit arithmetic, so
// no offset or count taken from the file can reach outside it. The file is
// opened once per load and never read whole; the load's texts are read by a
// TextCollector through readInto.

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <string>
#include <string_view>
#include <span>
#include <vector>

#include "base/Result.h"
#include "file/SystemFile.h"

namespace quorin {

// Bytes read from a map. Its elements start uninitialised, since a read
// fills every one of them at once.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) {}
    template <typename U>
    void construct(U* at) {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
using ByteBlock = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

class MapFile {
public:
    [[nodiscard]] static Result<MapFile> open(const std::string& path,
                                              SystemFile::Access access = SystemFile::Access::Read);

    std::int64_t size() const { return file_->size(); }
    const std::string& path() const { return file_->path(); }
    // The file's identity when it was opened, from its descriptor.
    const FileIdentity& identity() const { return file_->identity(); }
    // The open file itself, for a caller that writes through the descriptor
    // it read (so a file renamed over the path is never written).
    const std::shared_ptr<SystemFile>& file() const { return file_; }

    // Success when `length` bytes at `offset` lie inside the file, otherwise
    // the error naming `what` that a read of them gives.
    [[nodiscard]] Status checkInside(std::int64_t offset, std::int64_t length, std::string_view what) const;
    // `length` bytes at `offset`, or an error naming `what` when any of them
    // lies outside the file.
    [[nodiscard]] Result<ByteBlock> readBlock(std::int64_t offset, std::int64_t length, std::string_view what);
    // bytes.size() bytes at `offset` into bytes, with the same check.
    [[nodiscard]] Status readInto(std::int64_t offset, std::span<std::uint8_t> bytes, std::string_view what);
    [[nodiscard]] Result<std::int32_t> readInt32(std::int64_t offset, std::string_view what);
    [[nodiscard]] Result<std::uint32_t> readUInt32(std::int64_t offset, std::string_view what);
    [[nodiscard]] Result<std::int32_t> readInt16(std::int64_t offset, std::string_view what);

    // The zero-ended text at `offset`, without its zero byte, cut after
    // `most` bytes. A text with no zero byte stops at the end of the file; an
    // offset outside the file gives the empty text. An error only when the
    // file cannot be read.
    [[nodiscard]] Result<std::string> readText(std::int64_t offset, std::size_t most);

private:
    explicit MapFile(SystemFile file) : file_(std::make_shared<SystemFile>(std::move(file))) {}
    Error outsideError(std::int64_t offset, std::int64_t length, std::string_view what) const;

    std::shared_ptr<SystemFile> file_;
};

// Little-endian decoding of bytes already known to be in range.
inline std::int32_t Int16At(const std::uint8_t* bytes) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}
inline std::uint32_t UInt32At(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}
inline std::int32_t Int32At(const std::uint8_t* bytes) { return static_cast<std::int32_t>(UInt32At(bytes)); }

}  // namespace quorin
