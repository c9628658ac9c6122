// SPDX-License-Identifier: GPL-3.0-or-later
// find: where a text occurs in a map (script and global names, and the
// nodes of every script's text), one tab-separated line per hit, or with
// --json the same hits as one document.

#include <ostream>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandRuns.h"
#include "app/cli/JsonWriter.h"
#include "search/HitLines.h"
#include "search/MapSearch.h"

namespace quorin::cli {

namespace {

// As grep: nothing found is not a failure worth a message, only a status.
constexpr int kNothingFound = 1;

// The hits as one document: {"hits": [...], "complete": true}. Each hit is
// {"kind": "s"|"g", "name": NAME} or {"kind": "u", "script": SCRIPT,
// "identity": N, "command": COMMAND}, the fields of the plain line.
void WriteHitDocument(std::ostream& out, const SearchResult& result) {
    JsonWriter json(out);
    json.beginObject();
    json.key("hits");
    json.beginArray();
    for (const SearchHit& hit : result.hits) {
        json.beginObject();
        json.key("kind");
        json.text(HitKindLetter(hit.kind));
        if (hit.kind == HitKind::Use) {
            json.key("script");
            json.text(hit.name);
            json.key("identity");
            json.number(hit.identity);
            json.key("command");
            json.text(hit.text);
        } else {
            json.key("name");
            json.text(hit.name);
        }
        json.endObject();
    }
    json.endArray();
    json.key("complete");
    json.boolean(result.complete());
    json.endObject();
    out << '\n';
}

int RunFind(CliContext& context, bool asDocument) {
    const std::string& query = context.args[1];
    if (query.empty()) {
        context.err << "quorin-cli: QUERY must not be empty (it would match everything)\n";
        return kUsage;
    }
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const SearchResult result = FindInMap(*state, query);
    if (asDocument) {
        WriteHitDocument(context.out, result);
    } else {
        WriteHitLines(context.out, result.hits);
    }
    if (!context.out.flush()) {
        context.err << "quorin-cli: writing the hits to stdout failed; what was written is incomplete.\n";
        return kRefused;
    }
    // A search a limit stopped still found what it printed.
    if (!result.complete()) {
        context.err << "the search stopped after " << result.hits.size() << " hits: " << StopReason(result) << '\n';
    }
    return result.hits.empty() ? kNothingFound : kSuccess;
}

}  // namespace

int Find(CliContext& context) { return RunFind(context, false); }
int FindJson(CliContext& context) { return RunFind(context, true); }

}  // namespace quorin::cli
