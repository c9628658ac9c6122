// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test support: the core tests' operator new counts the bytes it hands out,
// so a test can bound the memory an operation takes whatever the machine
// or the allocator underneath.

#include <cstdint>

namespace quorin::testing {

// The most bytes held through operator new at once since the meter was
// made, above what was held when it was made.
class AllocationMeter {
public:
    AllocationMeter();
    std::int64_t peakAbove() const;

private:
    std::int64_t base_;
};

}  // namespace quorin::testing
