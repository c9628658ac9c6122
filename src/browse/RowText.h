// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a row of the script tree stands for. A row keeps its key beside its
// text: the text is what the row shows, the key the record it reaches.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorin {

inline constexpr std::string_view kScriptsFolder = "scripts";
inline constexpr std::string_view kGlobalsFolder = "globals";
inline constexpr std::string_view kScriptPrefix = "s";
inline constexpr std::string_view kGlobalPrefix = "g";
inline constexpr std::string_view kRowSeparator = ": ";

enum class RowKind {
    ScriptsFolder,  // "scripts"
    GlobalsFolder,  // "globals"
    Script,         // "s: NAME"
    Global,         // "g: NAME" (the global row and its name row alike)
    Node,           // a node's identity
};

// The record a row reaches, by its kind and cache position rather than by
// its text: two scripts may share a name, and a write may give a record the
// name or identity of another, yet each row goes on reaching its own.
struct RowKey {
    RowKind kind = RowKind::Node;
    std::size_t position = 0;  // in the kind's cache; 0 for the two folders

    bool operator==(const RowKey&) const = default;
};

// "s: NAME" and "g: NAME".
[[nodiscard]] std::string ScriptRowText(std::string_view name);
[[nodiscard]] std::string GlobalRowText(std::string_view name);

}  // namespace quorin
