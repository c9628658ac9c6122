// Writes the maximal map to the path given, for measuring whole commands.

#include <cstdio>

#include "map/MaximalMap.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_maximal_map OUT\n");
        return 2;
    }
    if (auto written = quorin::MaximalMap().writeTo(argv[1]); !written) {
        std::fprintf(stderr, "%s\n", written.error().message.c_str());
        return 1;
    }
    return 0;
}
