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

// True when text equals other ignoring ASCII letter case.
bool EqualsIgnoringCase(std::string_view text, std::string_view other);

}  // namespace quorin
