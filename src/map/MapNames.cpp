#include "map/MapNames.h"

#include <fstream>

#include "map/TextFormat.h"

namespace quorin {

const std::vector<std::string>& BuiltInMapNames() {
    // Placeholder level names: ten campaign levels, then the user-interface map.
    static const std::vector<std::string> names = {
        "emberreach", "saltmarsh",  "ironcauseway", "hollowspire", "tidewatch", "cindervault",
        "greywater",  "sunkenchoir", "ashfall",     "lastlantern", "ui",
    };
    return names;
}

Result<std::vector<std::string>> ReadMapNamesFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Error{"Can't read the map names file \"" + path + "\"."};
    std::vector<std::string> names;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        names.push_back(line);
    }
    if (!names.empty() && names.back().empty()) names.pop_back();
    if (names.size() != kStockMapNameCount) {
        return Error{"The map names file \"" + path + "\" must hold exactly " + Decimal(kStockMapNameCount) +
                     " names, one a line; it holds " + Decimal(static_cast<std::int64_t>(names.size())) + "."};
    }
    return names;
}

Result<std::vector<std::string>> ResolveMapNames(const std::optional<std::string>& optionFile,
                                                 const char* environmentFile) {
    if (optionFile) return ReadMapNamesFile(*optionFile);
    if (environmentFile && *environmentFile) return ReadMapNamesFile(environmentFile);
    return BuiltInMapNames();
}

}  // namespace quorin
