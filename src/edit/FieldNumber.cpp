// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/FieldNumber.h"

#include <limits>

namespace quorin {

namespace {

constexpr std::int64_t kMost = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kLeast = std::numeric_limits<std::int32_t>::min();
// Past this a magnitude is clamped anyway; stopping here keeps it from overflowing.
constexpr std::int64_t kCeiling = std::int64_t{1} << 40;

std::string_view SkipBlanks(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    return text.substr(start);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::int32_t HexDigits(std::string_view digits) {
    std::int64_t value = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) break;
        value = value * 16 + digit;
        if (value > 0xFFFFFFFFLL) return static_cast<std::int32_t>(kMost);
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

std::int32_t ParseFieldNumber(std::string_view text) {
    text = SkipBlanks(text);
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'h' || text[1] == 'H')) return HexDigits(text.substr(2));

    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        if (magnitude < kCeiling) magnitude = magnitude * 10 + (text[at] - '0');
    }
    // A fraction only cuts off: truncation toward zero ignores its digits.
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > kMost) return static_cast<std::int32_t>(kMost);
    if (value < kLeast) return static_cast<std::int32_t>(kLeast);
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseFieldHexadecimal(std::string_view text) { return HexDigits(SkipBlanks(text)); }

}  // namespace quorin
