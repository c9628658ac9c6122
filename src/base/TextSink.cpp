// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextSink.h"

#include <charconv>

namespace quorin {

void TextOutput::appendDecimal(std::int64_t value) {
    char digits[24];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;  // 24 characters always hold a 64-bit number
    *this += std::string_view(digits, static_cast<std::size_t>(end - digits));
}

bool TextOutput::flush() {
    if (stopped_) {
        pending_.clear();
        return false;
    }
    if (!pending_.empty()) {
        stopped_ = !sink_.take(pending_);
        pending_.clear();
    }
    return !stopped_;
}

// A long text (a node text can run on for megabytes) goes to the sink as it
// stands, after what was gathered before it, instead of being copied.
void TextOutput::appendLong(std::string_view text) {
    if (!flush()) return;
    if (text.size() < pieceSize_) {
        pending_.append(text);
        return;
    }
    stopped_ = !sink_.take(text);
}

}  // namespace quorin
