// SPDX-License-Identifier: GPL-3.0-or-later
// Maps built to hurt, at small sizes: loading holds each text once, and the
// extraction texts are streamed, so memory follows the file, not the texts
// or the output. Each of these once took tens of megabytes here.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "compare/MapComparison.h"
#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "fixtures/HostileMaps.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/AllocationMeter.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

// Counts what it is handed and keeps nothing.
class Counting final : public TextSink {
public:
    bool take(std::string_view piece) override {
        bytes += static_cast<std::int64_t>(piece.size());
        return true;
    }
    std::int64_t bytes = 0;
};

// Room for the loader's fixed buffers (the end-finding window, the tables).
constexpr std::int64_t kSlack = 2 * 1024 * 1024;

struct Shape {
    const char* what;
    std::function<MapBuilder()> build;
    // The text that extract-all and the database write at least, to show
    // that the bound is far below what holding the output would take.
    std::int64_t leastOutput;
};

const Shape kShapes[] = {
    {"600 node texts running on through 200 KiB", [] { return LongNodeTextsMap(600, 200 * 1024); },
     600 * 100 * 1024},
    {"800 scripts and globals with names running on", [] { return RunOnNamesMap(800); }, 800 * 60 * 1024},
    {"600 scripts each walking 3000 nodes", [] { return WideWalkMap(600, 3000); }, 600 * 3000 * 2},
};

// The bounds below mean something only if the meter sees the allocations
// that strings and shared buffers make.
TEST(AllocationMeter, SeesWhatIsHeldAndWhatWasGivenBack) {
    const testing::AllocationMeter meter;
    {
        std::string held(3 * 1024 * 1024, 'x');
        const std::shared_ptr<char[]> shared(new char[1024 * 1024]);
        EXPECT_GE(meter.peakAbove(), 4 * 1024 * 1024);
    }
    const testing::AllocationMeter after;
    EXPECT_LT(after.peakAbove(), 1024);
}

class HostileShape : public ::testing::TestWithParam<Shape> {};

TEST_P(HostileShape, LoadingTakesAtMostTwiceTheFile) {
    testing::TempDir dir;
    const std::string path = testing::WriteMap(dir, GetParam().build());
    const auto fileSize = static_cast<std::int64_t>(testing::ReadBytes(path).size());
    MapState map;
    const testing::AllocationMeter meter;
    ASSERT_TRUE(OpenMap(map, path, BuiltInMapNames()));
    EXPECT_LE(meter.peakAbove(), 2 * fileSize + kSlack) << "file of " << fileSize << " bytes";
}

TEST_P(HostileShape, ExtractionTextsAreStreamed) {
    testing::TempDir dir;
    const std::string path = testing::WriteMap(dir, GetParam().build());
    const auto fileSize = static_cast<std::int64_t>(testing::ReadBytes(path).size());
    MapState map;
    ASSERT_TRUE(OpenMap(map, path, BuiltInMapNames()));

    const testing::AllocationMeter meter;
    Counting all;
    EXPECT_TRUE(ExtractAll(map, all).complete);
    Counting database;
    EXPECT_TRUE(WriteCommandDatabase(map.SyntaxCache, database).complete);
    Counting range;
    EXPECT_TRUE(WriteScriptRange(map, 0, static_cast<std::int64_t>(map.ScriptHeaderCache.size()), range));
    EXPECT_LE(meter.peakAbove(), fileSize + kSlack);
    EXPECT_GE(all.bytes + database.bytes, GetParam().leastOutput);
    EXPECT_EQ(all.bytes, ExtractAllSize(map));
}

// Counts the records handed on and keeps nothing.
class CountingDifferences final : public DifferenceSink {
public:
    bool take(const RecordDifference& record, std::string_view) override {
        notCompared += record.notCompared != NotCompared::No ? 1 : 0;
        return true;
    }
    int notCompared = 0;
};

TEST_P(HostileShape, ComparingTwoCopiesHoldsOneRecordTextOfEachAtATime) {
    testing::TempDir dir;
    const std::string oldPath = testing::WriteMap(dir, GetParam().build(), "old.map");
    const std::string newPath = testing::WriteMap(dir, GetParam().build(), "new.map");
    MapState oldMap;
    MapState newMap;
    ASSERT_TRUE(OpenMap(oldMap, oldPath, BuiltInMapNames()));
    ASSERT_TRUE(OpenMap(newMap, newPath, BuiltInMapNames()));

    const testing::AllocationMeter meter;
    CountingDifferences differences;
    const ComparisonResult result = CompareMaps(oldMap, newMap, differences);
    // Two texts at the length limit and a section: far below the 32 MiB a
    // second map may take beyond twice its file.
    EXPECT_LE(meter.peakAbove(), 16 * 1024 * 1024);
    EXPECT_TRUE(result.complete);
    // Only a text over the limit, which is not compared, is listed.
    EXPECT_EQ(result.differing(), differences.notCompared);
}

INSTANTIATE_TEST_SUITE_P(Shapes, HostileShape, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return "Shape" + std::to_string(info.index); });

}  // namespace
}  // namespace quorin
