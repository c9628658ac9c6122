// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/ResultText.h"

#include "base/TextFormat.h"

namespace quorin {

std::string LeftOutLine(std::int64_t leftOut, std::string_view command) {
    std::string line = "[The text stops here: ";
    AppendDecimal(line, leftOut);
    line += " more bytes were left out. \"quorin-cli ";
    line += command;
    line += " MAP\" writes the whole text.]";
    return line;
}

std::string ResultText(std::string collected, std::int64_t wholeSize, std::string_view command) {
    if (static_cast<std::int64_t>(collected.size()) >= wholeSize) return collected;
    // End on a whole line where there is one, so the note stands on a line
    // of its own; a text with no line end keeps what was collected.
    const std::size_t lineEnd = collected.rfind(kLineEnd);
    if (lineEnd != std::string::npos) collected.resize(lineEnd + kLineEnd.size());
    const std::int64_t leftOut = wholeSize - static_cast<std::int64_t>(collected.size());
    if (lineEnd == std::string::npos) collected += kLineEnd;
    collected += LeftOutLine(leftOut, command);
    return collected;
}

}  // namespace quorin
