// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/RowText.h"

namespace quorin {

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
