#pragma once
// The one write path into a Map file. It opens an existing file for reading
// and writing, can only overwrite bytes inside it (never grow or truncate
// it), and reports a failed open, write, flush or close.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "map/Result.h"

namespace quorin {

class MapWriter {
public:
    // Refuses a missing file, a directory, a file without write permission
    // (even for a user who could override it) and one that cannot be opened.
    [[nodiscard]] static Result<MapWriter> open(const std::string& path);

    std::int64_t size() const { return size_; }

    // The low 16 bits of value, little-endian.
    [[nodiscard]] Status writeInt16(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeInt32(std::int64_t offset, std::int32_t value);
    [[nodiscard]] Status writeBytes(std::int64_t offset, std::string_view bytes);
    [[nodiscard]] Status writeZeros(std::int64_t offset, std::int64_t count);

    // Flushes and closes; the writes are in the file once this succeeds.
    [[nodiscard]] Status close();

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    MapWriter(std::unique_ptr<std::FILE, FileCloser> file, std::string path, std::int64_t size);

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string path_;
    std::int64_t size_ = 0;
};

}  // namespace quorin
