// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzzer's seed corpus into the folder given: the demo map, the
// maximal map without its padding, small odd maps, and maps built to hurt:
// node texts that run on to the end of the file, scripts that each walk
// every node, names that run on through their tables, and a table of a
// huge count in a sparse file.

#include <cstdio>
#include <string>
#include <vector>

#include "builder/DemoMap.h"
#include "fixtures/HostileMaps.h"
#include "fixtures/MaximalMap.h"
#include "ReadOnlyOperations.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto write = [&](const std::string& name, const quorin::MapBuilder& map) {
        if (auto written = map.writeTo(folder + "/" + name); !written) {
            std::fprintf(stderr, "%s\n", MessageOf(written.error()).c_str());
            return false;
        }
        return true;
    };
    // The demo map claiming 700000 globals, the file made long enough to
    // hold them by the sparse tag: zero bytes past the demo's own.
    auto writeSparse = [&] {
        quorin::MapBuilder huge = quorin::DemoMap();
        huge.globalCount = 700000;
        std::vector<std::uint8_t> bytes = huge.build();
        bytes.insert(bytes.end(), quorin::fuzzing::kSparseTag.begin(), quorin::fuzzing::kSparseTag.end());
        for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(quorin::fuzzing::kMostSparseFile >> (8 * i)));
        std::FILE* file = std::fopen((folder + "/huge-count-sparse.map").c_str(), "wb");
        const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return file && std::fclose(file) == 0 && written;
    };
    quorin::MapBuilder maximal = quorin::MaximalMap();
    maximal.padTo = 0;
    quorin::MapBuilder empty;
    quorin::MapBuilder otherTag = quorin::DemoMap();
    otherTag.headerTag = "xxxx";
    quorin::MapBuilder negativeCounts = quorin::DemoMap();
    negativeCounts.scriptCount = -3;
    negativeCounts.syntaxCount = -1;
    quorin::MapBuilder oneScript = quorin::DemoMap();
    oneScript.scripts.resize(1);
    oneScript.globals.clear();
    const bool ok = write("demo.map", quorin::DemoMap()) && write("maximal.map", maximal) &&
                    write("empty.map", empty) && write("other-tag.map", otherTag) &&
                    write("negative-counts.map", negativeCounts) && write("one-script.map", oneScript) &&
                    write("long-node-texts.map", quorin::LongNodeTextsMap(2000, 1000 * 1000)) &&
                    write("wide-walk.map", quorin::WideWalkMap(2000, 32767)) &&
                    // Few enough entries that listing the tree rows, which copy
                    // each name, stays quick.
                    write("run-on-names.map", quorin::RunOnNamesMap(200)) && writeSparse();
    return ok ? 0 : 1;
}
