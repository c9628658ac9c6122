// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the maximal map to the path given, for measuring whole commands.
// With --ranges FILE it also writes the byte ranges a load reads (one
// "OFFSET LENGTH" a line): the header through the tag name, the scenario's
// fields, both tables, the syntax block and the string table. With
// --changed it writes the maximal map with one record in a hundred changed.

#include <cstdio>
#include <string>

#include "map/FileLayout.h"
#include "fixtures/MaximalMap.h"

int main(int argc, char** argv) {
    const bool changed = argc == 3 && std::string(argv[2]) == "--changed";
    if (argc != 2 && !changed && !(argc == 4 && std::string(argv[2]) == "--ranges")) {
        std::fprintf(stderr, "usage: write_maximal_map OUT [--ranges FILE | --changed]\n");
        return 2;
    }
    const quorin::MapBuilder map = changed ? quorin::ChangedMaximalMap() : quorin::MaximalMap();
    if (auto written = map.writeTo(argv[1]); !written) {
        std::fprintf(stderr, "%s\n", MessageOf(written.error()).c_str());
        return 1;
    }
    if (argc == 4) {
        namespace L = quorin::layout;
        const quorin::MapLayout at = map.layout();
        std::int64_t strings = 1;
        for (const quorin::Syntax& node : map.nodes) {
            if (!node.Command.empty()) strings += static_cast<std::int64_t>(node.Command.size()) + 1;
        }
        std::FILE* out = std::fopen(argv[3], "w");
        if (!out) return 1;
        const std::int64_t ranges[][2] = {
            {0, at.tagName + static_cast<std::int64_t>(map.tagName.size()) + 1},
            {at.scenario + L::scenario::kFieldsFrom, L::scenario::kFieldsEnd - L::scenario::kFieldsFrom},
            {at.scriptTable, L::scriptEntry::kSize * static_cast<std::int64_t>(map.scripts.size())},
            {at.globalTable, L::globalEntry::kSize * static_cast<std::int64_t>(map.globals.size())},
            {at.syntaxBlock, L::NodeAt(0, static_cast<std::int64_t>(map.nodes.size()))},
            {at.stringTable, strings},
        };
        for (const auto& range : ranges) std::fprintf(out, "%lld %lld\n", static_cast<long long>(range[0]),
                                                      static_cast<long long>(range[1]));
        std::fclose(out);
    }
    return 0;
}
