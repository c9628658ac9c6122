// SPDX-License-Identifier: GPL-3.0-or-later
// Texts held once: the text collector reads every text of a load into one
// buffer, texts that run on share their bytes, and the dictionaries keyed by
// them behave as keys copied from the names did.

#include <gtest/gtest.h>

#include <map>

#include "browse/RecordSelection.h"
#include "edit/FieldWriteBack.h"
#include "map/MapFile.h"
#include "map/TextCollector.h"
#include "support/EditFixture.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

// Every text a collector reads, in ticket order.
Result<std::vector<SharedText>> ReadAll(TextCollector& collector, MapFile& file, std::size_t count) {
    std::vector<SharedText> texts(count);
    if (auto read = collector.read(file, [&](std::size_t ticket, SharedText text) { texts.at(ticket) = std::move(text); });
        !read) {
        return read.error();
    }
    return texts;
}

// A file of texts: a long text and its zero, then "beta" and "gamma" back to
// back with one zero, a gap of zeros, the long text again, and a run with no
// zero byte to the end of the file.
const std::string kLong = "alpha" + std::string(80, 'a');

struct TextFile {
    testing::TempDir dir;
    std::string path = dir.path("texts.bin");
    std::string bytes;

    TextFile() {
        bytes = kLong + '\0' + "betagamma" + '\0' + std::string(600, '\0') + kLong + '\0' + "runs on";
        testing::WriteBytes(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    std::int64_t at(std::string_view what, std::size_t from = 0) const {
        return static_cast<std::int64_t>(bytes.find(what, from));
    }
};

TEST(TextCollector, EveryTextEndsAtItsFirstZeroByteOrTheEndOfTheFile) {
    TextFile file;
    const std::int64_t secondLong = file.at(kLong, 1);
    const auto longSize = static_cast<std::int64_t>(kLong.size());
    struct Case {
        const char* what;
        std::int64_t offset;
        std::string text;
    };
    const Case cases[] = {
        {"a text and its zero byte", 0, kLong},
        {"two texts share one zero", file.at("beta"), "betagamma"},
        {"a suffix of it", file.at("gamma"), "gamma"},
        {"inside a text", 2, kLong.substr(2)},
        {"on a zero byte", longSize, ""},
        {"past the gap", secondLong, kLong},
        {"no zero byte before the end", file.at("runs"), "runs on"},
        {"the last byte", static_cast<std::int64_t>(file.bytes.size()) - 1, "n"},
        {"the same offset twice", 0, kLong},
        {"at the end of the file", static_cast<std::int64_t>(file.bytes.size()), ""},
        {"before the file", -1, ""},
        {"far past the file", std::int64_t{1} << 40, ""},
    };
    TextCollector collector;
    for (const Case& row : cases) collector.want(row.offset);
    auto opened = MapFile::open(file.path);
    ASSERT_TRUE(opened);
    auto texts = ReadAll(collector, *opened, std::size(cases));
    ASSERT_TRUE(texts) << MessageOf(texts.error());
    ASSERT_EQ(texts->size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const SharedText& text = (*texts)[i];
        EXPECT_EQ(text.view(), cases[i].text) << cases[i].what;
        // The hash is the one any copy of the same bytes gets.
        EXPECT_EQ(text.hash(), TextHash(cases[i].text)) << cases[i].what;
        EXPECT_EQ(text, SharedText(cases[i].text)) << cases[i].what;
    }
    // Suffixes point into the same bytes; equal long texts at different
    // places share one view, so comparing them reads nothing.
    EXPECT_EQ((*texts)[2].data(), (*texts)[1].data() + 4);
    EXPECT_EQ((*texts)[5].data(), (*texts)[0].data());
}

// Offsets asked for out of order come back to their own tickets, however
// many digits the sort needs for the file's size.
TEST(TextCollector, OffsetsAskedOutOfOrderAcrossLargeFiles) {
    for (const std::size_t size : {std::size_t{64} << 10, std::size_t{3} << 20, std::size_t{9} << 20}) {
        testing::TempDir dir;
        const std::string path = dir.path("spread.bin");
        constexpr std::size_t kTexts = 300;
        const std::size_t step = size / kTexts;
        std::vector<std::uint8_t> bytes(size, 0);
        for (std::size_t i = 0; i < kTexts; ++i) {
            const std::string text = "text" + std::to_string(i);
            std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i * step));
        }
        testing::WriteBytes(path, bytes);
        // Every third from the end, then the rest: neither order nor its reverse.
        std::vector<std::size_t> asked;
        for (std::size_t i = kTexts; i-- > 0;) if (i % 3 == 0) asked.push_back(i);
        for (std::size_t i = 0; i < kTexts; ++i) if (i % 3 != 0) asked.push_back(i);
        TextCollector collector;
        for (const std::size_t i : asked) collector.want(static_cast<std::int64_t>(i * step));
        auto opened = MapFile::open(path);
        ASSERT_TRUE(opened);
        auto texts = ReadAll(collector, *opened, asked.size());
        ASSERT_TRUE(texts) << MessageOf(texts.error());
        for (std::size_t ticket = 0; ticket < asked.size(); ++ticket) {
            EXPECT_EQ((*texts)[ticket].view(), "text" + std::to_string(asked[ticket])) << size << " bytes";
        }
    }
}

