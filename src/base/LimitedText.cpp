// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LimitedText.h"

namespace quorin {

bool LimitedText::take(std::string_view piece) {
    if (cancelled_ && cancelled_->load(std::memory_order_relaxed)) return false;
    if (reachedLimit_) return false;
    const std::size_t room = limit_ - text_.size();
    if (piece.size() > room) {
        text_.append(piece.substr(0, room));
        reachedLimit_ = true;
        return false;
    }
    text_.append(piece);
    return true;
}

}  // namespace quorin
