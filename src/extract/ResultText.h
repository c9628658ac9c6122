// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a result window shows of a text: the whole text when it fits under
// the window's limit, otherwise the whole lines that fit and one last line
// that says how many bytes were left out and which quorin-cli command
// writes the whole text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorin {

// Far above the text of any real map; a hostile map can ask for gigabytes.
inline constexpr std::size_t kResultTextLimit = 64 * 1024 * 1024;

// collected: the start of a text of wholeSize bytes (all of it, or what a
// LimitedText kept). command: the quorin-cli command that writes the whole
// text, e.g. "extract-all".
[[nodiscard]] std::string ResultText(std::string collected, std::int64_t wholeSize, std::string_view command);

// The last line of a cut text, without a line end.
[[nodiscard]] std::string LeftOutLine(std::int64_t leftOut, std::string_view command);

}  // namespace quorin
