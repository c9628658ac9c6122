// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/RowText.h"

#include "base/TextFormat.h"

namespace quorin {

RowText ClassifyRow(std::string_view text) {
    if (EqualsIgnoringCase(text, kScriptsFolder)) return {RowKind::ScriptsFolder, {}};
    if (EqualsIgnoringCase(text, kGlobalsFolder)) return {RowKind::GlobalsFolder, {}};

    const std::size_t cut = text.find(kRowSeparator);
    const std::string_view prefix = text.substr(0, cut);
    std::string_view name;
    if (cut != std::string_view::npos) {
        name = text.substr(cut + kRowSeparator.size());
        name = name.substr(0, name.find(kRowSeparator));
    }
    if (EqualsIgnoringCase(prefix, kScriptPrefix)) return {RowKind::Script, std::string(name)};
    if (EqualsIgnoringCase(prefix, kGlobalPrefix)) return {RowKind::Global, std::string(name)};
    return {RowKind::Other, {}};
}

std::string ScriptRowText(std::string_view name) {
    std::string text(kScriptPrefix);
    text += kRowSeparator;
    text += name;
    return text;
}

std::string GlobalRowText(std::string_view name) {
    std::string text(kGlobalPrefix);
    text += kRowSeparator;
    text += name;
    return text;
}

}  // namespace quorin
