// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock in sixtieths of a second, used to time the extract-all run and the
// command database.

#include <chrono>
#include <cstdint>

namespace quorin {

inline std::int64_t Ticks() {
    using namespace std::chrono;
    auto since = steady_clock::now().time_since_epoch();
    return duration_cast<microseconds>(since).count() * 60 / 1'000'000;
}

}  // namespace quorin
