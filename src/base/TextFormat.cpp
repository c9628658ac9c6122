// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextFormat.h"

#include <charconv>

namespace quorin {

void AppendDecimal(std::string& out, std::int64_t value) {
    char digits[24];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;  // 24 characters always hold a 64-bit number
    out.append(digits, end);
}

std::string Decimal(std::int64_t value) {
    std::string text;
    AppendDecimal(text, value);
    return text;
}

std::size_t DecimalSize(std::int64_t value) {
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::size_t size = value < 0 ? 2 : 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++size;
    }
    return size;
}

std::string Hexadecimal(std::int32_t value) {
    char digits[16];
    auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(value), 16);
    (void)error;
    std::string text(digits, end);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string SecondsFromTicks(std::int64_t ticks) {
    // Four decimals show sixtieths well enough; trailing zeros are dropped.
    const bool negative = ticks < 0;
    const std::int64_t magnitude = negative ? -ticks : ticks;
    const std::int64_t tenThousandths = (magnitude * 10000 + 30) / 60;
    std::string text = negative ? "-" : "";
    AppendDecimal(text, tenThousandths / 10000);
    std::int64_t fraction = tenThousandths % 10000;
    if (fraction != 0) {
        std::string digits = Decimal(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
        text += '.';
        text += digits;
    }
    return text;
}

std::size_t FindControlByte(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsControlByte(static_cast<unsigned char>(text[i]))) return i;
    }
    return std::string_view::npos;
}

std::string EscapedByte(unsigned char byte) {
    return {'\\', 'x', "0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]};
}

std::string VisibleText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        if (IsControlByte(static_cast<unsigned char>(c))) shown += EscapedByte(static_cast<unsigned char>(c));
        else shown += c;
    }
    return shown;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view other) {
    if (text.size() != other.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (FoldAsciiCase(text[i]) != FoldAsciiCase(other[i])) return false;
    }
    return true;
}

void AppendEscapedField(std::string& out, std::string_view text) {
    // Runs between escapes go in whole: a name can run on for megabytes.
    std::size_t run = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c != '\\' && c != '\t' && c != '\n' && c != '\r') continue;
        out.append(text.substr(run, at - run));
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        default: out += "\\r"; break;
        }
        run = at + 1;
    }
    out.append(text.substr(run));
}

std::string EscapedField(std::string_view text) {
    std::string out;
    AppendEscapedField(out, text);
    return out;
}

}  // namespace quorin
