// SPDX-License-Identifier: GPL-3.0-or-later
// Random edits of every field on random maps, each checked against a byte
// expectation worked out here from the file layout alone: only the field's
// bytes change, and they hold the value the rules give. On damaged maps an
// edit either lands inside the file or is refused with nothing written.

#include <gtest/gtest.h>

#include <random>

#include "edit/FieldWriteBack.h"
#include "map/MapLoader.h"
#include "base/TextFormat.h"
#include "support/TempMap.h"

namespace quorin {
namespace {

enum class Kind { Script, Global, Node };

// Where each field lives, independently of the write-back's own table.
struct Expectation {
    EditField field;
    Kind kind;
    int at;      // from the start of the entry or node
    int width;   // 2, 4 or 32 (a name field)
    bool popup;
    int items;   // popup items
};

constexpr Expectation kFields[] = {
    {EditField::ScriptName, Kind::Script, 0, 32, false, 0},
    {EditField::ScriptExpPointer, Kind::Script, 38, 2, false, 0},
    {EditField::GlobalName, Kind::Global, 0, 32, false, 0},
    {EditField::GlobalExpPointer, Kind::Global, 42, 2, false, 0},
    {EditField::SyntaxExpIdent, Kind::Node, 0, 2, false, 0},
    {EditField::SyntaxEngineIdent, Kind::Node, 2, 2, false, 0},
    {EditField::SyntaxExpType, Kind::Node, 6, 2, false, 0},
    {EditField::SyntaxSibExp, Kind::Node, 10, 2, false, 0},
    {EditField::SyntaxScriptTableOffset, Kind::Node, 12, 4, false, 0},
    {EditField::SyntaxScriptValue, Kind::Node, 16, 4, false, 0},
    {EditField::SyntaxKidExp, Kind::Node, 18, 2, false, 0},
    {EditField::ScriptType, Kind::Script, 32, 2, true, 5},
    {EditField::ScriptReturn, Kind::Script, 34, 2, true, 49},
    {EditField::GlobalType, Kind::Global, 32, 2, true, 49},
    {EditField::SyntaxType, Kind::Node, 4, 2, true, 49},
};

class RandomMaps {
public:
    explicit RandomMaps(unsigned seed) : random_(seed) {}

    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string name() {
        std::string text(static_cast<std::size_t>(below(6) == 0 ? below(40) : 1 + below(12)), 'a');
        for (char& c : text) c = static_cast<char>('a' + below(3));  // few letters: shared names happen
        return text;
    }

    MapBuilder map() {
        MapBuilder builder;
        const int nodes = 1 + below(20);
        for (int i = 0; i < nodes; ++i) {
            Syntax node;
            node.ExpIdentity = below(12) - 3;  // shared and negative identities happen
            node.EngineIdentity = below(50) - 1;
            node.ValueType = below(50);
            node.ExpType = below(14);
            node.SibExpPointer = below(12) - 3;
            node.ScriptValue = below(600) - 300;
            node.KidExpPointer = below(12) - 3;
            if (below(3) != 0) node.Command = name();
            builder.nodes.push_back(node);
        }
        for (int i = 0, n = 1 + below(5); i < n; ++i) {
            builder.scripts.push_back({name().substr(0, 31), below(5), below(49), below(12) - 3, 0});
        }
        for (int i = 0, n = 1 + below(5); i < n; ++i) {
            builder.globals.push_back({name().substr(0, 31), below(49), below(12) - 3, 0});
        }
        if (below(2) == 0) builder.stringTableAt = 3000 + 16 * below(60);
        return builder;
    }

