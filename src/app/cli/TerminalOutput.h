// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What quorin-cli prints on a terminal: a name or text from a map may hold
// an escape sequence or a carriage return, so on a terminal every control
// byte but the line feed is shown as \xHH: the bytes below 32 and 127, and
// the bytes 0x80 to 0x9F, which a terminal may take as controls too (0x9B
// starts a sequence as the escape and "[" do). Files and pipes get the bytes
// as they are. Done once, at the stream, so every command is covered.

#include <ostream>
#include <streambuf>

namespace quorin::cli {

// A stream buffer with no room of its own: every byte goes through xsputn,
// which passes what it will on to target.
class PassingBuffer : public std::streambuf {
public:
    explicit PassingBuffer(std::streambuf& target) : target_(target) {}

protected:
    int_type overflow(int_type byte) override;
    int sync() override;

    std::streambuf& target_;
};

// Passes bytes on to target, each control byte (below 32, 127, or 0x80 to
// 0x9F) but the line feed written as the four characters \xHH.
class ControlEscapingBuffer final : public PassingBuffer {
public:
    using PassingBuffer::PassingBuffer;

    // The bytes are UTF-8 (a JSON document) rather than a map's Latin-1:
    // a byte from 0x80 to 0x9F that continues a character is part of it,
    // and only one that stands alone, or encodes U+0080 to U+009F, is shown
    // as \xHH.
    void carryUtf8() { utf8_ = true; }

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;

private:
    bool put(const char* bytes, std::streamsize count);
    // Whether byte is shown as \xHH, following the UTF-8 characters.
    bool escaped(unsigned char byte);

    bool utf8_ = false;
    // In UTF-8: the bytes still due to the character begun, and its first.
    int due_ = 0;
    unsigned char lead_ = 0;
};

// While it lives, stream escapes control bytes when terminal is true (the
// caller asks whether the stream's descriptor is a terminal).
class TerminalEscaping {
public:
    TerminalEscaping(std::ostream& stream, bool terminal);
    ~TerminalEscaping();
    TerminalEscaping(const TerminalEscaping&) = delete;
    TerminalEscaping& operator=(const TerminalEscaping&) = delete;

private:
    std::ostream& stream_;
    std::streambuf* original_;
    ControlEscapingBuffer escaping_;
};

}  // namespace quorin::cli
