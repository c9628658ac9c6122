// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Generated texts (extractions, the command database, script texts) are
// handed on in pieces as they are made, so no text is ever held whole: the
// command line writes each piece to stdout, a result window keeps pieces up
// to its limit. A sink can say "stop", and the producer then ends early.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorin {

class TextSink {
public:
    virtual ~TextSink() = default;
    // Takes the next piece. False asks the producer to stop: nothing more is
    // handed on after that.
    [[nodiscard]] virtual bool take(std::string_view piece) = 0;
};

// Gathers a producer's many small appends and hands them to a sink in
// pieces of about kPieceSize bytes (or a smaller size given, so that a sink
// that wants only a little can say stop sooner). Producers look at
// stopped() in their loops and end once it is true; appends after that are
// dropped.
class TextOutput {
public:
    static constexpr std::size_t kPieceSize = 64 * 1024;

    explicit TextOutput(TextSink& sink, std::size_t pieceSize = kPieceSize)
        : sink_(sink), pieceSize_(pieceSize == 0 ? 1 : pieceSize) {}
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    TextOutput& operator+=(std::string_view text) {
        appended_ += text.size();
        if (pending_.size() + text.size() < pieceSize_) pending_.append(text);
        else appendLong(text);
        return *this;
    }
    TextOutput& operator+=(char byte) {
        ++appended_;
        pending_.push_back(byte);
        if (pending_.size() >= pieceSize_) flush();
        return *this;
    }
    // The signed decimal text of value.
    void appendDecimal(std::int64_t value);

    // Bytes appended so far, whether or not the sink took them.
    std::uint64_t appended() const { return appended_; }
    // True once the sink asked to stop.
    bool stopped() const { return stopped_; }
    // Hands on what is gathered. False once the sink asked to stop.
    bool flush();

private:
    void appendLong(std::string_view text);

    TextSink& sink_;
    std::size_t pieceSize_;
    std::string pending_;
    std::uint64_t appended_ = 0;
    bool stopped_ = false;
};

}  // namespace quorin
