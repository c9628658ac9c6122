// SPDX-License-Identifier: GPL-3.0-or-later
// Every input the fuzzer once found failing stays here and must load or be
// refused cleanly, with every read-only operation run on what loads.

#include <gtest/gtest.h>

#include <filesystem>

#include "../fuzz/ReadOnlyOperations.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

TEST(FuzzRegressions, EveryKeptInputLoadsOrIsRefused) {
    const std::filesystem::path folder = QUORIN_FUZZ_REGRESSIONS;
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    testing::TempDir dir;
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
        const auto bytes = testing::ReadBytes(entry.path().string());
        bool loaded = false;
        EXPECT_NO_THROW(loaded = fuzzing::LoadAndReadEverything(dir.path("input.map"), bytes.data(), bytes.size()))
            << entry.path();
        // The hand-made ones have a known outcome.
        const std::string name = entry.path().filename().string();
        if (name == "protected-demo.map") {
            EXPECT_TRUE(loaded);
        }
        if (name == "cut-inside-tables.map" || name == "absurd-node-count.map") {
            EXPECT_FALSE(loaded) << name;
        }
        ++inputs;
    }
    EXPECT_GE(inputs, 3);  // the folder holds at least the hand-made damaged maps
}

}  // namespace
}  // namespace quorin
