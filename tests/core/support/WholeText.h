// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The streamed texts collected whole, for checking them byte for byte.

#include <string>
#include <vector>

#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "base/LimitedText.h"
#include "base/TextFormat.h"

namespace quorin::testing {

struct ExtractAllWholeResult : ExtractAllResult {
    std::string text;
};

inline ExtractAllWholeResult ExtractAllWhole(const MapContent& map) {
    LimitedText sink;
    ExtractAllWholeResult result{ExtractAll(map, sink), {}};
    result.text = std::move(sink.text());
    return result;
}

struct CommandDatabaseWholeResult : CommandDatabaseResult {
    std::string text;
    // The text cut after each line end.
    std::vector<std::string> lines;
};

inline CommandDatabaseWholeResult CommandDatabaseWhole(const std::vector<Syntax>& nodes) {
    LimitedText sink;
    CommandDatabaseWholeResult result{WriteCommandDatabase(nodes, sink), {}, {}};
    result.text = std::move(sink.text());
    for (std::size_t from = 0; from < result.text.size();) {
        const std::size_t end = result.text.find(kLineEnd, from);
        const std::size_t to = end == std::string::npos ? result.text.size() : end + kLineEnd.size();
        result.lines.push_back(result.text.substr(from, to - from));
        from = to;
    }
    return result;
}

}  // namespace quorin::testing

namespace quorin::testing {

// What write appends to a TextOutput, collected whole.
template <typename Write>
std::string Written(Write write) {
    LimitedText sink;
    TextOutput out(sink);
    write(out);
    out.flush();
    return std::move(sink.text());
}

}  // namespace quorin::testing
