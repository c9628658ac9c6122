// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: writes quorin-cli's bash completion. The shell logic is the
// template's; the tables it reads (commands, options, the kind of each
// argument, the record kinds, fields and type names of `set`) are made here
// from the tables quorin-cli itself runs on, so the completion cannot drift
// from the program.
//   make_bash_completion TEMPLATE OUTPUT
// The template's line "@TABLES@" becomes the tables.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandLine.h"
#include "app/cli/EditCommands.h"
#include "base/TextFormat.h"
#include "edit/FieldRule.h"

namespace quorin::cli {

namespace {

// A word as one bash word, whatever it holds.
std::string Quoted(std::string_view word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Joined(const std::vector<std::string>& words, char between) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : std::string(1, between)) + word;
    return text;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool IsLiteralChoice(std::string_view word) {
    if (word.find('|') == std::string_view::npos) return false;
    for (char c : word) {
        if (c != '|' && c != '-' && (c < 'a' || c > 'z')) return false;
    }
    return true;
}

// How an argument of a usage line completes, by the placeholder the usage
// shows for it: "map" (.map files), "file" (any file), "choice:a,b" (one of
// the words the usage spells out), "field" and "value" (set's field of the
// chosen kind and a type name that field takes), or "none".
std::string ArgumentKind(const std::string& word) {
    if (word == "MAP") return "map";
    if (word == "OUT" || word == "FILE") return "file";
    if (word == "FIELD") return "field";
    if (word == "VALUE") return "value";
    if (IsLiteralChoice(word)) {
        std::string words = word;
        for (char& c : words) c = c == '|' ? ',' : c;
        return "choice:" + words;
    }
    return "none";
}

std::string Tables() {
    std::ostringstream out;
    std::vector<std::string> options, valued, fileValued;
    for (const GlobalOption& option : GlobalOptionTable()) {
        options.emplace_back(option.name);
        if (!option.value.empty()) valued.emplace_back(option.name);
        if (ArgumentKind(std::string(option.value)) == "file") fileValued.emplace_back(option.name);
    }
    out << "_quorin_cli_options=(" << Joined(options, ' ') << ")\n";
    out << "_quorin_cli_valued_options=(" << Joined(valued, ' ') << ")\n";
    out << "_quorin_cli_file_options=(" << Joined(fileValued, ' ') << ")\n";

    std::vector<std::string> commands;
    for (const CliCommandInfo& command : CommandTable()) commands.push_back(command.name);
    out << "_quorin_cli_commands=(" << Joined(commands, ' ') << ")\n";
    out << "_quorin_cli_json_commands=(" << Joined(JsonCommands(), ' ') << ")\n";

    // Per command: the kind of each argument, how many it needs before its
    // own options may follow, and those options.
    out << "declare -gA _quorin_cli_arguments=(";
    for (const CliCommandInfo& command : CommandTable()) {
        std::vector<std::string> kinds;
        const std::vector<std::string> usage = Words(command.usage);
        for (std::size_t i = 1; i < usage.size() && kinds.size() < command.mostArgs; ++i) {
            if (usage[i].front() != '[') kinds.push_back(ArgumentKind(usage[i]));
        }
        out << "\n    [" << command.name << "]=" << Quoted(Joined(kinds, ' '));
    }
    out << "\n)\ndeclare -gA _quorin_cli_least=(";
    for (const CliCommandInfo& command : CommandTable()) {
        out << "\n    [" << command.name << "]=" << command.leastArgs;
    }
    out << "\n)\ndeclare -gA _quorin_cli_flags=(";
    for (const CliCommandInfo& command : CommandTable()) {
        if (!command.flags.empty()) out << "\n    [" << command.name << "]=" << Quoted(Joined(command.flags, ' '));
    }

    // set: the fields of each record kind; the type names a field takes, one
    // a line (some hold a blank), by "kind.field" in small letters, as set
    // reads field names in either case.
    out << "\n)\ndeclare -gA _quorin_cli_fields=(";
    std::ostringstream types;
    for (const SetKind& kind : SetKinds()) {
        std::vector<std::string> fields;
        for (const FieldRule& rule : FieldRules()) {
            if (KindOf(rule) != kind.kind) continue;
            fields.emplace_back(rule.recordField);
            if (!IsPopup(rule)) continue;
            std::vector<std::string> names(rule.items.begin(), rule.items.end());
            std::string key = std::string(kind.word) + "." + std::string(rule.recordField);
            for (char& c : key) c = FoldAsciiCase(c);
            types << "\n    [" << key << "]=" << Quoted(Joined(names, '\n'));
        }
        out << "\n    [" << kind.word << "]=" << Quoted(Joined(fields, ' '));
    }
    out << "\n)\ndeclare -gA _quorin_cli_types=(" << types.str() << "\n)\n";
    return out.str();
}

}  // namespace

}  // namespace quorin::cli

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_bash_completion TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "make_bash_completion: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::string script;
    bool placed = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "@TABLES@") {
            script += quorin::cli::Tables();
            placed = true;
        } else {
            script += line + "\n";
        }
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    if (!placed || !(out << script) || !out.flush()) {
        std::cerr << "make_bash_completion: " << (placed ? "cannot write " + std::string(argv[2]) : "no @TABLES@ line")
                  << '\n';
        return 1;
    }
    return 0;
}
