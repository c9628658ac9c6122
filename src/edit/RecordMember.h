#pragma once
// The record field an edit sets; its class tells which record kind.

#include <cstdint>
#include <string>
#include <variant>

#include "map/Records.h"

namespace quorin {

using RecordMember = std::variant<std::string ScriptHeader::*, std::int32_t ScriptHeader::*,
                                  std::string GlobalHeader::*, std::int32_t GlobalHeader::*,
                                  std::int32_t Syntax::*>;

RecordKind KindOf(const RecordMember& member);

}  // namespace quorin
