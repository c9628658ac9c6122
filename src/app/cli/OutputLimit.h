// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// quorin-cli stops its result at --max-output bytes (1 GiB unless given): a
// small map can ask for texts of many gigabytes, enough to fill a disk. Done
// once, at the stream, so every command is covered; a command whose output
// stops there says so and exits 1.

#include <cstdint>
#include <ostream>
#include <streambuf>

#include "app/cli/TerminalOutput.h"

namespace quorin::cli {

// Passes bytes on to target until most have passed, then takes no more.
class LimitingBuffer final : public PassingBuffer {
public:
    LimitingBuffer(std::streambuf& target, std::int64_t most) : PassingBuffer(target), left_(most) {}
    bool reached() const { return reached_; }

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;

private:
    std::int64_t left_;
    bool reached_ = false;
};

// While it lives, stream takes at most `most` bytes (no limit for 0).
class OutputLimit {
public:
    OutputLimit(std::ostream& stream, std::int64_t most);
    ~OutputLimit();
    OutputLimit(const OutputLimit&) = delete;
    OutputLimit& operator=(const OutputLimit&) = delete;

    bool reached() const { return buffer_.reached(); }
    // When the limit stopped the output and that was not said yet, says it
    // on err; true when the limit stopped it.
    bool sayReached(std::ostream& err);

private:
    std::ostream& stream_;
    std::streambuf* original_;
    std::int64_t most_;
    LimitingBuffer buffer_;
    bool said_ = false;
};

}  // namespace quorin::cli
