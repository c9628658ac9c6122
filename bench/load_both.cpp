// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of `quorin-cli diff OLD NEW`: a process that loads both maps
// as that command does (read-only, with the stock names, saying so on
// stderr) and ends, built, linked and started as quorin-cli is, so that the
// time of a diff divided by this one's is what comparing adds to loading.
//   load_both OLD NEW

#include <cstdlib>
#include <iostream>

#include "app/cli/BatchProcess.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"

int main(int argc, char** argv) {
    quorin::cli::TuneMemoryForBatchRun();
    std::ios::sync_with_stdio(false);
    if (argc != 3) {
        std::cerr << "usage: load_both OLD NEW\n";
        return 2;
    }
    // Kept to the end, which comes without freeing them, as in quorin-cli.
    auto* maps = new quorin::MapState[2];
    for (int i = 0; i < 2; ++i) {
        if (auto opened = quorin::OpenMap(maps[i], argv[1 + i], quorin::BuiltInMapNames(), quorin::OpenMode::ReadOnly);
            !opened) {
            std::cerr << MessageOf(opened.error()) << '\n';
            std::_Exit(2);
        }
        std::cerr << quorin::kMapLoaded << '\n';
    }
    std::cerr.flush();
    std::_Exit(0);
}
