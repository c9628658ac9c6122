// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing two maps: records paired by name, hunks that GNU patch applies
// exactly, the limits at which a record is given up, and random pairs of
// maps against texts worked out record by record.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/LimitedText.h"
#include "compare/LineDiff.h"
#include "compare/MapComparison.h"
#include "script/Decompiler.h"
#include "fixtures/HostileMaps.h"
#include "map/FileLayout.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "support/AllocationMeter.h"
#include "support/CliRun.h"
#include "support/PatchRun.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

constexpr std::nullopt_t kNone = std::nullopt;

// --- Pairing ---

struct PairingCase {
    const char* why;
    std::vector<std::string> oldNames;
    std::vector<std::string> newNames;
    std::vector<RecordPair> pairs;
};

std::vector<SharedText> Texts(const std::vector<std::string>& names) { return {names.begin(), names.end()}; }

TEST(PairByName, PairsTheNthOfANameWithTheNth) {
    const PairingCase cases[] = {
        {"two empty maps", {}, {}, {}},
        {"an empty old map: every record added", {}, {"a", "b"}, {{kNone, 0}, {kNone, 1}}},
        {"an empty new map: every record removed", {"a", "b"}, {}, {{0, kNone}, {1, kNone}}},
        {"the old order is kept", {"a", "b", "c"}, {"c", "a", "b"}, {{0, 1}, {1, 2}, {2, 0}}},
        {"a rename is one removed and one added", {"a", "b", "c"}, {"a", "z", "c"},
         {{0, 0}, {1, kNone}, {2, 2}, {kNone, 1}}},
        {"duplicates pair first with first, second with second", {"x", "y", "x"}, {"x", "x", "y"},
         {{0, 0}, {1, 2}, {2, 1}}},
        {"one more of a name in the new map is added", {"x"}, {"y", "x", "x"}, {{0, 1}, {kNone, 0}, {kNone, 2}}},
        {"one more of a name in the old map: its last is removed", {"x", "x", "x"}, {"x"},
         {{0, 0}, {1, kNone}, {2, kNone}}},
        {"added records come in the new map's order", {"k"}, {"b", "k", "a"}, {{0, 1}, {kNone, 0}, {kNone, 2}}},
        {"names differ in letter case", {"Gate"}, {"gate"}, {{0, kNone}, {kNone, 0}}},
        {"empty names pair too", {"", ""}, {""}, {{0, 0}, {1, kNone}}},
    };
    for (const PairingCase& c : cases) {
        EXPECT_EQ(PairByName(Texts(c.oldNames), Texts(c.newNames)), c.pairs) << c.why;
    }
}

// --- Hunks ---

struct HunkCase {
    const char* why;
    std::string oldText;
    std::string newText;
    std::string hunks;
    LineDiffCounts counts;
};

std::string Numbered(int from, int to, const std::map<int, std::string>& replaced = {}) {
    std::string text;
    for (int i = from; i <= to; ++i) {
        const auto other = replaced.find(i);
        text += (other != replaced.end() ? other->second : std::to_string(i)) + (i < to ? "\n" : "");
    }
    return text;
}

