// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plain form of a hit list: one line per hit, fields split by tabs.
//   s<TAB>NAME
//   g<TAB>NAME
//   u<TAB>SCRIPT<TAB>IDENTITY<TAB>COMMAND
// Names and texts are bytes from the map, written as escaped fields
// (EscapedField in base/TextFormat.h).

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "search/SearchHit.h"

namespace quorin {

// "s", "g" or "u".
[[nodiscard]] std::string_view HitKindLetter(HitKind kind);

// The line of one hit, with its line end.
void AppendHitLine(std::string& out, const SearchHit& hit);
void WriteHitLines(std::ostream& out, std::span<const SearchHit> hits);

}  // namespace quorin
