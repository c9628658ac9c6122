#include "ReadOnlyOperations.h"

#include <cstdio>
#include <stdexcept>

#include "map/MapLoader.h"
#include "map/MapNames.h"

namespace quorin::fuzzing {

namespace {

class CountedMessages final : public MessageSink {
public:
    void showMessage(std::string_view) override { ++count; }
    int count = 0;
};

void RunReadOnlyOperations(const MapState& map) {
    std::size_t touched = 0;
    for (const ScriptHeader& script : map.ScriptHeaderCache) touched += script.Name.size();
    for (const Syntax& node : map.SyntaxCache) {
        if (const Syntax* linked = map.nodeForIdentity(node.SibExpPointer)) touched += linked->Command.size();
    }
    if (touched == static_cast<std::size_t>(-1)) std::puts("");
}

}  // namespace

bool LoadAndReadEverything(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes, 1, size, file);
        std::fclose(file);
    }
    MapState map;
    CountedMessages messages;
    const bool loaded = OpenMap(map, path, BuiltInMapNames(), messages);
    // Every load ends with exactly one message, whatever the bytes were.
    if (messages.count != 1) throw std::logic_error("a load showed no message or more than one");
    if (loaded) RunReadOnlyOperations(map);
    return loaded;
}

}  // namespace quorin::fuzzing
