// SPDX-License-Identifier: GPL-3.0-or-later
// apply: a script's or global's text, edited in a file, written back as the
// fields its changed tokens name, in one write through the descriptor MAP
// was read through. --json script|global: the text with the part of every
// byte, for tools that want the same mapping from text to fields.

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandRuns.h"
#include "app/cli/JsonWriter.h"
#include "base/TextFormat.h"
#include "browse/RecordSelection.h"
#include "file/SystemFile.h"
#include "textedit/TextEditPlan.h"
#include "session/MapSession.h"

namespace quorin::cli {

namespace {

constexpr std::string_view kStandardInput = "-";
// An edited text may hold longer tokens than the map's text, never this much.
constexpr std::size_t kLongestEditedText = 2 * kDecompiledTextLimit;
// A text refused token by token says where for this many of them.
constexpr std::size_t kMostRefusalsShown = 100;

std::optional<RecordKind> TextKindNamed(std::string_view word) {
    if (word == "script") return RecordKind::Script;
    if (word == "global") return RecordKind::Global;
    return std::nullopt;
}

Result<std::string> ReadEdited(const std::string& path) {
    Result<std::vector<std::uint8_t>> bytes = Error{};
    if (path == kStandardInput) {
        bytes = ReadStandardInput(kLongestEditedText + 1);
    } else {
        auto file = SystemFile::open(path, SystemFile::Access::Read);
        if (!file) return file.error();
        bytes = file->readFromStart(kLongestEditedText + 1);
    }
    if (!bytes) return bytes.error();
    if (bytes->size() > kLongestEditedText) {
        return Error(ErrorCode::TooLong, path, std::nullopt)
               << "\"" << FilePath{path} << "\" is longer than " << Decimal(kLongestEditedText)
               << " bytes, far longer than any text of a map. Nothing was written.";
    }
    return std::string(bytes->begin(), bytes->end());
}

// The map loaded and the record named, or nothing after the message.
std::optional<TextRecord> Named(CliContext& context, const MapSession& session, RecordKind kind) {
    const auto record = session.recordNamed(kind, context.args[2]);
    if (!record) {
        context.err << "\"" << context.args[0] << "\" has no " << context.args[1] << " \"" << context.args[2]
                    << "\". Nothing was written.\n";
        return std::nullopt;
    }
    return TextRecord{kind, record->position};
}

}  // namespace

int Apply(CliContext& context) {
    const auto kind = TextKindNamed(context.args[1]);
    if (!kind) {
        context.err << "quorin-cli: apply: the record kind is script or global, not \"" << context.args[1] << "\"\n";
        return kUsage;
    }
    const std::string& file = context.args[3];
    const bool dryRun = context.hasFlag(kDryRunFlag);
    MapSession* session = OpenForCommand(context, context.args[0], dryRun ? OpenMode::ReadOnly : OpenMode::HoldForWriting);
    if (!session) return kRefused;
    const auto record = Named(context, *session, *kind);
    if (!record) return kRefused;
    const auto edited = ReadEdited(file);
    if (!edited) {
        context.err << MessageOf(edited.error()) << '\n';
        return kRefused;
    }

    const TextPlan plan = PlanEditedFile(session->map(), *record, *edited);
    if (plan.refused()) {
        PlaceFinder places(*edited);
        const std::size_t shown = std::min(plan.refusals.size(), kMostRefusalsShown);
        for (std::size_t i = 0; i < shown; ++i) {
            const TextPlace place = places.placeOf(plan.refusals[i].at);
            context.err << file << ':' << place.line << ':' << place.column << ": " << plan.refusals[i].message << '\n';
        }
        if (shown < plan.refusals.size()) {
            context.err << "... and " << plan.refusals.size() - shown << " more refused tokens\n";
        }
        context.err << "Nothing was written.\n";
        return kRefused;
    }
    if (plan.writes.empty()) {
        context.err << "nothing to write\n";
        return kSuccess;
    }
    if (dryRun) {
        for (const PlannedWrite& write : plan.writes) context.out << DryRunLine(write) << '\n';
        return kSuccess;
    }
    if (auto applied = session->apply(plan); !applied) {
        context.err << MessageOf(applied.error()) << '\n';
        return kRefused;
    }
    context.err << plan.writes.size() << (plan.writes.size() == 1 ? " field" : " fields") << " written\n";
    return kSuccess;
}

namespace {

// { "text": TEXT, "complete": BOOL, "parts": [ { "kind", "from", "text",
// and for a token "field", "offset", "width", and "node" for a node's }, ... ] }
int TextJson(CliContext& context, RecordKind kind) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const auto record = RecordNamed(*state, kind, context.args[1]);
    if (!record) {
        context.err << "no " << (kind == RecordKind::Script ? "script" : "global") << " named \"" << context.args[1]
                    << "\" in " << context.args[0] << '\n';
        return kRefused;
    }
    const PartedText text = RecordText(*state, {kind, record->position});
    JsonWriter json(context.out);
    json.beginObject();
    json.key("text");
    json.text(text.text());
    json.key("complete");
    json.boolean(!IsCut(text));
    json.key("parts");
    json.beginArray();
    for (const TextPart& part : text.parts()) {
        json.beginObject();
        json.key("kind");
        json.text(PartKindName(part.kind));
        json.key("from");
        json.number(static_cast<std::int64_t>(part.from));
        json.key("text");
        json.text(text.bytesOf(part));
        if (const auto field = FieldOfPart(*state, part)) {
            json.key("field");
            json.text(PartFieldName(part.kind));
            json.key("offset");
            json.number(field->offset);
            json.key("width");
            json.number(field->field.width);
            if (RecordKindOf(part.kind) == RecordKind::Syntax) {
                json.key("node");
                json.number(state->SyntaxCache[part.position].ExpIdentity);
            }
        }
        json.endObject();
    }
    json.endArray();
    json.endObject();
    context.out << '\n';
    if (IsCut(text)) context.err << "the text is cut after " << kDecompiledTextLimit << " bytes\n";
    return kSuccess;
}

}  // namespace

int ScriptJson(CliContext& context) { return TextJson(context, RecordKind::Script); }
int GlobalJson(CliContext& context) { return TextJson(context, RecordKind::Global); }


}  // namespace quorin::cli
