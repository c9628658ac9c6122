// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a row of the script tree stands for. Rows carry nothing but their
// text, so the tree, the selection display and the editor all tell rows
// apart from it alone.

#include <string>
#include <string_view>

namespace quorin {

inline constexpr std::string_view kScriptsFolder = "scripts";
inline constexpr std::string_view kGlobalsFolder = "globals";
inline constexpr std::string_view kScriptPrefix = "s";
inline constexpr std::string_view kGlobalPrefix = "g";
inline constexpr std::string_view kRowSeparator = ": ";

enum class RowKind {
    ScriptsFolder,  // "scripts", any letter case
    GlobalsFolder,  // "globals", any letter case
    Script,         // "s: NAME"
    Global,         // "g: NAME" (the global row and its name row alike)
    Other,          // anything else: a node identity, or a row nobody made
};

struct RowText {
    RowKind kind = RowKind::Other;
    // The part after the first ": ", up to a further ": " (a name that holds
    // the separator is cut there). Empty for the folders and Other.
    std::string name;
};

[[nodiscard]] RowText ClassifyRow(std::string_view text);

// "s: NAME" and "g: NAME".
[[nodiscard]] std::string ScriptRowText(std::string_view name);
[[nodiscard]] std::string GlobalRowText(std::string_view name);

}  // namespace quorin
