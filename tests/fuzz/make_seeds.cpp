// Writes the fuzzer's seed corpus into the folder given: the demo map, the
// maximal map without its padding, and small odd maps.

#include <cstdio>
#include <string>

#include "map/DemoMap.h"
#include "map/MaximalMap.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto write = [&](const std::string& name, const quorin::MapBuilder& map) {
        if (auto written = map.writeTo(folder + "/" + name); !written) {
            std::fprintf(stderr, "%s\n", written.error().message.c_str());
            return false;
        }
        return true;
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
                    write("negative-counts.map", negativeCounts) && write("one-script.map", oneScript);
    return ok ? 0 : 1;
}
