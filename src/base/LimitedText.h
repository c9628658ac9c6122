// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sink that keeps text in memory up to a limit: at the limit it keeps what
// fits and asks the producer to stop. It also stops when the run it serves
// is cancelled (a result window closed while its worker still runs).

#include <atomic>
#include <cstddef>
#include <limits>
#include <string>

#include "base/TextSink.h"

namespace quorin {

class LimitedText final : public TextSink {
public:
    explicit LimitedText(std::size_t limit = std::numeric_limits<std::size_t>::max(),
                         const std::atomic<bool>* cancelled = nullptr)
        : limit_(limit), cancelled_(cancelled) {}

    bool take(std::string_view piece) override;

    const std::string& text() const { return text_; }
    std::string& text() { return text_; }
    // True when a piece did not fit whole.
    bool reachedLimit() const { return reachedLimit_; }
    // Empty again for the next text, keeping the memory already taken.
    void clear() {
        text_.clear();
        reachedLimit_ = false;
    }

private:
    std::size_t limit_;
    const std::atomic<bool>* cancelled_;
    std::string text_;
    bool reachedLimit_ = false;
};

}  // namespace quorin
