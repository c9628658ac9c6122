// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The eleven stock map names: ten campaign levels, then the user-interface
// map. A map whose header names none of them is refused.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace quorin {

inline constexpr int kStockMapNameCount = 11;
// Eleven names need far less; more is refused unread.
inline constexpr std::size_t kLongestMapNamesFile = 64 * 1024;

// The built-in list, used unless the user names a file of their own.
const std::vector<std::string>& BuiltInMapNames();

// The names in a names file's text: one a line, a carriage return before
// the line end and a leading byte-order mark dropped, the last line end
// optional. A blank line, a name with blanks around it or a byte in it that
// is not printable ASCII (a control byte, a second byte-order mark, a
// no-break space), and any count but eleven are refused; the message names
// the file (path) and the line.
[[nodiscard]] Result<std::vector<std::string>> ParseMapNames(std::string_view text, const std::string& path);

// Opens path once, without blocking (only a regular file is read), reads at
// most kLongestMapNamesFile bytes and parses them.
[[nodiscard]] Result<std::vector<std::string>> ReadMapNamesFile(const std::string& path);

// The stock names in force, the same way in both executables: the file
// given with --map-names, else the file QUORIN_MAP_NAMES names (when set and
// not empty), else the built-in list.
[[nodiscard]] Result<std::vector<std::string>> ResolveMapNames(const std::optional<std::string>& optionFile,
                                                               const char* environmentFile);

}  // namespace quorin
