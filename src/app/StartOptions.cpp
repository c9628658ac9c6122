// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartOptions.h"

#include "base/Version.h"
#include "map/MapNames.h"

namespace quorin::app {

namespace {

// The words alone; the names file given, if any, goes to namesFile unread.
Result<StartOptions> ParseWords(const std::vector<std::string>& arguments, std::optional<std::string>& namesFile) {
    StartOptions options;
    bool optionsOpen = true;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool option = optionsOpen && word.size() > 1 && word[0] == '-';
        if (option && options.mapPath) {
            return Error(ErrorCode::Usage, "options go before MAP, not after it (\"" + word + "\")");
        }
        if (option && word == "--") {
            optionsOpen = false;
        } else if (option && word == "--map-names") {
            if (i + 1 >= arguments.size()) return Error(ErrorCode::Usage, "--map-names needs a file");
            namesFile = arguments[++i];
        } else if (option && word == "--read-only") {
            options.readOnly = true;
        } else if (option && (word == "--help" || word == "-h")) {
            options.help = true;
        } else if (option && word == "--version") {
            options.version = true;
        } else if (option) {
            return Error(ErrorCode::UnknownName, "unknown option \"" + word + "\"");
        } else if (options.mapPath) {
            return Error(ErrorCode::Usage, "only one map can be opened at start");
        } else {
            options.mapPath = word;
        }
    }
    return options;
}

}  // namespace

Result<StartOptions> ParseStartOptions(const std::vector<std::string>& arguments, const char* namesFromEnvironment) {
    std::optional<std::string> namesFile;
    auto parsed = ParseWords(arguments, namesFile);
    if (!parsed) return parsed;
    StartOptions& options = *parsed;
    if (options.help || options.version) return parsed;

    auto names = ResolveMapNames(namesFile, namesFromEnvironment);
    if (names) {
        options.mapNames = std::move(*names);
    } else {
        options.namesProblem = names.error();
    }
    return parsed;
}

std::string StartUsage() {
    return "usage: quorin [--map-names FILE] [--read-only] [--] [MAP]\n"
           "Browse and edit the scripts of a Vexa map; fields are written straight back into it.\n"
           "Opens MAP at start when given; after \"--\" a word is MAP even when it begins with \"-\".\n"
           "options:\n"
           "  --map-names FILE  the stock map names: a file of exactly eleven, one a line\n"
           "  --read-only       every map opened is only looked at: nothing is written into it\n"
           "  --help, -h        this text\n"
           "  --version         the version and the licence\n"
           "The map names file holds exactly eleven stock map names, one a line;\n"
           "QUORIN_MAP_NAMES may name it instead of --map-names.\n";
}

std::optional<std::string> StartAnswer(const std::vector<std::string>& arguments) {
    std::optional<std::string> namesFile;
    auto options = ParseWords(arguments, namesFile);
    if (!options) return std::nullopt;
    if (options->help) return StartUsage();
    if (options->version) return VersionText();
    return std::nullopt;
}

}  // namespace quorin::app
