// SPDX-License-Identifier: GPL-3.0-or-later
// diff: what changed from one map to another, record by record, as a
// unified diff that patch reads; with --stat one line per record that
// differs and a count; with --json one document. Sections are written as
// they are made. The exit status is diff's: 0 when no record differs, 1 when
// some do, 2 when a map cannot be loaded, the arguments are wrong or stdout
// cannot be written.

#include <optional>
#include <ostream>
#include <string>

#include "app/cli/CliCommand.h"
#include "app/cli/OutputLimit.h"
#include "app/cli/CommandRuns.h"
#include "app/cli/JsonWriter.h"
#include "base/TextFormat.h"
#include "compare/MapComparison.h"

namespace quorin::cli {

namespace {

constexpr int kSame = 0;
constexpr int kDiffer = 1;
constexpr int kTrouble = 2;

// The sections, byte for byte.
class SectionLines final : public DifferenceSink {
public:
    explicit SectionLines(std::ostream& out) : out_(out) {}
    bool take(const RecordDifference&, std::string_view section) override {
        out_.write(section.data(), static_cast<std::streamsize>(section.size()));
        return static_cast<bool>(out_);
    }

private:
    std::ostream& out_;
};

// "script NAME | +A -R" per record, as git diff --stat counts lines.
class StatLines final : public DifferenceSink {
public:
    explicit StatLines(std::ostream& out) : out_(out) {}
    bool take(const RecordDifference& record, std::string_view) override {
        std::string line(KindWord(record.kind));
        line += ' ';
        AppendEscapedField(line, record.name);
        if (record.notCompared != NotCompared::No) {
            line += " | not compared\n";
        } else {
            line += " | +";
            AppendDecimal(line, record.lines.added);
            line += " -";
            AppendDecimal(line, record.lines.removed);
            line += '\n';
        }
        out_ << line;
        return static_cast<bool>(out_);
    }

private:
    std::ostream& out_;
};

// One object per record in the document's "records" array.
class JsonRecords final : public DifferenceSink {
public:
    JsonRecords(JsonWriter& json, std::ostream& out) : json_(json), out_(out) {}
    bool take(const RecordDifference& record, std::string_view section) override {
        json_.beginObject();
        json_.key("kind");
        json_.text(KindWord(record.kind));
        json_.key("name");
        json_.text(record.name);
        json_.key("change");
        json_.text(ChangeWord(record.change));
        json_.key("compared");
        json_.boolean(record.notCompared == NotCompared::No);
        json_.key("section");
        json_.text(section);
        json_.endObject();
        return static_cast<bool>(out_);
    }

private:
    JsonWriter& json_;
    std::ostream& out_;
};

struct LoadedPair {
    const MapState& oldMap;
    const MapState& newMap;
};

// OLD, then NEW; the message of a refusal is on stderr by then.
std::optional<LoadedPair> LoadBoth(CliContext& context) {
    const MapState* oldMap = LoadForCommand(context, context.args[0], OpenMode::ReadOnly);
    if (!oldMap) return std::nullopt;
    const MapState* newMap = LoadForCommand(context, context.args[1], OpenMode::ReadOnly);
    if (!newMap) return std::nullopt;
    return LoadedPair{*oldMap, *newMap};
}

// The status once the output is written; a write that failed is trouble,
// whatever the maps hold.
int Status(CliContext& context, const ComparisonResult& result) {
    if (!result.complete || !context.out.flush()) {
        if (context.outputLimit && context.outputLimit->sayReached(context.err)) return kTrouble;
        context.err << "quorin-cli: writing the comparison to stdout failed; what was written is incomplete.\n";
        return kTrouble;
    }
    return result.differing() == 0 ? kSame : kDiffer;
}

}  // namespace

int Diff(CliContext& context) {
    const auto maps = LoadBoth(context);
    if (!maps) return kTrouble;
    if (context.hasFlag(kStatFlag)) {
        StatLines stat(context.out);
        const ComparisonResult result = CompareMaps(maps->oldMap, maps->newMap, stat);
        if (result.complete && result.differing() > 0) context.out << result.message() << '\n';
        return Status(context, result);
    }
    SectionLines sections(context.out);
    const ComparisonResult result = CompareMaps(maps->oldMap, maps->newMap, sections);
    if (result.complete) context.err << result.message() << '\n';
    return Status(context, result);
}

// {"records": [{"kind": "script"|"global", "name": NAME, "change":
// "changed"|"added"|"removed", "compared": true, "section": TEXT}, ...]}
int DiffJson(CliContext& context) {
    if (context.hasFlag(kStatFlag)) {
        context.err << "quorin-cli: --stat and --json do not go together\n";
        return kTrouble;
    }
    const auto maps = LoadBoth(context);
    if (!maps) return kTrouble;
    JsonWriter json(context.out);
    json.beginObject();
    json.key("records");
    json.beginArray();
    JsonRecords records(json, context.out);
    const ComparisonResult result = CompareMaps(maps->oldMap, maps->newMap, records);
    json.endArray();
    json.endObject();
    context.out << '\n';
    if (result.complete) context.err << result.message() << '\n';
    return Status(context, result);
}

}  // namespace quorin::cli
