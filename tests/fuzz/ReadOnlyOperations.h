// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every operation that only reads a loaded map, run one after another: what
// the fuzzer drives on arbitrary bytes and the regression test repeats on
// every input the fuzzer once found failing.

#include <cstdint>
#include <string>

namespace quorin::fuzzing {

// Writes bytes to path, loads it through the whole load chain and, when it
// loads, runs every read-only operation on the result. Returns true when the
// map loaded.
bool LoadAndReadEverything(const std::string& path, const std::uint8_t* bytes, std::size_t size);

}  // namespace quorin::fuzzing
