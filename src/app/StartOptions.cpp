#include "app/StartOptions.h"

#include "map/MapNames.h"

namespace quorin::app {

Result<StartOptions> ParseStartOptions(const std::vector<std::string>& arguments, const char* namesFromEnvironment) {
    StartOptions options;
    std::optional<std::string> namesFile;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--map-names") {
            if (i + 1 >= arguments.size()) return Error{"--map-names needs a file"};
            namesFile = arguments[++i];
        } else if (word == "--read-only") {
            options.readOnly = true;
        } else if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word.size() > 1 && word[0] == '-') {
            return Error{"unknown option \"" + word + "\""};
        } else if (options.mapPath) {
            return Error{"only one map can be opened at start"};
        } else {
            options.mapPath = word;
        }
    }

    auto names = ResolveMapNames(namesFile, namesFromEnvironment);
    if (!names) return names.error();
    options.mapNames = std::move(*names);
    return options;
}

std::string StartUsage() {
    return "usage: quorin [--map-names FILE] [--read-only] [MAP]\n"
           "Opens MAP at start when given. With --read-only, every map opened\n"
           "is only looked at: nothing is written into it.\n"
           "The map names file holds exactly eleven stock map names, one a line;\n"
           "QUORIN_MAP_NAMES may name it instead of --map-names.\n";
}

}  // namespace quorin::app
