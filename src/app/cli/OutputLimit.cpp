// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/OutputLimit.h"

#include <algorithm>

#include "app/cli/CommandLine.h"

namespace quorin::cli {

std::streamsize LimitingBuffer::xsputn(const char* bytes, std::streamsize count) {
    const auto taken = static_cast<std::streamsize>(std::min<std::int64_t>(count, left_));
    if (taken < count) reached_ = true;
    const std::streamsize passed = taken > 0 ? target_.sputn(bytes, taken) : 0;
    left_ -= passed;
    return passed;
}

OutputLimit::OutputLimit(std::ostream& stream, std::int64_t most)
    : stream_(stream), original_(stream.rdbuf()), most_(most), buffer_(*original_, most) {
    if (most_ > 0) stream_.rdbuf(&buffer_);
}

OutputLimit::~OutputLimit() {
    if (most_ > 0) stream_.rdbuf(original_);
}

bool OutputLimit::sayReached(std::ostream& err) {
    if (!reached()) return false;
    if (!said_) {
        err << "quorin-cli: the output reached its limit of " << SizeText(most_)
            << " and stopped there; what was written is incomplete (--max-output SIZE sets the limit, 0 for none).\n";
        said_ = true;
    }
    return true;
}

}  // namespace quorin::cli
