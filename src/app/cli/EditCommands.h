// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What `set` takes, for the commands and for the shell completion made from
// the same table.

#include <span>
#include <string_view>

#include "map/Records.h"

namespace quorin::cli {

// A record kind by the word that names it on the command line.
struct SetKind {
    std::string_view word;  // "script"
    RecordKind kind;
};

std::span<const SetKind> SetKinds();

}  // namespace quorin::cli
