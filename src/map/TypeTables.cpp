#include "map/TypeTables.h"

#include "map/TextFormat.h"

namespace quorin {

namespace {

template <typename Table>
std::string NameIn(const Table& table, std::int32_t code) {
    if (code >= 0 && static_cast<std::size_t>(code) < table.size()) return std::string(table[code]);
    return Decimal(code);
}

template <typename Table>
std::int32_t CodeIn(const Table& table, std::string_view name) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == name) return static_cast<std::int32_t>(i);
    }
    return -1;
}

}  // namespace

std::string ValueTypeName(std::int32_t code) { return NameIn(kValueTypeNames, code); }
std::string ScriptTypeName(std::int32_t code) { return NameIn(kScriptTypeNames, code); }
std::int32_t ValueTypeCode(std::string_view name) { return CodeIn(kValueTypeNames, name); }
std::int32_t ScriptTypeCode(std::string_view name) { return CodeIn(kScriptTypeNames, name); }

}  // namespace quorin
