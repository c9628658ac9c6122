// SPDX-License-Identifier: GPL-3.0-or-later
// Random same-shape edits of script and global texts on random maps, each
// checked against a model of the token table written here from the file
// layout alone: which field a changed token writes, with which bytes, when
// a field already shows the asked value, and which edits are refused. The
// model reads the current values from the file's bytes and finds texts by
// their stored offsets there; it shares nothing with the planner but the
// text producer's parts, which say where each token stands.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <random>

#include "builder/MapBuilder.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "map/TypeTables.h"
#include "script/Decompiler.h"
#include "support/CliRun.h"
#include "support/TempMap.h"
#include "session/TextEditApply.h"
#include "textedit/TextEditPlan.h"

namespace quorin {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kTrueValue = -255;
constexpr std::int32_t kFalseValue = -256;
constexpr std::int32_t kBooleanType = 5;

class Random {
public:
    explicit Random(unsigned seed) : random_(seed) {}
    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    std::string letters(int least, int most) {
        std::string text(static_cast<std::size_t>(least + below(most - least + 1)), 'a');
        for (char& c : text) c = static_cast<char>('a' + below(3));
        return text;
    }

private:
    std::mt19937 random_;
};

MapBuilder RandomMap(Random& random) {
    MapBuilder builder;
    const int nodes = 2 + random.below(24);
    const auto link = [&] { return random.chance(20) ? -1 : 1 + random.below(nodes + 2); };
    for (int i = 0; i < nodes; ++i) {
        Syntax node;
        node.ExpIdentity = random.chance(90) ? i + 1 : 1 + random.below(nodes);  // shared identities happen
        node.EngineIdentity = random.chance(10) ? -1 : random.below(50);
        const int valueTypes[] = {2, 4, 5, 5, 6, 7, 8, 9, 11, 60};
        node.ValueType = valueTypes[random.below(10)];
        const int expTypes[] = {8, 9, 9, 9, 13, 3};
        node.ExpType = expTypes[random.below(6)];
        node.SibExpPointer = link();
        node.KidExpPointer = link();
        node.ScriptValue = random.chance(30) ? (random.chance(50) ? kTrueValue : kFalseValue) : random.below(600) - 300;
        const int textKind = random.below(10);
        if (textKind < 7) node.Command = random.letters(1, 3);
        else if (textKind == 7) node.Command = random.letters(1, 2) + " " + random.letters(1, 2);
        else if (textKind == 8) node.Command = "(" + random.letters(1, 2) + ")";
        builder.nodes.push_back(node);
    }
    for (int i = 0, n = 1 + random.below(4); i < n; ++i) {
        const int type = random.chance(10) ? 7 : random.below(5);
        const int returnType = random.chance(10) ? 60 : random.below(49);
        builder.scripts.push_back({random.letters(1, 8), type, returnType, link(), 0});
    }
    for (int i = 0, n = 1 + random.below(4); i < n; ++i) {
        const int types[] = {5, 5, 6, 7, 8, 9, 60};
        builder.globals.push_back({random.letters(1, 8), types[random.below(7)], link(), 0});
    }
    if (random.chance(50)) builder.stringTableAt = 3000 + 16 * random.below(60);
    return builder;
}

std::int32_t Int16At(const Bytes& file, std::int64_t at) {
    return static_cast<std::int16_t>(file[static_cast<std::size_t>(at)] | (file[static_cast<std::size_t>(at) + 1] << 8));
}
std::int32_t Int32At(const Bytes& file, std::int64_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | file[static_cast<std::size_t>(at + i)];
    return static_cast<std::int32_t>(value);
}
std::string LittleEndian(std::int32_t value, int width) {
    std::string bytes;
    for (int i = 0; i < width; ++i) bytes += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    return bytes;
}

bool ShowsReturnType(std::int32_t scriptType) { return scriptType != 0 && scriptType != 2; }

std::optional<std::int32_t> NumberOf(const std::string& text) {
    std::size_t at = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
    if (at == text.size() || text.find_first_not_of("0123456789", at) != std::string::npos || text.size() > 12) {
        return std::nullopt;
    }
    const long long value = std::stoll(text);
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

template <std::size_t N>
std::optional<std::int32_t> CodeIn(const std::array<std::string_view, N>& names, const std::string& name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == name) return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

// What the model expects of one edit.
struct Expectation {
    std::string edited;                              // the text given to apply
    std::string reprinted;                           // the record's text once written
    std::vector<std::pair<std::int64_t, std::string>> writes;  // in text order
    bool refused = false;
};

// Makes a random same-shape edit of one record's text and works out what
// it must write.
class Model {
public:
    Model(Random& random, const MapState& map, const MapLayout& layout, const Bytes& file)
        : random_(random), map_(map), layout_(layout), file_(file) {}

    Expectation edit(RecordKind kind, std::size_t position) {
        const PartedText text = kind == RecordKind::Script ? ScriptTextParts(map_, position)
                                                           : GlobalTextParts(map_, position);
        kind_ = kind;
        position_ = position;
        asked_.clear();
        expect_ = {};
        if (kind == RecordKind::Global) globalType_ = Int16At(file_, layout_.globalEntry(static_cast<int>(position)) + 32);
        for (const TextPart& part : text.parts()) {
            const std::string old(text.bytesOf(part));
            if (part.kind == PartKind::Fixed) {
                expect_.edited += old;
                expect_.reprinted += old;
                continue;
            }
            token(part, old);
        }
        // Now and then a change of the shape itself.
        if (random_.chance(4) && !expect_.edited.empty()) {
            std::size_t at = static_cast<std::size_t>(random_.below(static_cast<int>(expect_.edited.size())));
            expect_.edited.insert(at, "(");
            expect_.refused = true;
        } else if (random_.chance(4)) {
            expect_.edited += " x";
            expect_.refused = true;
        } else if (random_.chance(20)) {
            expect_.edited += "\n";
        }
        if (expect_.refused) expect_.writes.clear();
        return expect_;
    }

private:
    void take(const std::string& typed, const std::string& reprinted) {
        expect_.edited += typed;
        expect_.reprinted += reprinted;
    }
    void refuse(const std::string& typed) {
        take(typed, typed);
        expect_.refused = true;
    }
    // A field asked for a value: written when it changes, refused when the
    // same field was asked for another value before.
    void ask(std::int64_t offset, const std::string& asked, std::optional<std::string> bytes) {
        const auto [earlier, first] = asked_.try_emplace(offset, asked);
        if (!first) {
            if (earlier->second != asked) expect_.refused = true;
            return;
        }
        if (bytes) expect_.writes.emplace_back(offset, *bytes);
    }
    std::int64_t entry() const {
        return kind_ == RecordKind::Script ? layout_.scriptEntry(static_cast<int>(position_))
                                           : layout_.globalEntry(static_cast<int>(position_));
    }
    std::int64_t node(std::size_t position) const { return layout_.node(static_cast<int>(position)); }

    void token(const TextPart& part, const std::string& old) {
        switch (part.kind) {
        case PartKind::ScriptType: return scriptType(old);
        case PartKind::ReturnType: return valueType(old, entry() + 34, false);
        case PartKind::GlobalType: return valueType(old, entry() + 32, true);
        case PartKind::ScriptName:
        case PartKind::GlobalName: return name(old);
        case PartKind::NodeText: return nodeText(part.position, old);
        case PartKind::NodeNumber: return number(part.position, old);
        case PartKind::NodeTruth: return truth(part.position, old, false);
        case PartKind::GlobalValue:
            if (globalType_ == kBooleanType) return truth(part.position, old, true);
            return number(part.position, old);
        case PartKind::Fixed: return;
        }
    }

    void scriptType(const std::string& old) {
        const std::int64_t at = entry() + 32;
        const std::int32_t now = Int16At(file_, at);
        if (!random_.chance(30)) return take(old, old), ask(at, old, std::nullopt);
        const std::string typed = random_.chance(10) ? "sometime" : std::string(kScriptTypeNames[random_.below(5)]);
        const auto code = CodeIn(kScriptTypeNames, typed);
        if (typed == old) return take(old, old), ask(at, old, std::nullopt);
        if (!code || ShowsReturnType(*code) != ShowsReturnType(now)) return refuse(typed);
        take(typed, typed);
        ask(at, typed, LittleEndian(*code, 2));
    }

    void valueType(const std::string& old, std::int64_t at, bool global) {
        if (!random_.chance(30)) return take(old, old), ask(at, old, std::nullopt);
        const std::string typed = random_.chance(10) ? "vacuum" : std::string(kValueTypeNames[random_.below(49)]);
        const auto code = CodeIn(kValueTypeNames, typed);
        if (typed == old) return take(old, old), ask(at, old, std::nullopt);
        if (!code) return refuse(typed);
        if (global) globalType_ = *code;
        take(typed, typed);
        ask(at, typed, LittleEndian(*code, 2));
    }

    void name(const std::string& old) {
        const std::int64_t at = entry();
        if (!random_.chance(30)) return take(old, old), ask(at, old, std::nullopt);
        const int kind = random_.below(10);
        const std::string typed = kind == 0 ? random_.letters(32, 40) : kind == 1 ? "ta\tb" : random_.letters(1, 31);
        if (typed == old) return take(old, old), ask(at, old, std::nullopt);
        if (typed.size() > 31 || typed.find('\t') != std::string::npos) return refuse(typed);
        take(typed, typed);
        ask(at, typed, typed + std::string(32 - typed.size(), '\0'));
    }

    static bool HoldsTokenEnd(const std::string& text) { return text.find_first_of(" ()\n") != std::string::npos; }

    void nodeText(std::size_t position, const std::string& old) {
        const std::int64_t at = node(position) + 12;
        if (!random_.chance(35)) return take(old, old), ask(at, old, std::nullopt);
        std::string typed;
        if (random_.chance(15)) {
            typed = "zzz";  // no node has it
        } else {
            typed = map_.SyntaxCache[static_cast<std::size_t>(random_.below(static_cast<int>(map_.SyntaxCache.size())))].Command.str();
            if (HoldsTokenEnd(typed)) typed = old;
        }
        if (typed == old) return take(old, old), ask(at, old, std::nullopt);
        if (HoldsTokenEnd(old)) return refuse(typed);
        // The smallest stored offset of a node with that text, as the file holds it.
        std::optional<std::int32_t> stored;
        for (std::size_t p = 0; p < map_.SyntaxCache.size(); ++p) {
            if (map_.SyntaxCache[p].Command.view() != typed) continue;
            const std::int32_t offset = Int32At(file_, node(p) + 12);
            if (!stored || offset < *stored) stored = offset;
        }
        if (!stored) return refuse(typed);
        take(typed, typed);
        ask(at, typed, LittleEndian(*stored, 4));
    }

    void number(std::size_t position, const std::string& old) {
        const std::int64_t at = node(position) + 16;
        const std::int32_t now = Int16At(file_, at);
        std::string typed = old;
        if (!NumberOf(old) && random_.chance(80)) typed = "0";  // the type became a number's
        if (random_.chance(35)) {
            const std::int32_t value = random_.chance(50) ? random_.below(65536) - 32768 : random_.below(20) - 10;
            const int form = random_.below(10);
            char text[32];
            if (form == 0) std::snprintf(text, sizeof text, "%d", value < 0 ? value - 40000 : value + 40000);
            else if (form == 1) std::snprintf(text, sizeof text, "%dq", value);
            else if (form == 2) std::snprintf(text, sizeof text, "+%03d", std::abs(value));
            else std::snprintf(text, sizeof text, "%d", value);
            typed = text;
        }
        const auto value = NumberOf(typed);
        if (!value) return refuse(typed);
        take(typed, std::to_string(*value));
        ask(at, std::to_string(*value), *value == now ? std::nullopt : std::optional(LittleEndian(*value, 2)));
    }

    void truth(std::size_t position, const std::string& old, bool global) {
        const std::int64_t at = node(position) + 16;
        const std::int32_t now = Int16At(file_, at);
        std::string typed = old;
        if (global && old != "true" && old != "false" && random_.chance(80)) typed = "false";  // the type became boolean
        if (random_.chance(35)) typed = random_.chance(10) ? "TRUE" : random_.chance(50) ? "true" : "false";
        if (typed != "true" && typed != "false") return refuse(typed);
        take(typed, typed);
        const bool shows = (now == kTrueValue) == (typed == "true");
        ask(at, typed, shows ? std::nullopt : std::optional(LittleEndian(typed == "true" ? kTrueValue : kFalseValue, 2)));
    }

    Random& random_;
    const MapState& map_;
    MapLayout layout_;
    const Bytes& file_;
    RecordKind kind_ = RecordKind::Script;
    std::size_t position_ = 0;
    std::int32_t globalType_ = 0;
    std::map<std::int64_t, std::string> asked_;
    Expectation expect_;
};

Bytes Written(Bytes file, const Expectation& expected) {
    for (const auto& [offset, bytes] : expected.writes) {
        std::copy(bytes.begin(), bytes.end(), file.begin() + offset);
    }
    return file;
}

std::string KindWord(RecordKind kind) { return kind == RecordKind::Script ? "script" : "global"; }

TEST(TextEditProperty, RandomEditsWriteWhatTheTokenTableSays) {
    Random random(1907);
    testing::TempDir dir;
    int written = 0, refused = 0, unchanged = 0, throughCli = 0;
    for (int round = 0; round < 400; ++round) {
        const MapBuilder builder = RandomMap(random);
        const std::string path = testing::WriteMap(dir, builder, "random.map");
        const Bytes before = testing::ReadBytes(path);
        MapState map;
        ASSERT_TRUE(OpenMap(map, path, BuiltInMapNames()));
        const bool script = random.chance(60) && !map.ScriptHeaderCache.empty();
        const RecordKind kind = script || map.GlobalHeaderCache.empty() ? RecordKind::Script : RecordKind::Global;
        const std::size_t records = kind == RecordKind::Script ? map.ScriptHeaderCache.size() : map.GlobalHeaderCache.size();
        if (records == 0) continue;
        const std::size_t position = static_cast<std::size_t>(random.below(static_cast<int>(records)));
        Model model(random, map, builder.layout(), before);
        const Expectation expected = model.edit(kind, position);
        const std::string what = "round " + std::to_string(round) + ": " + expected.edited;

        const TextPlan plan = PlanEditedFile(map, {kind, position}, expected.edited);
        ASSERT_EQ(plan.refused(), expected.refused) << what << "\n" << (plan.refused() ? plan.refusals.front().message : "");
        if (expected.refused) {
            ++refused;
            EXPECT_FALSE(ApplyTextPlan(map, plan));
            ASSERT_EQ(testing::ReadBytes(path), before) << what;
            continue;
        }
        ASSERT_EQ(plan.writes.size(), expected.writes.size()) << what;
        for (std::size_t i = 0; i < plan.writes.size(); ++i) {
            EXPECT_EQ(plan.writes[i].offset, expected.writes[i].first) << what;
        }
        expected.writes.empty() ? ++unchanged : ++written;

        // Every fifth edit goes through quorin-cli: the dry run writes
        // nothing and prints a line per field; apply writes the same bytes.
        if (round % 5 == 0) {
            ++throughCli;
            const std::string edited = dir.path("edited.txt");
            testing::WriteBytes(edited, Bytes(expected.edited.begin(), expected.edited.end()));
            const std::string name(kind == RecordKind::Script ? map.ScriptHeaderCache[position].Name.view()
                                                              : map.GlobalHeaderCache[position].Name.view());
            // quorin-cli names a record; the later of two alike wins.
            const bool reachable = (kind == RecordKind::Script ? map.scriptPosition(name) : map.globalPosition(name)) == position;
            if (reachable) {
                const auto dry = testing::RunCli({"apply", path, KindWord(kind), name, edited, "--dry-run"});
                ASSERT_EQ(dry.exitCode, 0) << what << dry.err;
                ASSERT_EQ(testing::ReadBytes(path), before) << what;
                EXPECT_EQ(static_cast<std::size_t>(std::count(dry.out.begin(), dry.out.end(), '\n')), expected.writes.size()) << what;
                const auto run = testing::RunCli({"apply", path, KindWord(kind), name, edited});
                ASSERT_EQ(run.exitCode, 0) << what << run.err;
                ASSERT_EQ(testing::ReadBytes(path), Written(before, expected)) << what;
                MapState reloaded;
                ASSERT_TRUE(OpenMap(reloaded, path, BuiltInMapNames()));
                const PartedText again = kind == RecordKind::Script ? ScriptTextParts(reloaded, position)
                                                                    : GlobalTextParts(reloaded, position);
                EXPECT_EQ(again.text(), expected.reprinted) << what;
                continue;
            }
        }
        ASSERT_TRUE(ApplyTextPlan(map, plan));
        ASSERT_EQ(testing::ReadBytes(path), Written(before, expected)) << what;
        // The records follow the write, and a fresh load prints the same.
        MapState reloaded;
        ASSERT_TRUE(OpenMap(reloaded, path, BuiltInMapNames()));
        const PartedText shown = kind == RecordKind::Script ? ScriptTextParts(map, position) : GlobalTextParts(map, position);
        const PartedText again = kind == RecordKind::Script ? ScriptTextParts(reloaded, position)
                                                            : GlobalTextParts(reloaded, position);
        EXPECT_EQ(again.text(), expected.reprinted) << what;
        EXPECT_EQ(shown.text(), expected.reprinted) << what;
    }
    // The edits reach every outcome often enough to mean something.
    EXPECT_GT(written, 100);
    EXPECT_GT(refused, 60);
    EXPECT_GT(unchanged, 10);
    EXPECT_GT(throughCli, 40);
}

}  // namespace
}  // namespace quorin
