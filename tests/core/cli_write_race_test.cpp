// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli set reads and writes MAP through one descriptor: another file
// renamed over MAP while set runs is never written, whenever the rename
// lands.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "support/CliRun.h"
#include "support/EditFixture.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using Bytes = std::vector<std::uint8_t>;

TEST(CliWriteRace, AFileRenamedOverTheMapDuringSetIsNeverWritten) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir, "fixture.map");
    // Same size; its map name is no stock name, so a set that opens it
    // refuses it instead of writing it as the map it loaded.
    Bytes other = fixture.bytes;
    other[32] = 'Z';
    other[33] = 'Z';
    const Bytes edited = testing::Patched(fixture.bytes, fixture.layout.scriptEntry(0) + 38, {0x70, 0x11});
    const std::string map = dir.path("map.map");
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> delay(0, 8000);  // microseconds, about the length of a run
    int wrote = 0;
    int refused = 0;
    for (int run = 0; run < 40; ++run) {
        testing::WriteBytes(map, fixture.bytes);
        testing::WriteBytes(dir.path("other.map"), other);
        // Links keep both files reachable whatever the rename does to the names.
        fs::create_hard_link(map, dir.path("first.keep"));
        fs::create_hard_link(dir.path("other.map"), dir.path("other.keep"));
        const auto wait = std::chrono::microseconds(delay(random));
        std::thread renamer([&] {
            std::this_thread::sleep_for(wait);
            fs::rename(dir.path("other.map"), map);
        });
        const auto outcome = testing::RunCli({"set", map, "script", "abc", "ExpPointer", "70000"});
        renamer.join();

        ASSERT_EQ(ReadBytes(dir.path("other.keep")), other) << "run " << run << ": " << outcome.err;
        if (outcome.exitCode == 0) {
            ++wrote;
            EXPECT_EQ(ReadBytes(dir.path("first.keep")), edited) << "run " << run;
        } else {
            ++refused;
            EXPECT_EQ(ReadBytes(dir.path("first.keep")), fixture.bytes) << "run " << run;
            EXPECT_NE(outcome.err.find("Cant load |2|"), std::string::npos) << "run " << run << ": " << outcome.err;
        }
        fs::remove(dir.path("first.keep"));
        fs::remove(dir.path("other.keep"));
        fs::remove(map);
    }
    EXPECT_EQ(wrote + refused, 40);
    std::cout << "set wrote the map it read in " << wrote << " runs; the other file was in place first in " << refused
              << "\n";
}

}  // namespace
}  // namespace quorin
