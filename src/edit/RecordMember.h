// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record field an edit sets; its class tells which record kind.

#include <cstdint>
#include <string>
#include <variant>

#include "map/Records.h"

namespace quorin {

// A node's text (Command) follows its string offset when an edited text
// points the node at another node's text.
using RecordMember = std::variant<SharedText ScriptHeader::*, std::int32_t ScriptHeader::*,
                                  SharedText GlobalHeader::*, std::int32_t GlobalHeader::*,
                                  std::int32_t Syntax::*, SharedText Syntax::*>;

RecordKind KindOf(const RecordMember& member);

}  // namespace quorin
