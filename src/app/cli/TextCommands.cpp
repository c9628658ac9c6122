// script, global, extract-scripts, extract-globals, extract-all, database:
// the texts the result windows hold, written to stdout byte for byte.

#include <ostream>

#include "app/cli/CliCommand.h"
#include "browse/RecordSelection.h"
#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "script/Decompiler.h"

namespace quorin::cli {

namespace {

int Script(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const auto script = RecordNamed(*state, RecordKind::Script, context.args[1]);
    if (!script) {
        context.err << "no script named \"" << context.args[1] << "\" in " << context.args[0] << '\n';
        return kRefused;
    }
    context.out << DecompileScript(*state, state->ScriptHeaderCache[script->position]) << '\n';
    return kSuccess;
}

int Global(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const auto global = RecordNamed(*state, RecordKind::Global, context.args[1]);
    if (!global) {
        context.err << "no global named \"" << context.args[1] << "\" in " << context.args[0] << '\n';
        return kRefused;
    }
    context.out << DecompileGlobal(*state, state->GlobalHeaderCache[global->position]) << '\n';
    return kSuccess;
}

// Runs a range text over FIRST and LAST; numbers are checked before the map
// is read, so a typo is a usage error whatever the map holds.
int Range(CliContext& context, std::string (*text)(const MapContent&, std::int64_t, std::int64_t)) {
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
    context.out << text(*state, *first, *last);
    context.err << kRangeDoneMessage << '\n';
    return kSuccess;
}

int ExtractScripts(CliContext& context) { return Range(context, ScriptRangeText); }
int ExtractGlobals(CliContext& context) { return Range(context, GlobalRangeText); }

int ExtractEverything(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const ExtractAllResult result = ExtractAll(*state);
    context.out << result.text;
    context.err << result.message() << '\n';
    return kSuccess;
}

int Database(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const CommandDatabaseResult result = BuildCommandDatabase(state->SyntaxCache);
    for (const std::string& line : result.lines) context.out << line;
    context.err << result.message() << '\n';
    return kSuccess;
}

const CommandRegistration script({"script", "script MAP NAME", 2, 2, Script});
const CommandRegistration global({"global", "global MAP NAME", 2, 2, Global});
const CommandRegistration extractScripts({"extract-scripts", "extract-scripts MAP FIRST LAST", 3, 3, ExtractScripts});
const CommandRegistration extractGlobals({"extract-globals", "extract-globals MAP FIRST LAST", 3, 3, ExtractGlobals});
const CommandRegistration extractAll({"extract-all", "extract-all MAP", 1, 1, ExtractEverything});
const CommandRegistration database({"database", "database MAP", 1, 1, Database});

}  // namespace

}  // namespace quorin::cli
