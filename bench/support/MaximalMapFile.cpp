// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MaximalMapFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "fixtures/MaximalMap.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"

namespace quorin::bench {

namespace {

std::string Written() {
    const auto path = std::filesystem::temp_directory_path() / ("quorin-maximal-" + std::to_string(::getpid()) + ".map");
    if (auto written = MaximalMap().writeTo(path.string()); !written) {
        std::fprintf(stderr, "%s\n", MessageOf(written.error()).c_str());
        std::exit(1);
    }
    static const std::string kept = path.string();
    std::atexit([] { std::remove(kept.c_str()); });
    return path.string();
}

}  // namespace

const std::string& MaximalMapPath() {
    static const std::string path = Written();
    return path;
}

const MapState& LoadedMaximalMap() {
    static const MapState map = [] {
        MapState state;
        if (!OpenMap(state, MaximalMapPath(), BuiltInMapNames()).ok()) {
            std::fprintf(stderr, "cannot load the maximal map\n");
            std::exit(1);
        }
        return state;
    }();
    return map;
}

}  // namespace quorin::bench
