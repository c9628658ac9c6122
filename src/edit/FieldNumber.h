// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number rule of the editor's edit fields.
//
// Leading blanks (spaces, tabs) are skipped. A text that then begins with
// "&h" (either letter case) is read as the hexadecimal digits after the
// prefix, up to the first other character; up to eight digits give their
// 32-bit pattern, so "&hFFFFFFFF" is -1 (negative string offsets are shown
// that way), and a value past 32 bits is clamped to the largest int32.
// Otherwise the leading number is read: an optional sign, decimal digits and
// an optional fraction, which is cut off (truncation toward zero, so -3.9
// gives -3); no exponent ("1e5" gives 1). A number outside the int32 range is
// clamped to it. A text without a leading number gives 0.

#include <cstdint>
#include <string_view>

namespace quorin {

std::int32_t ParseFieldNumber(std::string_view text);

// The string offset field, which shows hexadecimal digits without a prefix:
// its text is read as if "&h" stood in front of it, after leading blanks.
std::int32_t ParseFieldHexadecimal(std::string_view text);

}  // namespace quorin
