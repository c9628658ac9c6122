// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/TerminalOutput.h"

#include "base/TextFormat.h"

namespace quorin::cli {

namespace {

// The C1 controls: a terminal that reads bytes as Latin-1 acts on them.
bool IsC1Byte(unsigned char byte) { return byte >= 0x80 && byte <= 0x9F; }

// How many bytes follow a UTF-8 lead byte.
int FollowingBytes(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

}  // namespace

PassingBuffer::int_type PassingBuffer::overflow(int_type byte) {
    if (traits_type::eq_int_type(byte, traits_type::eof())) return traits_type::not_eof(byte);
    const char c = traits_type::to_char_type(byte);
    return xsputn(&c, 1) == 1 ? byte : traits_type::eof();
}

int PassingBuffer::sync() { return target_.pubsync(); }

bool ControlEscapingBuffer::escaped(unsigned char byte) {
    if (byte == '\n') return false;
    if (IsControlByte(byte)) {
        due_ = 0;
        return true;
    }
    if (!utf8_) return IsC1Byte(byte);
    if (due_ > 0 && byte >= 0x80 && byte <= 0xBF) {
        --due_;
        // U+0080 to U+009F are the C1 controls themselves.
        return lead_ == 0xC2 && IsC1Byte(byte);
    }
    due_ = FollowingBytes(byte);
    lead_ = byte;
    return IsC1Byte(byte);
}

bool ControlEscapingBuffer::put(const char* bytes, std::streamsize count) {
    return target_.sputn(bytes, count) == count;
}

std::streamsize ControlEscapingBuffer::xsputn(const char* bytes, std::streamsize count) {
    std::streamsize done = 0;
    while (done < count) {
        std::streamsize run = done;
        while (run < count && !escaped(static_cast<unsigned char>(bytes[run]))) ++run;
        if (!put(bytes + done, run - done)) return done;
        done = run;
        if (done == count) break;
        const std::string shown = EscapedByte(static_cast<unsigned char>(bytes[done]));
        if (!put(shown.data(), static_cast<std::streamsize>(shown.size()))) return done;
        ++done;
    }
    return done;
}

TerminalEscaping::TerminalEscaping(std::ostream& stream, bool terminal)
    : stream_(stream), original_(stream.rdbuf()), escaping_(*original_) {
    if (terminal) stream_.rdbuf(&escaping_);
}

TerminalEscaping::~TerminalEscaping() {
    stream_.flush();
    stream_.rdbuf(original_);
}

}  // namespace quorin::cli
