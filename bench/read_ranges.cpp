// SPDX-License-Identifier: GPL-3.0-or-later
// The true floor of a load: a process that only reads the byte ranges the
// loader needs (one "OFFSET LENGTH" a line in RANGES) into memory and ends.
//   read_ranges MAP RANGES

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: read_ranges MAP RANGES\n");
        return 2;
    }
    std::FILE* list = std::fopen(argv[2], "r");
    const int file = open(argv[1], O_RDONLY);
    if (!list || file < 0) return 1;
    long long offset = 0;
    long long length = 0;
    std::vector<std::unique_ptr<char[]>> kept;
    while (std::fscanf(list, "%lld %lld", &offset, &length) == 2) {
        kept.emplace_back(new char[static_cast<std::size_t>(length)]);
        if (pread(file, kept.back().get(), static_cast<std::size_t>(length), offset) != length) return 1;
    }
    std::fclose(list);
    close(file);
    return 0;
}
