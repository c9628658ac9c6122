// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/TokenColours.h"

#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <algorithm>
#include <array>

namespace quorin::ui {

namespace {

// Dark enough to read on the white field of every window.
constexpr std::array<QRgb, kTokenStyleCount> kColours = {
    0x000000,  // fixed text
    0x7a7a7a,  // parentheses
    0x1f4fbf,  // type names
    0x8b1c62,  // names
    0xa04000,  // numbers
    0x007575,  // truth words
    0x2a6e14,  // node texts
};

}  // namespace

TokenStyle StyleOfToken(PartKind kind, std::string_view text) {
    switch (kind) {
    case PartKind::Fixed: return TokenStyle::Fixed;
    case PartKind::ScriptType:
    case PartKind::ReturnType:
    case PartKind::GlobalType: return TokenStyle::TypeName;
    case PartKind::ScriptName:
    case PartKind::GlobalName: return TokenStyle::Name;
    case PartKind::NodeText: return TokenStyle::NodeText;
    case PartKind::NodeNumber: return TokenStyle::Number;
    case PartKind::NodeTruth: return TokenStyle::Truth;
    case PartKind::GlobalValue: return text == "true" || text == "false" ? TokenStyle::Truth : TokenStyle::Number;
    }
    return TokenStyle::Fixed;
}

TokenStyle StyleOfFixed(char byte) {
    return byte == '(' || byte == ')' ? TokenStyle::Parenthesis : TokenStyle::Fixed;
}

QColor ColourOf(TokenStyle style) { return QColor(kColours[static_cast<std::size_t>(style)]); }

bool IsBold(TokenStyle style) { return style == TokenStyle::Name; }

PartHighlighter::PartHighlighter(QPlainTextEdit& area) : QSyntaxHighlighter(area.document()) {}

void PartHighlighter::setParts(std::vector<TextPart> parts) {
    parts_ = std::move(parts);
}

void PartHighlighter::highlightBlock(const QString& text) {
    if (parts_.empty()) return;
    // One character of the field is one byte of the text, and a block's
    // line end is one character too.
    const auto from = static_cast<std::size_t>(currentBlock().position());
    const std::size_t to = from + static_cast<std::size_t>(text.size());
    auto part = std::upper_bound(parts_.begin(), parts_.end(), from,
                                 [](std::size_t at, const TextPart& p) { return at < p.from; });
    if (part != parts_.begin()) --part;
    const auto format = [](TokenStyle style) {
        QTextCharFormat chosen;
        chosen.setForeground(ColourOf(style));
        if (IsBold(style)) chosen.setFontWeight(QFont::Bold);
        return chosen;
    };
    for (; part != parts_.end() && part->from < to; ++part) {
        const std::size_t start = std::max(part->from, from);
        const std::size_t end = std::min(part->from + part->size, to);
        if (start >= end) continue;
        const int at = static_cast<int>(start - from);
        const int count = static_cast<int>(end - start);
        if (IsToken(part->kind)) {
            const QString token = text.mid(at, count);
            setFormat(at, count, format(StyleOfToken(part->kind, token.toLatin1().toStdString())));
            continue;
        }
        for (int i = at; i < at + count; ++i) {
            const char byte = static_cast<char>(text[i].unicode());
            if (StyleOfFixed(byte) == TokenStyle::Parenthesis) setFormat(i, 1, format(TokenStyle::Parenthesis));
        }
    }
}

}  // namespace quorin::ui
