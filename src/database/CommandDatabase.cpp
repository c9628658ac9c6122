// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/CommandDatabase.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "map/FileLayout.h"
#include "base/TextFormat.h"
#include "base/TickCounter.h"

namespace quorin {

namespace {

// What the table gives for a name it does not hold.
constexpr std::int32_t kAbsent = -100;
constexpr std::int32_t kCommandNode = layout::expType::kCommand;
constexpr std::int32_t kFunctionName = layout::valueType::kFunctionName;

constexpr std::string_view kLineStart = "CommandDictionary.value(\"";
constexpr std::string_view kLineMiddle = "\") = ";

}  // namespace

std::vector<RecordedCommand> RecordCommands(const std::vector<Syntax>& syntaxCache) {
    // Keys share the nodes' texts and their hashes; nodes whose texts have
    // the same bytes share them, so no lookup reads a long name.
    std::unordered_map<SharedText, std::int32_t, SharedTextHash, SharedTextEqual> table;
    // About one node in four names a command in a real script block.
    table.reserve(syntaxCache.size() / 4);
    std::vector<RecordedCommand> recorded;
    recorded.reserve(syntaxCache.size() / 4);
    for (const Syntax& node : syntaxCache) {
        if (node.ExpType == kCommandNode) {
            const auto found = table.find(node.Command);
            const std::int32_t known = found == table.end() ? kAbsent : found->second;
            if (known != node.EngineIdentity && node.ValueType == kFunctionName) {
                table.insert_or_assign(node.Command, node.EngineIdentity);
                recorded.push_back({node.EngineIdentity, node.Command});
            }
        }
    }
    // Sorting by identity moves each name along with it.
    std::stable_sort(recorded.begin(), recorded.end(),
                     [](const RecordedCommand& a, const RecordedCommand& b) { return a.identity < b.identity; });
    return recorded;
}

CommandDatabaseResult WriteCommandDatabase(const std::vector<Syntax>& syntaxCache, TextSink& sink) {
    CommandDatabaseResult result;
    const std::int64_t start = Ticks();
    const std::vector<RecordedCommand> recorded = RecordCommands(syntaxCache);
    result.processed = static_cast<std::int64_t>(syntaxCache.size());
    result.added = static_cast<std::int64_t>(recorded.size());
    TextOutput out(sink);
    // Lines go on after the sink stops, so that the output counts the whole
    // text; it drops them without handing them on.
    for (const RecordedCommand& command : recorded) {
        out += kLineStart;
        out += command.name;
        out += kLineMiddle;
        out.appendDecimal(command.identity);
        out += kLineEnd;
    }
    result.complete = out.flush();
    result.textSize = static_cast<std::int64_t>(out.appended());
    result.ticks = Ticks() - start;
    return result;
}

std::string CommandDatabaseResult::message() const {
    std::string text;
    AppendDecimal(text, processed);
    text += " proccessed, and ";
    AppendDecimal(text, added);
    text += " were added. This took ";
    text += SecondsFromTicks(ticks);
    text += " seconds";
    return text;
}

}  // namespace quorin
