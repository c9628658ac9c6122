// SPDX-License-Identifier: GPL-3.0-or-later
// set and protect: the editor's write-back and Protect Map in batch. Both
// change MAP in place through the same core calls the desktop tool makes;
// stdout stays empty, every message goes to stderr. MAP is opened once and
// written through the descriptor it was read through, so another file
// renamed over MAP meanwhile is never written.

#include <ostream>
#include <string_view>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandRuns.h"
#include "app/cli/EditCommands.h"
#include "edit/FieldRule.h"
#include "edit/MapProtection.h"
#include "base/TextFormat.h"
#include "session/MapSession.h"

namespace quorin::cli {

std::span<const SetKind> SetKinds() {
    static constexpr SetKind kinds[] = {
        {"script", RecordKind::Script},
        {"global", RecordKind::Global},
        {"node", RecordKind::Syntax},
    };
    return kinds;
}

namespace {

std::optional<RecordKind> KindNamed(std::string_view word) {
    for (const SetKind& kind : SetKinds()) {
        if (kind.word == word) return kind.kind;
    }
    return std::nullopt;
}

// The field of a record kind by its record field name (Name, ExpPointer, ...).
const FieldRule* RuleNamed(RecordKind kind, std::string_view name) {
    for (const FieldRule& rule : FieldRules()) {
        if (KindOf(rule) == kind && EqualsIgnoringCase(rule.recordField, name)) return &rule;
    }
    return nullptr;
}

std::string FieldNames(RecordKind kind) {
    std::string names;
    for (const FieldRule& rule : FieldRules()) {
        if (KindOf(rule) != kind) continue;
        if (!names.empty()) names += ", ";
        names += rule.recordField;
    }
    return names;
}

// A type popup takes a name of its table or that name's code.
std::optional<int> ItemOf(const FieldRule& rule, const std::string& value) {
    for (std::size_t i = 0; i < rule.items.size(); ++i) {
        if (EqualsIgnoringCase(rule.items[i], value)) return static_cast<int>(i);
    }
    if (auto code = ParseWholeNumber(value); code && *code >= 0 && *code < static_cast<long long>(rule.items.size())) {
        return static_cast<int>(*code);
    }
    return std::nullopt;
}

int Usage(CliContext& context, const std::string& problem) {
    context.err << "quorin-cli: " << problem << '\n';
    return kUsage;
}

}  // namespace

int Set(CliContext& context) {
    const std::string& map = context.args[0];
    const std::string& kindWord = context.args[1];
    const std::string& key = context.args[2];
    const std::string& fieldName = context.args[3];
    const std::string& value = context.args[4];

    const auto kind = KindNamed(kindWord);
    if (!kind) return Usage(context, "set: the record kind is script, global or node, not \"" + kindWord + "\"");
    const FieldRule* rule = RuleNamed(*kind, fieldName);
    if (!rule) {
        return Usage(context, "set: a " + kindWord + " has no field \"" + fieldName + "\"; its fields are " +
                                  FieldNames(*kind));
    }
    std::optional<int> item;
    if (IsPopup(*rule)) {
        item = ItemOf(*rule, value);
        if (!item) {
            context.err << "\"" << value << "\" is not an item of " << rule->recordField << ": give a name of its table"
                        << " or its code, 0 to " << rule->items.size() - 1 << ". Nothing was written.\n";
            return kRefused;
        }
    }

    MapSession* session = OpenForCommand(context, map, OpenMode::HoldForWriting);
    if (!session) return kRefused;
    // The record named becomes the shown one, as selecting its row would make it.
    const auto record = session->recordNamed(*kind, key);
    if (!record) {
        context.err << "\"" << map << "\" has no " << kindWord << " \"" << key << "\". Nothing was written.\n";
        return kRefused;
    }
    session->show(*record);
    const Status committed =
        item ? session->commitChoice(rule->field, *item) : session->commitField(rule->field, value);
    if (!committed) {
        context.err << MessageOf(committed.error()) << '\n';
        return kRefused;
    }
    return kSuccess;
}

int Protect(CliContext& context) {
    MapSession* session = OpenForCommand(context, context.args[0], OpenMode::HoldForWriting);
    if (!session) return kRefused;
    if (auto done = session->protect(); !done) {
        context.err << MessageOf(done.error()) << '\n';
        return kRefused;
    }
    context.err << kProtectedMessage << '\n';
    return kSuccess;
}

}  // namespace quorin::cli
