// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test support for the write-back and protection tests: a small map with
// known records, a string table at 4096, and a text image of everything the
// map state holds, so a test can compare whole states.

#include <cstdint>
#include <string>
#include <vector>

#include "builder/MapBuilder.h"
#include "map/MapState.h"
#include "support/TempMap.h"

namespace quorin::testing {

inline constexpr std::int32_t kFixtureStringTable = 4096;

// Scripts "abc", "twin", "twin", "a_much_longer_script_name"; globals
// "longer_global_name", "g_short"; nodes with identities 10 to 13 that link
// to each other; every field distinct from the values the tests write.
MapBuilder EditFixtureBuilder();

struct EditFixture {
    std::string path;
    MapLayout layout;
    std::vector<std::uint8_t> bytes;  // the file as written
};

// Writes the fixture map, its string table at 4096.
EditFixture WriteEditFixture(const TempDir& dir, const std::string& name = "edit.map");

// Every record field and dictionary entry of the state, one per line, in
// cache and key order.
std::string StateImage(const MapState& state);

// What a path holds, for comparing before and after a refused write: the
// file's bytes, or "directory" / "missing".
std::string FileImage(const std::string& path);

// The bytes with `patch` put at `at`.
std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::int64_t at,
                                  const std::vector<std::uint8_t>& patch);

}  // namespace quorin::testing
