// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every operation that only reads a loaded map, run one after another: what
// the fuzzer drives on arbitrary bytes and the regression test repeats on
// every input the fuzzer once found failing.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorin::fuzzing {

// An input that ends with kSparseTag and eight bytes (a size, low byte
// first) makes a file that long, at most kMostSparseFile, its bytes past
// the input unwritten: a table of a million entries in a few kilobytes of
// input, as a sparse file on disk holds one. The memory a load of it takes
// stays within the fuzzer's limits. The environment variable
// QUORIN_FUZZ_MOST_FILE may set a lower most (the run on small inputs makes
// no file larger than its inputs).
inline constexpr std::string_view kSparseTag = "quorin-sparse";
inline constexpr std::int64_t kMostSparseFile = 64 * 1024 * 1024;

// Writes bytes to path (made longer as the sparse tag asks), loads it
// through the whole load chain and, when it loads, runs every read-only
// operation on the result. Returns true when the map loaded.
bool LoadAndReadEverything(const std::string& path, const std::uint8_t* bytes, std::size_t size);

}  // namespace quorin::fuzzing
