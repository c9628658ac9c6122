// SPDX-License-Identifier: GPL-3.0-or-later
// Maps built to hurt, at small sizes: loading holds each text once, and the
// extraction texts are streamed, so memory follows the file, not the texts
// or the output. Each of these once took tens of megabytes here.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// Tables of many entries: what their records and dictionaries cost beside
// the table's bytes in the file. Names of zero bytes need no text at all,
// so what stays after the load is the records alone; named entries add at
// most the tables' bytes of text.
struct TableShape {
    const char* what;
    bool named;
};

const TableShape kTables[] = {
    {"100000 scripts and 100000 globals with names", true},
    {"100000 scripts and 100000 globals whose names are zero bytes", false},
};

constexpr int kEntries = 100000;

MapBuilder ManyEntriesMap(bool named) {
    MapBuilder map;
    map.scripts.resize(kEntries);
    map.globals.resize(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        if (!named) continue;
        map.scripts[static_cast<std::size_t>(i)].Name = "table_script_" + std::to_string(i);
        map.globals[static_cast<std::size_t>(i)].Name = "table_global_" + std::to_string(i);
    }
    return map;
}

class ManyEntries : public ::testing::TestWithParam<TableShape> {};

TEST_P(ManyEntries, RecordsCostNoMoreThanTheirTableAndLoadingTwiceTheFile) {
    testing::TempDir dir;
    const std::string path = testing::WriteMap(dir, ManyEntriesMap(GetParam().named));
    const auto fileSize = static_cast<std::int64_t>(testing::ReadBytes(path).size());
    constexpr std::int64_t kTableBytes = std::int64_t{kEntries} * (92 + 92);
    MapState map;
    const testing::AllocationMeter meter;
    ASSERT_TRUE(OpenMap(map, path, BuiltInMapNames()));
    ASSERT_EQ(map.GlobalHeaderCache.size(), static_cast<std::size_t>(kEntries));
    EXPECT_LE(meter.peakAbove(), 2 * fileSize + kSlack) << "file of " << fileSize << " bytes";
    const std::int64_t texts = GetParam().named ? kTableBytes : 0;
    EXPECT_LE(meter.heldAbove(), kTableBytes + texts + kSlack);
    // The names still lead to their records.
    EXPECT_EQ(map.globalPosition(GetParam().named ? "table_global_4711" : ""),
              GetParam().named ? 4711 : kEntries - 1);
}

INSTANTIATE_TEST_SUITE_P(Tables, ManyEntries, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return info.param.named ? "Named" : "ZeroBytes"; });

// A map whose counts ask for more memory than the system has is refused
// with a message, whichever allocation of the load fails, and the map
// loaded before stays.
TEST(NotEnoughMemory, AFailedAllocationAnywhereInALoadRefusesTheMap) {
    testing::TempDir dir;
    const std::string small = testing::WriteMap(dir, ManyEntriesMap(true), "small.map");
    const std::string huge = testing::WriteSparseMap(dir, testing::HugeCountMap(), testing::kHugeCountFileSize);
    MapState map;
    ASSERT_TRUE(OpenMap(map, small, BuiltInMapNames()));
    std::int64_t needed = 0;
    {
        MapState probe;
        const testing::AllocationMeter meter;
        ASSERT_TRUE(OpenMap(probe, small, BuiltInMapNames()));
        needed = meter.peakAbove();
    }
    struct Case {
        std::string path;
        std::int64_t limit;
    };
    std::vector<Case> cases = {{huge, 256 * 1024 * 1024}};
    // Each a little more than the last, from room for the message alone.
    for (int step = 0; step < 24; ++step) cases.push_back({small, 4096 + needed * step / 24});
    for (const Case& c : cases) {
        Status opened = success();
        {
            const testing::AllocationLimit limit(c.limit);
            opened = OpenMap(map, c.path, BuiltInMapNames());
        }
        ASSERT_FALSE(opened) << c.path << " within " << c.limit << " bytes";
        EXPECT_EQ(MessageOf(opened.error()).rfind(std::string(kNotEnoughMemory) + " \"" + c.path + "\"", 0), 0u)
            << MessageOf(opened.error());
        EXPECT_EQ(map.loadedPath(), small);
        EXPECT_EQ(map.globalPosition("table_global_99999"), kEntries - 1);
    }
}

}  // namespace
}  // namespace quorin