    // A number text and the 32-bit value the rules give it.
    std::pair<std::string, std::int32_t> number() {
        switch (below(5)) {
            case 0: return {"letters", 0};
            case 1: {
                const std::int64_t wide = static_cast<std::int64_t>(random_()) * (below(2) ? 1 : -1) * 4;
                const std::int64_t clamped = std::clamp<std::int64_t>(wide, INT32_MIN, INT32_MAX);
                return {Decimal(wide), static_cast<std::int32_t>(clamped)};
            }
            case 2: {
                const std::int32_t value = below(200000) - 100000;
                return {Decimal(value) + ".75xyz", value};  // the fraction is cut off
            }
            case 3: {
                const std::int32_t value = below(65536);
                return {"&h" + Hexadecimal(value), value};
            }
            default: {
                const std::int32_t value = below(70000) - 35000;
                return {Decimal(value), value};
            }
        }
    }

private:
    std::mt19937 random_;
};

std::int64_t RecordOffset(const MapState& map, Kind kind, std::size_t position) {
    switch (kind) {
        case Kind::Script: return map.ScriptHeaderCache[position].Offset;
        case Kind::Global: return map.GlobalHeaderCache[position].Offset;
        case Kind::Node: return map.SyntaxCache[position].offset;
    }
    return 0;
}

std::size_t CacheSize(const MapState& map, Kind kind) {
    switch (kind) {
        case Kind::Script: return map.ScriptHeaderCache.size();
        case Kind::Global: return map.GlobalHeaderCache.size();
        case Kind::Node: return map.SyntaxCache.size();
    }
    return 0;
}

void Show(MapState& map, Kind kind, std::size_t position) {
    const LoadedRecord record = map.recordAt(position);
    if (kind == Kind::Script) map.LoadedScript = record;
    if (kind == Kind::Global) map.LoadedGlobal = record;
    if (kind == Kind::Node) map.LoadedSyntax = record;
}

void PutBytes(std::vector<std::uint8_t>& bytes, std::int64_t at, std::int32_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes.at(static_cast<std::size_t>(at + i)) =
            static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    }
}

// One random edit: the file must change exactly where the layout says, or
// not at all when the commit was refused.
void RandomEdit(RandomMaps& random, MapState& map, const std::string& path) {
    const Expectation& field = kFields[random.below(std::size(kFields))];
    const std::size_t records = CacheSize(map, field.kind);
    if (records == 0) return;
    const std::size_t position = static_cast<std::size_t>(random.below(static_cast<int>(records)));
    Show(map, field.kind, position);
    const std::int64_t at = RecordOffset(map, field.kind, position) + field.at;

    auto expected = testing::ReadBytes(path);
    const auto before = expected;
    Status status = success();
    bool writes = true;
    if (field.popup) {
        const int index = random.below(field.items + 3) - 1;
        status = CommitPopup(map, field.field, index);
        writes = index >= 0 && index < field.items;
        if (writes) PutBytes(expected, at, index, 2);
    } else if (field.width == 32) {
        const std::string name = random.name();
        status = CommitField(map, field.field, name);
        writes = name.size() <= 31;
        if (writes) {
            std::fill_n(expected.begin() + at, 32, 0);
            std::copy(name.begin(), name.end(), expected.begin() + at);
        }
    } else if (field.field == EditField::SyntaxScriptTableOffset) {
        const std::int32_t absolute = random.below(1 << 20);
        status = CommitField(map, field.field, Hexadecimal(absolute));
        PutBytes(expected, at, static_cast<std::int32_t>(static_cast<std::uint32_t>(absolute) -
                                                         static_cast<std::uint32_t>(map.ScriptTableOuter)), 4);
    } else {
        const auto [text, value] = random.number();
        status = CommitField(map, field.field, text);
        PutBytes(expected, at, value, field.width);
    }
    const auto after = testing::ReadBytes(path);
    if (status.ok() && writes) {
        ASSERT_EQ(after, expected) << "field " << static_cast<int>(field.field) << " at " << at;
    } else {
        ASSERT_EQ(after, before) << "a refused or empty commit wrote something";
    }
}

TEST(WritePathProperty, RandomEditsChangeOnlyTheirFieldsBytes) {
    RandomMaps random(1209);
    testing::TempDir dir;
    int reloads = 0;
    for (int round = 0; round < 60; ++round) {
        const std::string path = testing::WriteMap(dir, random.map());
        MapState map;
        testing::CollectedMessages messages;
        ASSERT_TRUE(testing::Load(map, path, messages));
        for (int edit = 0; edit < 40; ++edit) {
            RandomEdit(random, map, path);
            if (::testing::Test::HasFatalFailure()) return;
        }
        // What the edits wrote is what a fresh load reads. (Node 0's sibling
        // field is also the node count, so an edit there may leave a map
        // that no longer loads; that refusal is checked elsewhere.)
        MapState reloaded;
        if (!testing::Load(reloaded, path, messages)) continue;
        ++reloads;
        ASSERT_EQ(reloaded.ScriptHeaderCache.size(), map.ScriptHeaderCache.size());
        for (std::size_t i = 0; i < map.ScriptHeaderCache.size(); ++i) {
            EXPECT_EQ(reloaded.ScriptHeaderCache[i].Type, map.ScriptHeaderCache[i].Type);
            EXPECT_EQ(reloaded.ScriptHeaderCache[i].Name, map.ScriptHeaderCache[i].Name.view().substr(0, 31));
        }
    }
    EXPECT_GT(reloads, 30);
}

TEST(WritePathProperty, EditsOnDamagedOrShrunkenFilesStayInsideOrAreRefused) {
    RandomMaps random(77);
    testing::TempDir dir;
    for (int round = 0; round < 80; ++round) {
        const std::string path = testing::WriteMap(dir, random.map());
        MapState map;
        testing::CollectedMessages messages;
        ASSERT_TRUE(testing::Load(map, path, messages));
        // The file is cut short (or its records' bytes scrambled) behind the
        // tool's back after the load.
        auto bytes = testing::ReadBytes(path);
        if (random.below(2) == 0) {
            bytes.resize(static_cast<std::size_t>(random.below(static_cast<int>(bytes.size()) + 1)));
        } else {
            for (int i = 0; i < 20; ++i) bytes[static_cast<std::size_t>(random.below(static_cast<int>(bytes.size())))] ^= 0x5A;
        }
        testing::WriteBytes(path, bytes);
        for (int edit = 0; edit < 20; ++edit) {
            const Expectation& field = kFields[random.below(std::size(kFields))];
            const std::size_t records = CacheSize(map, field.kind);
            if (records == 0) continue;
            Show(map, field.kind, static_cast<std::size_t>(random.below(static_cast<int>(records))));
            const auto before = testing::ReadBytes(path);
            const Status status = field.popup ? CommitPopup(map, field.field, 1)
                                              : CommitField(map, field.field, field.width == 32 ? "n" : "7");
            const auto after = testing::ReadBytes(path);
            ASSERT_EQ(after.size(), before.size()) << "an edit grew or shrank the file";
            if (!status.ok()) {
                ASSERT_EQ(after, before) << MessageOf(status.error());
                EXPECT_FALSE(MessageOf(status.error()).empty());
            }
        }
    }
}

}  // namespace
}  // namespace quorin
