// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What quorin-cli prints on a terminal: a name or text from a map may hold
// an escape sequence or a carriage return, so on a terminal every control
// byte but the line feed is shown as \xHH. Files and pipes get the bytes as
// they are. Done once, at the stream, so every command is covered.

#include <ostream>
#include <streambuf>

namespace quorin::cli {

// Passes bytes on to target, each control byte (below 32, or 127) but the
// line feed written as the four characters \xHH.
class ControlEscapingBuffer final : public std::streambuf {
public:
    explicit ControlEscapingBuffer(std::streambuf& target) : target_(target) {}

protected:
    int_type overflow(int_type byte) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    bool put(const char* bytes, std::streamsize count);

    std::streambuf& target_;
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
