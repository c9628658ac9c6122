// SPDX-License-Identifier: GPL-3.0-or-later
// --json info, list and database: the same facts as the plain output, as one
// JSON document, for tools that must not be fooled by a name that holds a
// line end. Messages still go to stderr as the plain run prints them.

#include <ostream>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandRuns.h"
#include "app/cli/JsonWriter.h"
#include "app/cli/MapFacts.h"
#include "database/CommandDatabase.h"
#include "base/TickCounter.h"

namespace quorin::cli {

int InfoJson(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    JsonWriter json(context.out);
    json.beginObject();
    for (const MapFact& fact : InfoFacts(*state)) {
        json.key(fact.label);
        switch (fact.shown) {
            case MapFact::Shown::Decimal: json.number(fact.number); break;
            // The plain text shows the field's 32 bits in hexadecimal; the
            // number is those bits read unsigned, the value the text shows.
            case MapFact::Shown::Hexadecimal:
                json.number(static_cast<std::uint32_t>(static_cast<std::int32_t>(fact.number)));
                break;
            case MapFact::Shown::Text: json.text(fact.text); break;
        }
    }
    json.endObject();
    context.out << '\n';
    return kSuccess;
}

template <typename Record>
void NameArray(JsonWriter& json, std::string_view key, const std::vector<Record>& cache) {
    json.key(key);
    json.beginArray();
    for (const Record& record : cache) json.text(record.Name);
    json.endArray();
}

int ListJson(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    // The tree's two folders, in the order the plain rows come.
    JsonWriter json(context.out);
    json.beginObject();
    NameArray(json, "scripts", state->ScriptHeaderCache);
    NameArray(json, "globals", state->GlobalHeaderCache);
    json.endObject();
    context.out << '\n';
    return kSuccess;
}

int DatabaseJson(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const std::int64_t start = Ticks();
    const std::vector<RecordedCommand> commands = RecordCommands(state->SyntaxCache);
    CommandDatabaseResult counts;
    counts.processed = static_cast<std::int64_t>(state->SyntaxCache.size());
    counts.added = static_cast<std::int64_t>(commands.size());
    counts.ticks = Ticks() - start;
    JsonWriter json(context.out);
    json.beginObject();
    json.key("commands");
    json.beginArray();
    for (const RecordedCommand& command : commands) {
        json.beginObject();
        json.key("name");
        json.text(command.name);
        json.key("engine identity");
        json.number(command.identity);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    context.out << '\n';
    context.err << counts.message() << '\n';
    return kSuccess;
}

}  // namespace quorin::cli
