// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number and line formatting shared by every generated text. Numbers are
// formatted without streams so that large texts build quickly.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorin {

// The line end of every generated text (the platform's native one).
inline constexpr std::string_view kLineEnd = "\n";

// Appends the signed decimal text of value (minus sign, no leading zeros).
void AppendDecimal(std::string& out, std::int64_t value);
std::string Decimal(std::int64_t value);
// How many characters AppendDecimal adds for value.
std::size_t DecimalSize(std::int64_t value);

// Hexadecimal digits in capitals, no prefix, no leading zeros; a negative
// number shows its 32-bit two's complement.
std::string Hexadecimal(std::int32_t value);

// Seconds from a count of sixtieths, with a fraction where there is one
// ("0.5" for 30 ticks, "2" for 120).
std::string SecondsFromTicks(std::int64_t ticks);

// The byte with an ASCII capital made small; every other byte unchanged.
constexpr char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A byte that moves the cursor or starts a terminal sequence instead of
// showing a character: below 32, or 127. New names may not hold one.
constexpr bool IsControlByte(unsigned char byte) { return byte < 32 || byte == 127; }

// The first control byte of text, or npos.
std::size_t FindControlByte(std::string_view text);

// "\xHH" (capital digits) for a control byte.
std::string EscapedByte(unsigned char byte);

// text with each control byte shown as "\xHH", for quoting a hostile name
// in a message.
std::string VisibleText(std::string_view text);

// A name or text as one field of a line: the four bytes that would break a
// line or a field are written as escapes (a backslash as \\, a tab as \t, a
// line feed as \n, a carriage return as \r); every other byte as it is.
void AppendEscapedField(std::string& out, std::string_view text);
[[nodiscard]] std::string EscapedField(std::string_view text);

// True when text equals other ignoring ASCII letter case.
bool EqualsIgnoringCase(std::string_view text, std::string_view other);

}  // namespace quorin
