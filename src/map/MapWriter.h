#pragma once
// The one write path into a Map file. It opens an existing regular file for
// reading and writing, can only overwrite bytes inside it (never grow or
// truncate it), and reports a failed open, write or close.

#include <cstdint>
#include <string>
#include <string_view>

#include "map/Result.h"
#include "map/SystemFile.h"

namespace quorin {

class MapWriter {
public:
    // Refuses a missing file, anything but a regular file, a file whose
    // permission bits forbid writing (even for a user who could override
    // them) and one that cannot be opened.
    [[nodiscard]] static Result<MapWriter> open(const std::string& path);

    std::int64_t size() const { return file_.size(); }

    // The low 16 bits of value, little-endian.
    [[nodiscard]] Status writeInt16(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeInt32(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeBytes(std::int64_t offset, std::string_view bytes);
    [[nodiscard]] Status writeZeros(std::int64_t offset, std::int64_t count);

    // Closes the file; the writes are in the file once this succeeds.
    [[nodiscard]] Status close();

private:
    explicit MapWriter(SystemFile file) : file_(std::move(file)) {}

    SystemFile file_;
    bool closed_ = false;
};

}  // namespace quorin
