// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/TerminalOutput.h"

#include "base/TextFormat.h"

namespace quorin::cli {

namespace {

bool Escaped(char byte) { return byte != '\n' && IsControlByte(static_cast<unsigned char>(byte)); }

}  // namespace

bool ControlEscapingBuffer::put(const char* bytes, std::streamsize count) {
    return target_.sputn(bytes, count) == count;
}

std::streamsize ControlEscapingBuffer::xsputn(const char* bytes, std::streamsize count) {
    std::streamsize done = 0;
    while (done < count) {
        std::streamsize run = done;
        while (run < count && !Escaped(bytes[run])) ++run;
        if (!put(bytes + done, run - done)) return done;
        done = run;
        if (done == count) break;
        const std::string shown = EscapedByte(static_cast<unsigned char>(bytes[done]));
        if (!put(shown.data(), static_cast<std::streamsize>(shown.size()))) return done;
        ++done;
    }
    return done;
}

ControlEscapingBuffer::int_type ControlEscapingBuffer::overflow(int_type byte) {
    if (traits_type::eq_int_type(byte, traits_type::eof())) return traits_type::not_eof(byte);
    const char c = traits_type::to_char_type(byte);
    return xsputn(&c, 1) == 1 ? byte : traits_type::eof();
}

int ControlEscapingBuffer::sync() { return target_.pubsync(); }

TerminalEscaping::TerminalEscaping(std::ostream& stream, bool terminal)
    : stream_(stream), original_(stream.rdbuf()), escaping_(*original_) {
    if (terminal) stream_.rdbuf(&escaping_);
}

TerminalEscaping::~TerminalEscaping() {
    stream_.flush();
    stream_.rdbuf(original_);
}

}  // namespace quorin::cli
