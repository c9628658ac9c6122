// SPDX-License-Identifier: GPL-3.0-or-later
// script, global, extract-scripts, extract-globals, extract-all, database:
// the texts the result windows hold, written to stdout byte for byte as they
// are made, so a run's memory does not grow with its text.

#include <ostream>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandRuns.h"
#include "browse/RecordSelection.h"
#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "base/TextSink.h"
#include "script/Decompiler.h"

namespace quorin::cli {

namespace {

// Hands each piece straight to stdout; a failed write stops the run.
class StdoutSink final : public TextSink {
public:
    explicit StdoutSink(std::ostream& out) : out_(out) {}
    bool take(std::string_view piece) override {
        out_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        return static_cast<bool>(out_);
    }

private:
    std::ostream& out_;
};

}  // namespace

int Script(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const auto script = RecordNamed(*state, RecordKind::Script, context.args[1]);
    if (!script) {
        context.err << "no script named \"" << context.args[1] << "\" in " << context.args[0] << '\n';
        return kRefused;
    }
    StdoutSink sink(context.out);
    TextOutput out(sink);
    WriteScriptText(out, *state, state->ScriptHeaderCache[script->position]);
    out += '\n';
    return out.flush() ? kSuccess : StdoutStopped(context);
}

int Global(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const auto global = RecordNamed(*state, RecordKind::Global, context.args[1]);
    if (!global) {
        context.err << "no global named \"" << context.args[1] << "\" in " << context.args[0] << '\n';
        return kRefused;
    }
    StdoutSink sink(context.out);
    TextOutput out(sink);
    AppendGlobalDeclaration(out, *state, state->GlobalHeaderCache[global->position]);
    out += '\n';
    return out.flush() ? kSuccess : StdoutStopped(context);
}

namespace {

// Runs a range text over FIRST and LAST; numbers are checked before the map
// is read, so a typo is a usage error whatever the map holds.
int Range(CliContext& context, bool (*write)(const MapContent&, std::int64_t, std::int64_t, TextSink&)) {
    const auto first = ParseWholeNumber(context.args[1]);
    const auto last = ParseWholeNumber(context.args[2]);
    if (!first || !last) {
        context.err << "quorin-cli: FIRST and LAST must be whole numbers (cache positions)\n";
        return kUsage;
    }
    // The range window cannot ask for these either: its first list starts
    // at position 0 and its last list after the chosen first.
    if (*first < 0) {
        context.err << "quorin-cli: FIRST is a cache position, 0 or more, not " << *first << '\n';
        return kUsage;
    }
    if (*first > *last) {
        context.err << "quorin-cli: FIRST (" << *first << ") lies past LAST (" << *last << ")\n";
        return kUsage;
    }
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    StdoutSink sink(context.out);
    if (!write(*state, *first, *last, sink)) return StdoutStopped(context);
    context.err << kRangeDoneMessage << '\n';
    return kSuccess;
}

}  // namespace

int ExtractScripts(CliContext& context) { return Range(context, WriteScriptRange); }
int ExtractGlobals(CliContext& context) { return Range(context, WriteGlobalRange); }

int ExtractEverything(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    StdoutSink sink(context.out);
    const ExtractAllResult result = ExtractAll(*state, sink);
    if (!result.complete) return StdoutStopped(context);
    context.err << result.message() << '\n';
    return kSuccess;
}

int Database(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    StdoutSink sink(context.out);
    const CommandDatabaseResult result = WriteCommandDatabase(state->SyntaxCache, sink);
    if (!result.complete) return StdoutStopped(context);
    context.err << result.message() << '\n';
    return kSuccess;
}

}  // namespace quorin::cli
