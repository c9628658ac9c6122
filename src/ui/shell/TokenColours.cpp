// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/TokenColours.h"

#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextLayout>
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

PartColours::PartColours(QPlainTextEdit& area) : QObject(&area), area_(area) {
    // Scrolling, resizing and a new layout all repaint through here.
    connect(&area, &QPlainTextEdit::updateRequest, this, &PartColours::colourVisible);
}

void PartColours::showText(const QString& text, std::vector<TextPart> parts) {
    // No colouring while the text goes in: the document keeps its first
    // block, which would be marked coloured before it holds the new text.
    parts_.clear();
    area_.setPlainText(text);
    parts_ = std::move(parts);
    ++generation_;
    colourVisible();
}

void PartColours::colourVisible() {
    if (parts_.empty() || colouring_) return;
    colouring_ = true;
    const QRect view = area_.viewport()->rect();
    const QTextBlock last = area_.cursorForPosition(view.bottomRight()).block();
    int from = -1;
    int to = -1;
    for (QTextBlock block = area_.cursorForPosition(view.topLeft()).block(); block.isValid(); block = block.next()) {
        if (block.userState() != generation_) {
            colour(block);
            if (from < 0) from = block.position();
            to = block.position() + block.length();
        }
        if (block == last) break;
    }
    // Laid out again once for every block coloured.
    if (from >= 0) area_.document()->markContentsDirty(from, to - from);
    colouring_ = false;
}

void PartColours::colour(const QTextBlock& block) {
    // One character of the field is one byte of the text, and a block's
    // line end is one character too.
    const QString text = block.text();
    const auto from = static_cast<std::size_t>(block.position());
    const std::size_t to = from + static_cast<std::size_t>(text.size());
    auto part = std::upper_bound(parts_.begin(), parts_.end(), from,
                                 [](std::size_t at, const TextPart& p) { return at < p.from; });
    if (part != parts_.begin()) --part;
    QList<QTextLayout::FormatRange> ranges;
    const auto add = [&](int at, int count, TokenStyle style) {
        QTextCharFormat format;
        format.setForeground(ColourOf(style));
        if (IsBold(style)) format.setFontWeight(QFont::Bold);
        ranges.append({at, count, format});
    };
    for (; part != parts_.end() && part->from < to; ++part) {
        const std::size_t start = std::max(part->from, from);
        const std::size_t end = std::min(part->from + part->size, to);
        if (start >= end) continue;
        const int at = static_cast<int>(start - from);
        const int count = static_cast<int>(end - start);
        if (IsToken(part->kind)) {
            add(at, count, StyleOfToken(part->kind, text.mid(at, count).toLatin1().toStdString()));
            continue;
        }
        for (int i = at; i < at + count; ++i) {
            if (StyleOfFixed(static_cast<char>(text[i].unicode())) == TokenStyle::Parenthesis) {
                add(i, 1, TokenStyle::Parenthesis);
            }
        }
    }
    QTextBlock coloured = block;
    coloured.layout()->setFormats(ranges);
    coloured.setUserState(generation_);
}

}  // namespace quorin::ui