TEST(TextCollector, TextsOutliveTheCollectorAndItsFile) {
    SharedText kept;
    {
        TextFile file;
        TextCollector collector;
        collector.want(file.at("runs"));
        auto opened = MapFile::open(file.path);
        ASSERT_TRUE(opened);
        auto texts = ReadAll(collector, *opened, 1);
        ASSERT_TRUE(texts);
        kept = (*texts)[0];
    }
    EXPECT_EQ(kept, "runs on");
}

// The old name's key keeps finding the record whose name an edit changed,
// and both the record and the key stay what they were told to be.
TEST(SharedTextKeys, AnEditedNameAddsAKeyAndTheOldOneStillLeadsToTheRecord) {
    testing::TempDir dir;
    const testing::EditFixture fixture = testing::WriteEditFixture(dir);
    MapState state;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(state, fixture.path, messages));
    const auto position = state.scriptPosition("abc");
    ASSERT_TRUE(position);
    ShowRecord(state, {RecordKind::Script, *position});
    ASSERT_TRUE(CommitField(state, EditField::ScriptName, "renamed"));

    EXPECT_EQ(state.ScriptHeaderCache[*position].Name, "renamed");
    EXPECT_EQ(state.scriptPosition("abc"), position);
    EXPECT_EQ(state.scriptPosition("renamed"), position);
    EXPECT_EQ(state.scriptPosition(std::string("renamed")), position);
    EXPECT_FALSE(state.scriptPosition("abcd"));
    const auto oldKey = state.ScriptsByName.find(std::string_view("abc"));
    ASSERT_NE(oldKey, state.ScriptsByName.end());
    EXPECT_EQ(oldKey->first, "abc");

    // A copy (an extraction snapshot) shares the texts and keeps them when
    // the map it came from is replaced.
    const MapContent snapshot = state;
    EXPECT_EQ(snapshot.ScriptHeaderCache[*position].Name.data(), state.ScriptHeaderCache[*position].Name.data());
    state.adopt(MapContent{}, "");
    EXPECT_EQ(snapshot.ScriptHeaderCache[*position].Name, "renamed");
    EXPECT_EQ(snapshot.scriptPosition("abc"), position);
}

// A loaded key is the name the load read, whatever the record is told
// later; a key added afterwards wins over a loaded one and is counted once.
TEST(NameIndexKeys, LoadedKeysAreTheNamesReadAndAddedKeysWin) {
    testing::TempDir dir;
    MapBuilder builder;
    builder.scripts = {{"twin", 0, 0, 0, 0}, {"other", 0, 0, 0, 0}, {"twin", 0, 0, 0, 0}};
    MapState state;
    testing::CollectedMessages messages;
    ASSERT_TRUE(testing::Load(state, testing::WriteMap(dir, builder), messages));
    NameIndex& index = state.ScriptsByName;
    EXPECT_EQ(index.size(), 2u);
    state.ScriptHeaderCache[2].Name = "renamed";
    EXPECT_EQ(state.scriptPosition("twin"), 2u);
    EXPECT_FALSE(state.scriptPosition("renamed"));

    const NameIndex before = index;
    index["other"] = 7;
    index["new"] = 0;
    EXPECT_EQ(index.find("other")->second, 7);
    EXPECT_EQ(index.size(), 3u);
    const std::map<std::string, std::int32_t> entries(index.begin(), index.end());
    EXPECT_EQ(entries, (std::map<std::string, std::int32_t>{{"new", 0}, {"other", 7}, {"twin", 2}}));
    EXPECT_EQ(index, (NameIndex{{"twin", 2}, {"other", 7}, {"new", 0}}));
    // A copy (an extraction snapshot) keeps the keys it had.
    EXPECT_EQ(before, (NameIndex{{"twin", 2}, {"other", 1}}));
    EXPECT_NE(before, index);
}

}  // namespace
}  // namespace quorin