const HunkCase kHunkCases[] = {
    {"one line changed, three lines of context each side", Numbered(1, 12), Numbered(1, 12, {{6, "six"}}),
     "@@ -3,7 +3,7 @@\n 3\n 4\n 5\n-6\n+six\n 7\n 8\n 9\n", {1, 1}},
    {"the last line has no line end", "a\nb", "a\nc",
     "@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+c\n\\ No newline at end of file\n", {1, 1}},
    {"a line end added after the last line", "a\nb", "a\nb\n",
     "@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n", {1, 1}},
    {"a record added: the old text is empty", "", "(global short g 1)",
     "@@ -0,0 +1 @@\n+(global short g 1)\n\\ No newline at end of file\n", {1, 0}},
    {"a record removed: the new text is empty", "x\ny", "", "@@ -1,2 +0,0 @@\n-x\n-y\n\\ No newline at end of file\n",
     {0, 2}},
    {"a line inserted before the first", Numbered(1, 5), "0\n" + Numbered(1, 5), "@@ -1,3 +1,4 @@\n+0\n 1\n 2\n 3\n",
     {1, 0}},
    {"edits with six lines between share a hunk", Numbered(1, 20), Numbered(1, 20, {{5, "e"}, {12, "l"}}),
     "@@ -2,14 +2,14 @@\n 2\n 3\n 4\n-5\n+e\n 6\n 7\n 8\n 9\n 10\n 11\n-12\n+l\n 13\n 14\n 15\n", {2, 2}},
    {"edits with seven lines between make two hunks", Numbered(1, 20), Numbered(1, 20, {{5, "e"}, {13, "m"}}),
     "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+e\n 6\n 7\n 8\n@@ -10,7 +10,7 @@\n 10\n 11\n 12\n-13\n+m\n 14\n 15\n 16\n",
     {2, 2}},
    {"lines that look like a diff's own are text", "--- a/x\n+++ b/x\n@@ -1 +1 @@", "--- a/x\n+++ b/y\n@@ -1 +1 @@",
     "@@ -1,3 +1,3 @@\n --- a/x\n-+++ b/x\n++++ b/y\n @@ -1 +1 @@\n\\ No newline at end of file\n", {1, 1}},
    {"a block moved: the lines kept are the most there can be", "a\nb\nc\nd\ne\n", "c\nd\ne\na\nb\n",
     "@@ -1,5 +1,5 @@\n-a\n-b\n c\n d\n e\n+a\n+b\n", {2, 2}},
};

class Hunks : public ::testing::TestWithParam<HunkCase> {};

TEST_P(Hunks, AreWrittenAsGnuDiffWritesThem) {
    const HunkCase& c = GetParam();
    std::string hunks;
    LineDiffCounts counts;
    ASSERT_EQ(AppendHunks(hunks, c.oldText, c.newText, counts), LineDiffOutcome::Differ);
    EXPECT_EQ(hunks, c.hunks);
    EXPECT_EQ(counts.added, c.counts.added);
    EXPECT_EQ(counts.removed, c.counts.removed);
}

TEST_P(Hunks, TurnTheOldTextIntoTheNewUnderPatch) {
    const HunkCase& c = GetParam();
    std::string section = "--- a/script/s\n+++ b/script/s\n";
    LineDiffCounts counts;
    ASSERT_EQ(AppendHunks(section, c.oldText, c.newText, counts), LineDiffOutcome::Differ);
    const auto patched = testing::ApplyWithPatch({{c.oldText, section}});
    ASSERT_TRUE(patched[0].text) << patched[0].why;
    EXPECT_EQ(*patched[0].text, c.newText);
}

