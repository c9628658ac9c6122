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
    // The bytes held now above what was held when the meter was made.
    std::int64_t heldAbove() const;

private:
    std::int64_t base_;
};

// While it lives, operator new fails (throws std::bad_alloc, or gives null
// when asked not to throw) when it would hold more than `bytes` above what
// was held when the limit was made: a system with that much memory left.
class AllocationLimit {
public:
    explicit AllocationLimit(std::int64_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

}  // namespace quorin::testing
