#pragma once
// The eleven stock map names: ten campaign levels, then the user-interface
// map. A map whose header names none of them is refused.

#include <optional>
#include <string>
#include <vector>

#include "map/Result.h"

namespace quorin {

inline constexpr int kStockMapNameCount = 11;

// The built-in list, used unless the user names a file of their own.
const std::vector<std::string>& BuiltInMapNames();

// Reads a file of exactly eleven names, one a line ("\r\n" accepted; a
// trailing empty line ignored). Any other count is an error.
[[nodiscard]] Result<std::vector<std::string>> ReadMapNamesFile(const std::string& path);

// The stock names in force, the same way in both executables: the file
// given with --map-names, else the file QUORIN_MAP_NAMES names (when set and
// not empty), else the built-in list.
[[nodiscard]] Result<std::vector<std::string>> ResolveMapNames(const std::optional<std::string>& optionFile,
                                                               const char* environmentFile);

}  // namespace quorin
