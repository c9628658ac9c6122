#pragma once
// The load chain: version check, stock map names, header and tag index,
// scenario tag, then the script, global and syntax tables.

#include <string>
#include <vector>

#include "map/MapState.h"
#include "map/MessageSink.h"
#include "map/Result.h"

namespace quorin {

inline constexpr const char* kVersionRefused = "cant load |1|";
inline constexpr const char* kNameRefused = "Cant load |2|";
inline constexpr const char* kMapLoaded = "Map loaded!";

// Reads the header, tag index, scenario tag and tables of a map. The error
// is the message to show: "Cant load |2|" for a map name that is not a stock
// name, otherwise a description of what is damaged and where.
[[nodiscard]] Result<MapContent> ReadMapData(const std::string& path, const std::vector<std::string>& mapNames);

// The whole chain as File > Open runs it: f becomes path, a version of 609 is
// refused with "cant load |1|", MapNames is refilled from stockNames, the
// map is read and, on success, replaces the previous one and "Map loaded!"
// is shown. Every refusal shows one message and leaves the loaded map, its
// records and the editor properties as they were. Returns true on success.
bool OpenMap(MapState& state, const std::string& path, const std::vector<std::string>& stockNames,
             MessageSink& messages);

// The characters of text in reverse order (class codes are stored reversed).
std::string reverse(const std::string& text);

}  // namespace quorin
