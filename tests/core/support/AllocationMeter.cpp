// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/AllocationMeter.h"

#include <atomic>
#include <cstdint>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::int64_t> held{0};
std::atomic<std::int64_t> peak{0};
// The most that may be held; an allocation past it fails.
std::atomic<std::int64_t> most{INT64_MAX};

// Each block carries its size in front, kept at the strictest fundamental
// alignment so the block behind it stays aligned.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Take(std::size_t size) {
    const std::int64_t room = most.load() - held.load();
    if (room < 0 || size > static_cast<std::uint64_t>(room)) return nullptr;
    void* block = std::malloc(size + kHeader);
    if (!block) return nullptr;
    *static_cast<std::size_t*>(block) = size;
    const std::int64_t now = held.fetch_add(static_cast<std::int64_t>(size)) + static_cast<std::int64_t>(size);
    std::int64_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void Give(void* pointer) noexcept {
    if (!pointer) return;
    void* block = static_cast<char*>(pointer) - kHeader;
    held.fetch_sub(static_cast<std::int64_t>(*static_cast<std::size_t*>(block)));
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* pointer = Take(size)) return pointer;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void operator delete(void* pointer) noexcept { Give(pointer); }
void operator delete[](void* pointer) noexcept { Give(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Give(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Give(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { Give(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Give(pointer); }

namespace quorin::testing {

AllocationMeter::AllocationMeter() : base_(held.load()) { peak.store(base_); }

std::int64_t AllocationMeter::peakAbove() const { return peak.load() - base_; }

std::int64_t AllocationMeter::heldAbove() const { return held.load() - base_; }

AllocationLimit::AllocationLimit(std::int64_t bytes) { most.store(held.load() + bytes); }

AllocationLimit::~AllocationLimit() { most.store(INT64_MAX); }

}  // namespace quorin::testing
