// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The load chain: version check, stock map names, header and tag index,
// scenario tag, then the script, global and syntax tables.

#include <string>
#include <vector>

#include "map/MapFile.h"
#include "map/MapState.h"
#include "base/Result.h"

namespace quorin {

inline constexpr const char* kVersionRefused = "cant load |1|";
inline constexpr const char* kNameRefused = "Cant load |2|";
inline constexpr const char* kMapLoaded = "Map loaded!";
// How the refusal of a map the system has too little memory for begins.
inline constexpr const char* kNotEnoughMemory = "not enough memory to load";

// Reads the header, tag index, scenario tag and tables of an open map. The
// error is the message to show: "Cant load |2|" for a map name that is not a
// stock name, otherwise a description of what is damaged and where.
[[nodiscard]] Result<MapContent> ReadMapData(MapFile& file, const std::vector<std::string>& mapNames);

// How a map is opened for what follows the load.
enum class OpenMode {
    // Writes open the path again and check it is still the file read; a file
    // this user may not write opens read-only.
    Edit,
    // Nothing may be written, whatever the file allows.
    ReadOnly,
    // Opened for reading and writing once, read and later written through
    // that one descriptor (a batch run); read-only when it cannot be opened
    // for writing.
    HoldForWriting,
};

inline constexpr const char* kOpenedReadOnly = "is open read-only";

// The whole chain as File > Open runs it: the file is opened once, a
// version of 609 is refused with "cant load |1|", the map is read against
// stockNames and, on success, replaces the previous one. The caller then
// shows kMapLoaded. A refusal returns the one message to show and leaves
// the loaded map, its records and the editor properties as they were, so
// the map on screen stays writable.
// The file's identity is taken from the descriptor read; a file that changes
// while it is read is refused. An allocation that fails anywhere in the load
// refuses the map with a message beginning kNotEnoughMemory.
[[nodiscard]] Status OpenMap(MapState& state, const std::string& path, const std::vector<std::string>& stockNames,
                             OpenMode mode = OpenMode::Edit);

}  // namespace quorin
