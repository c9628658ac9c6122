// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Result.h"

namespace quorin {

std::string OffsetText(std::int64_t offset) {
    // Below zero only for a structure a hostile map places before the file.
    const bool below = offset < 0;
    std::uint64_t value = below ? 0 - static_cast<std::uint64_t>(offset) : static_cast<std::uint64_t>(offset);
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[value % 16]);
        value /= 16;
    } while (value != 0);
    return (below ? "-0x" : "0x") + digits;
}

std::string MessageOf(const Error& error) {
    std::string text;
    for (const Error::Piece& piece : error.pieces) {
        if (piece.kind == Error::Piece::Kind::Offset) {
            text += OffsetText(piece.offset);
        } else {
            text += piece.text;
        }
    }
    return text;
}

}  // namespace quorin
