// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a map built to hurt, for measuring whole commands on it:
//   write_hostile_map long-texts NODES RUN_BYTES OUT
//   write_hostile_map wide-walk SCRIPTS NODES OUT
//   write_hostile_map run-on-names ENTRIES OUT

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fixtures/HostileMaps.h"

int main(int argc, char** argv) {
    const std::string kind = argc > 1 ? argv[1] : "";
    quorin::MapBuilder map;
    const char* out = nullptr;
    if (kind == "long-texts" && argc == 5) {
        map = quorin::LongNodeTextsMap(std::atoi(argv[2]), std::atoll(argv[3]));
        out = argv[4];
    } else if (kind == "wide-walk" && argc == 5) {
        map = quorin::WideWalkMap(std::atoi(argv[2]), std::atoi(argv[3]));
        out = argv[4];
    } else if (kind == "run-on-names" && argc == 4) {
        map = quorin::RunOnNamesMap(std::atoi(argv[2]));
        out = argv[3];
    } else {
        std::fprintf(stderr,
                     "usage: write_hostile_map long-texts NODES RUN_BYTES OUT\n"
                     "       write_hostile_map wide-walk SCRIPTS NODES OUT\n"
                     "       write_hostile_map run-on-names ENTRIES OUT\n");
        return 2;
    }
    if (auto written = map.writeTo(out); !written) {
        std::fprintf(stderr, "%s\n", MessageOf(written.error()).c_str());
        return 1;
    }
    return 0;
}