INSTANTIATE_TEST_SUITE_P(Cases, Hunks, ::testing::ValuesIn(kHunkCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Hunks, EqualTextsHaveNone) {
    std::string hunks;
    LineDiffCounts counts;
    EXPECT_EQ(AppendHunks(hunks, "a\nb", "a\nb", counts), LineDiffOutcome::Same);
    EXPECT_EQ(AppendHunks(hunks, "", "", counts), LineDiffOutcome::Same);
    EXPECT_TRUE(hunks.empty());
}

// --- Limits ---

// Lines drawn from two texts, so that almost every line of one text is
// somewhere in the other and the search cannot set any aside.
std::string TwoLetterLines(std::mt19937& random, int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += random() % 2 ? "a\n" : "b\n";
    return text;
}

std::string UniqueLines(const char* stem, int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += stem + std::to_string(i) + "\n";
    return text;
}

TEST(LineDiffLimits, GiveUpInsteadOfGrowing) {
    std::mt19937 random(7);
    const std::string longText(kCompareTextLimit + 1, 'x');
    struct Case {
        const char* why;
        std::string oldText;
        std::string newText;
        LineDiffOutcome outcome;
    };
    const Case cases[] = {
        {"a text over the length limit", "short", longText, LineDiffOutcome::TooLong},
        {"even when both are the same", longText, longText, LineDiffOutcome::TooLong},
        {"more lines between the shared ends than the line limit", UniqueLines("o", 40000),
         UniqueLines("n", 40000), LineDiffOutcome::TooManyEdits},
        {"a search that would take too many steps", TwoLetterLines(random, 30000), TwoLetterLines(random, 30000),
         LineDiffOutcome::TooManyEdits},
        {"shared ends take no lines from the limit", "top\n" + UniqueLines("same", 60000) + "old",
         "top\n" + UniqueLines("same", 60000) + "new", LineDiffOutcome::Differ},
        {"lines only one text has need no search", UniqueLines("o", 30000), UniqueLines("n", 30000),
         LineDiffOutcome::Differ},
    };
    for (const Case& c : cases) {
        std::string hunks;
        LineDiffCounts counts;
        const testing::AllocationMeter meter;
        EXPECT_EQ(AppendHunks(hunks, c.oldText, c.newText, counts), c.outcome) << c.why;
        // The section itself is about as long as the two texts.
        EXPECT_LE(meter.peakAbove(), 24 * 1024 * 1024 + 3 * std::int64_t(c.oldText.size() + c.newText.size())) << c.why;
        if (c.outcome != LineDiffOutcome::Differ) {
            EXPECT_TRUE(hunks.empty()) << c.why;
        }
    }
}

class Collected final : public DifferenceSink {
public:
    bool take(const RecordDifference& record, std::string_view section) override {
        notCompared.push_back(record.notCompared);
        sections.emplace_back(section);
        return true;
    }
    std::vector<NotCompared> notCompared;
    std::vector<std::string> sections;
};

TEST(MapComparisonLimits, ReadsNoMoreTextsThanTheReadLimit) {
    // Every name runs on through both tables: the texts of a map with
    // itself come to more than the limit, and the records after it are
    // listed unread.
    testing::TempDir dir;
    const std::string path = testing::WriteMap(dir, RunOnNamesMap(1400));
    MapState oldMap;
    MapState newMap;
    ASSERT_TRUE(OpenMap(oldMap, path, BuiltInMapNames()));
    ASSERT_TRUE(OpenMap(newMap, path, BuiltInMapNames()));
    Collected collected;
    const ComparisonResult result = CompareMaps(oldMap, newMap, collected);
    ASSERT_GT(result.differing(), 0);
    EXPECT_LT(result.differing(), 2 * 1400);
    EXPECT_EQ(result.changed, result.differing());
    for (const NotCompared why : collected.notCompared) EXPECT_EQ(why, NotCompared::ReadLimit);
    const std::string last = collected.sections.back();
    EXPECT_EQ(last.substr(0, 7), "global ");
    EXPECT_TRUE(last.ends_with(": not compared, the comparison had read 256 MiB of texts before it\n")) << last.substr(last.size() - 80);
}

// --- Random pairs of maps ---

// Maps of random nodes whose texts repeat across scripts (so the search has
// work to do) and hold bytes a diff must carry through: line ends inside a
// text, carriage returns, tabs, and lines that look like a diff's headers.
class RandomMaps {
public:
    explicit RandomMaps(unsigned seed) : random_(seed) {}

    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string text() {
        static const char* const kWords[] = {"begin", "set", "sleep", "x", "ai_attach", "--- a/script/x",
                                             "+++ b/y", "@@ -1 +1 @@", "a\\b", "tab\there", "cr\r",
                                             "two\nlines", "\xe9t\xe9", "-", "+", "\n"};
        std::string made;
        for (int i = 0, n = 1 + below(3); i < n; ++i) made += kWords[below(std::size(kWords))];
        return made;
    }

    std::int32_t link(int nodes) { return below(4) == 0 ? layout::kNoLink : 1 + below(nodes); }

    MapBuilder map() {
        MapBuilder builder;
        const int nodes = 30 + below(120);
        static const std::int32_t kValueTypes[] = {2, 5, 6, 7, 8, 4, 11};
        for (int i = 0; i < nodes; ++i) {
            Syntax node;
            node.ExpIdentity = i + 1;
            node.EngineIdentity = below(5) == 0 ? layout::kTextEngineIdentity : below(40);
            node.ExpType = below(3) == 0 ? layout::expType::kGroup : below(4) == 0 ? layout::expType::kVariable
                                                                                 : layout::expType::kCommand;
            node.ValueType = kValueTypes[below(std::size(kValueTypes))];
            node.ScriptValue = below(4) == 0 ? layout::kTrue - below(2) : below(2000) - 1000;
            node.SibExpPointer = link(nodes);
            node.KidExpPointer = link(nodes);
            if (below(4) != 0) node.Command = text();
            builder.nodes.push_back(std::move(node));
        }
        for (int i = 0, n = 2 + below(8); i < n; ++i) {
            builder.scripts.push_back({"s" + std::to_string(i), below(5), below(49), 1 + below(nodes), 0});
        }
        for (int i = 0, n = 2 + below(8); i < n; ++i) {
            builder.globals.push_back({"g" + std::to_string(i), below(49), 1 + below(nodes), 0});
        }
        return builder;
    }

    // The map with a few changes of values, texts, types and names (none,
    // now and then).
    MapBuilder changed(MapBuilder builder) {
        const int changes = below(8) == 0 ? 0 : 1 + below(4);
        for (int i = 0; i < changes; ++i) {
            Syntax& node = builder.nodes[static_cast<std::size_t>(below(static_cast<int>(builder.nodes.size())))];
            ScriptHeader& script = builder.scripts[static_cast<std::size_t>(below(static_cast<int>(builder.scripts.size())))];
            GlobalHeader& global = builder.globals[static_cast<std::size_t>(below(static_cast<int>(builder.globals.size())))];
            switch (below(7)) {
                case 0: node.ScriptValue += 1 + below(100); break;
                case 1: node.Command = text(); break;
                case 2: node.ExpType = node.ExpType == layout::expType::kGroup ? layout::expType::kCommand
                                                                               : layout::expType::kGroup; break;
                case 3: script.Type = (script.Type + 1 + below(4)) % 5; break;
                case 4: global.Type = (global.Type + 1 + below(48)) % 49; break;
                case 5: script.Name = "renamed" + std::to_string(renames_++); break;
                case 6: global.Name = "renamed" + std::to_string(renames_++); break;
            }
        }
        return builder;
    }

private:
    std::mt19937 random_;
    int renames_ = 0;
};

struct Listed {
    RecordKind kind;
    std::string name;
    RecordChange change;
    friend bool operator==(const Listed&, const Listed&) = default;
};

std::ostream& operator<<(std::ostream& out, const Listed& listed) {
    return out << KindWord(listed.kind) << ' ' << listed.name << ' ' << ChangeWord(listed.change);
}

// The text quorin-cli script|global prints for the record.
std::string TextOf(const MapContent& map, RecordKind kind, std::size_t position) {
    return kind == RecordKind::Script ? DecompileScript(map, map.ScriptHeaderCache[position])
                                      : DecompileGlobal(map, map.GlobalHeaderCache[position]);
}

// What a comparison must list when every name is unique: records of both
// maps by name, in the old map's order, then the added ones in the new
// map's; scripts, then globals.
template <typename Header>
std::vector<Listed> Expected(RecordKind kind, const MapContent& oldMap, const std::vector<Header>& oldCache,
                             const MapContent& newMap, const std::vector<Header>& newCache) {
    std::map<std::string, std::size_t> newAt;
    for (std::size_t i = 0; i < newCache.size(); ++i) newAt[newCache[i].Name.str()] = i;
    std::vector<Listed> listed;
    std::map<std::string, bool> paired;
    for (std::size_t i = 0; i < oldCache.size(); ++i) {
        const std::string name = oldCache[i].Name.str();
        const auto partner = newAt.find(name);
        if (partner == newAt.end()) {
            listed.push_back({kind, name, RecordChange::Removed});
            continue;
        }
        paired[name] = true;
        if (TextOf(oldMap, kind, i) != TextOf(newMap, kind, partner->second)) {
            listed.push_back({kind, name, RecordChange::Changed});
        }
    }
    for (const Header& header : newCache) {
        if (!paired[header.Name.str()]) listed.push_back({kind, header.Name.str(), RecordChange::Added});
    }
    return listed;
}

class Listing final : public DifferenceSink {
public:
    bool take(const RecordDifference& record, std::string_view section) override {
        listed.push_back({record.kind, std::string(record.name), record.change});
        sections.emplace_back(section);
        return true;
    }
    std::vector<Listed> listed;
    std::vector<std::string> sections;
};

// The record's text in map, or nothing when the map has no record of that
// kind and name.
std::string TextNamed(const MapContent& map, RecordKind kind, const std::string& name) {
    const auto position = kind == RecordKind::Script ? map.scriptPosition(name) : map.globalPosition(name);
    return position ? TextOf(map, kind, *position) : std::string();
}

TEST(MapComparisonProperty, RandomPairsListWhatChangedAndPatchMakesTheNewTexts) {
    constexpr int kRounds = 250;
    // quorin-cli runs on every tenth pair: its own status and output are
    // the comparison's, which every pair checks in process.
    constexpr int kCliEvery = 10;
    RandomMaps random(20240611);
    int differing = 0;
    std::vector<testing::PatchJob> jobs;
    std::vector<std::string> wanted;
    std::vector<std::string> what;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        testing::TempDir dir;
        const MapBuilder oldBuilder = random.map();
        const std::string oldPath = testing::WriteMap(dir, oldBuilder, "old.map");
        const std::string newPath = testing::WriteMap(dir, random.changed(oldBuilder), "new.map");
        MapState oldMap;
        MapState newMap;
        ASSERT_TRUE(OpenMap(oldMap, oldPath, BuiltInMapNames()));
        ASSERT_TRUE(OpenMap(newMap, newPath, BuiltInMapNames()));

        std::vector<Listed> expected = Expected(RecordKind::Script, oldMap, oldMap.ScriptHeaderCache, newMap,
                                                newMap.ScriptHeaderCache);
        for (const Listed& global : Expected(RecordKind::Global, oldMap, oldMap.GlobalHeaderCache, newMap,
                                             newMap.GlobalHeaderCache)) {
            expected.push_back(global);
        }
        Listing collected;
        const ComparisonResult result = CompareMaps(oldMap, newMap, collected);
        ASSERT_EQ(collected.listed, expected);
        EXPECT_TRUE(result.complete);
        EXPECT_EQ(result.differing(), static_cast<std::int64_t>(expected.size()));
        differing += expected.empty() ? 0 : 1;

        if (round % kCliEvery == 0) {
            // quorin-cli prints exactly these sections, with diff's status.
            const testing::CliOutcome run = testing::RunCli({"diff", oldPath, newPath});
            std::string all;
            for (const std::string& section : collected.sections) all += section;
            EXPECT_EQ(run.out, all);
            EXPECT_EQ(run.exitCode, expected.empty() ? 0 : 1) << run.err;
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            jobs.push_back({TextNamed(oldMap, expected[i].kind, expected[i].name), collected.sections[i]});
            wanted.push_back(TextNamed(newMap, expected[i].kind, expected[i].name));
            std::ostringstream named;
            named << "round " << round << ": " << expected[i];
            what.push_back(named.str());
        }
    }
    // Both outcomes, and many sections.
    EXPECT_GT(differing, kRounds / 2);
    EXPECT_LT(differing, kRounds);
    EXPECT_GT(jobs.size(), 2u * kRounds);

    const std::vector<testing::PatchOutcome> patched = testing::ApplyWithPatch(jobs);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        ASSERT_TRUE(patched[i].text) << what[i] << "\n" << patched[i].why << "\n" << jobs[i].section;
        EXPECT_EQ(*patched[i].text, wanted[i]) << what[i] << "\n" << jobs[i].section;
    }
}

}  // namespace
}  // namespace quorin
