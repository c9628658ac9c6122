// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command table of a loaded map: every command name its nodes use with
// the engine identity it was met with, sorted by identity.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "map/Records.h"
#include "base/TextSink.h"

namespace quorin {

inline constexpr const char* kCommandDatabaseTitle = "Map Script command DataBase";

struct CommandDatabaseResult {
    std::int64_t processed = 0;
    std::int64_t added = 0;
    // Sixtieths of a second the run took.
    std::int64_t ticks = 0;
    // The bytes of the whole text, whether or not the sink took them all.
    std::int64_t textSize = 0;
    // False when the sink stopped the run before the last line.
    bool complete = true;

    [[nodiscard]] std::string message() const;
};

// A command as recorded: its name points into the syntax cache it came from.
struct RecordedCommand {
    std::int32_t identity = 0;
    std::string_view name;
};

// The commands the table records, sorted by identity (see below).
[[nodiscard]] std::vector<RecordedCommand> RecordCommands(const std::vector<Syntax>& syntaxCache);

// A node is recorded when it has expression type 9 and value type 2 and the
// table does not already hold its engine identity for its name (a name that
// is absent reads as -100, so -100 is never recorded). A name met with a new
// identity is recorded again. Lines are sorted by identity; lines of equal
// identity keep the order they were recorded in. Each line,
// `CommandDictionary.value("NAME") = N` and a line end, is handed to sink as
// it is made.
[[nodiscard]] CommandDatabaseResult WriteCommandDatabase(const std::vector<Syntax>& syntaxCache, TextSink& sink);

}  // namespace quorin
