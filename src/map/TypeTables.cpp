// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/TypeTables.h"

#include "base/TextFormat.h"

namespace quorin {

namespace {

template <typename Table>
std::string NameIn(const Table& table, std::int32_t code) {
    if (code >= 0 && static_cast<std::size_t>(code) < table.size()) return std::string(table[code]);
    return Decimal(code);
}

}  // namespace

std::string ValueTypeName(std::int32_t code) { return NameIn(kValueTypeNames, code); }
std::string ScriptTypeName(std::int32_t code) { return NameIn(kScriptTypeNames, code); }

}  // namespace quorin
