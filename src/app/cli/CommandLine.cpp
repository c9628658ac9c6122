// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CommandLine.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "base/TextFormat.h"

namespace quorin::cli {

namespace {

constexpr std::string_view kEndOfOptions = "--";

bool LooksLikeOption(std::string_view word) { return word.size() > 1 && word.front() == '-'; }

const GlobalOption* GlobalOptionNamed(std::string_view name) {
    for (const GlobalOption& option : GlobalOptionTable()) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

const CliCommandInfo* CommandNamed(std::string_view name) {
    for (const CliCommandInfo& command : CommandTable()) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

std::string Quoted(std::string_view word) { return "\"" + std::string(word) + "\""; }

std::string Listed(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
    return text;
}

std::string UsageOf(const CliCommandInfo& command) { return "usage: quorin-cli " + command.usage; }

}  // namespace

// An option that only switches something on.
template <bool GlobalOptions::*kSwitch>
Status SwitchOn(GlobalOptions& options, const std::string&) {
    options.*kSwitch = true;
    return success();
}

const std::vector<GlobalOption>& GlobalOptionTable() {
    static const std::vector<GlobalOption> table = {
        {"--map-names", "FILE", "the stock map names: a file of exactly eleven, one a line",
         [](GlobalOptions& options, const std::string& file) {
             options.mapNamesFile = file;
             return success();
         }},
        {"--json", "", "one JSON document on stdout instead of text", SwitchOn<&GlobalOptions::json>},
        {"--backup", "", "copy MAP to MAP.bak before set, protect or apply writes it", SwitchOn<&GlobalOptions::backup>},
        {"--max-output", "SIZE", "stop after SIZE bytes of output (K, M, G; 0: no limit; 1G unless given)",
         [](GlobalOptions& options, const std::string& size) -> Status {
             const auto bytes = ParseSize(size);
             if (!bytes) {
                 return Error{
                     ErrorCode::BadValue,
                     "--max-output takes a size in bytes, such as 1000, 64K, 512M or 1G (0 for no limit), not " +
                         Quoted(size)};
             }
             options.maxOutput = *bytes;
             return success();
         }},
        {"--help", "", "this text", SwitchOn<&GlobalOptions::help>},
        {"-h", "", "the same", SwitchOn<&GlobalOptions::help>},
        {"--version", "", "the version and the licence", SwitchOn<&GlobalOptions::version>},
    };
    return table;
}

Result<CommandLine> ParseCommandLine(const std::vector<std::string>& words) {
    CommandLine line;
    bool optionsOpen = true;
    std::size_t at = 0;
    for (; at < words.size() && LooksLikeOption(words[at]); ++at) {
        if (words[at] == kEndOfOptions) {
            optionsOpen = false;
            ++at;
            break;
        }
        const GlobalOption* option = GlobalOptionNamed(words[at]);
        if (!option) return Error{ErrorCode::UnknownName, "unknown option " + Quoted(words[at])};
        std::string value;
        if (!option->value.empty()) {
            if (at + 1 >= words.size()) {
                return Error{ErrorCode::Usage, std::string(option->name) + " needs " + std::string(option->value)};
            }
            value = words[++at];
        }
        if (auto applied = option->apply(line.options, value); !applied) return applied.error();
    }
    if (line.options.help || line.options.version) return line;
    if (at >= words.size()) return Error{ErrorCode::Usage, "no command given"};

    const std::string& name = words[at++];
    line.command = CommandNamed(name);
    if (!line.command) return Error{ErrorCode::UnknownName, "unknown command " + Quoted(name)};
    const CliCommandInfo& command = *line.command;
    if (line.options.json && !JsonRunOf(name)) {
        return Error{ErrorCode::Usage, "--json works with " + Listed(JsonCommands()) + ", not with " + name};
    }

    for (; at < words.size(); ++at) {
        const std::string& word = words[at];
        if (optionsOpen && word == kEndOfOptions) {
            optionsOpen = false;
            continue;
        }
        const bool ownFlag = std::find(command.flags.begin(), command.flags.end(), word) != command.flags.end();
        if (optionsOpen && ownFlag) {
            if (line.args.size() < command.leastArgs) {
                return Error{ErrorCode::Usage,
                             word + " goes after the arguments (write -- before an argument that begins with -); " +
                                 UsageOf(command)};
            }
            line.flags.push_back(word);
            continue;
        }
        if (optionsOpen && !line.flags.empty()) {
            return Error{ErrorCode::Usage, "no argument may follow " + line.flags.back() + "; " + UsageOf(command)};
        }
        if (optionsOpen && line.args.size() >= command.mostArgs && LooksLikeOption(word)) {
            const std::string where = GlobalOptionNamed(word) ? "; quorin-cli's own options go before COMMAND" : "";
            return Error{ErrorCode::Usage,
                         Quoted(word) + " is not an option of " + name + where + "; " + UsageOf(command)};
        }
        line.args.push_back(word);
    }
    if (line.args.size() < command.leastArgs || line.args.size() > command.mostArgs) {
        return Error{ErrorCode::Usage, UsageOf(command)};
    }
    return line;
}

std::string UsageText() {
    std::string synopsis = "usage: quorin-cli";
    std::string options;
    for (const GlobalOption& option : GlobalOptionTable()) {
        std::string shown(option.name);
        if (!option.value.empty()) shown += " " + std::string(option.value);
        // Options that answer alone stay out of the synopsis.
        if (option.name != "--help" && option.name != "-h" && option.name != "--version") {
            synopsis += " [" + shown + "]";
        }
        options += "  " + shown + std::string(shown.size() < 16 ? 18 - shown.size() : 2, ' ') +
                   std::string(option.what) + "\n";
    }
    std::string text = synopsis + " [--] COMMAND ARGS...\ncommands:\n";
    for (const CliCommandInfo& command : CommandTable()) text += "  " + command.usage + "\n";
    text += "options:\n" + options;
    text += "--json works with " + Listed(JsonCommands()) +
            ".\n"
            "An option counts only where shown: quorin-cli's own before COMMAND, a\n"
            "command's own after its arguments. Every other word is an argument, even\n"
            "one that begins with \"-\"; after \"--\" every word is one.\n"
            "The map names file holds exactly eleven stock map names, one a line;\n"
            "QUORIN_MAP_NAMES may name it instead of --map-names.\n";
    return text;
}

std::optional<std::int64_t> ParseSize(std::string_view text) {
    std::int64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
            case 'K': unit = std::int64_t{1} << 10; break;
            case 'M': unit = std::int64_t{1} << 20; break;
            case 'G': unit = std::int64_t{1} << 30; break;
            default: break;
        }
        if (unit != 1) text.remove_suffix(1);
    }
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int64_t count = 0;
    for (const char digit : text) count = count * 10 + (digit - '0');
    if (count > INT64_MAX / unit) return std::nullopt;
    return count * unit;
}

std::string SizeText(std::int64_t bytes) {
    static constexpr std::pair<std::int64_t, const char*> kUnits[] = {
        {std::int64_t{1} << 30, " GiB"}, {std::int64_t{1} << 20, " MiB"}, {std::int64_t{1} << 10, " KiB"}};
    for (const auto& [unit, name] : kUnits) {
        if (bytes >= unit && bytes % unit == 0) return Decimal(bytes / unit) + name;
    }
    return Decimal(bytes) + (bytes == 1 ? " byte" : " bytes");
}

}  // namespace quorin::cli
