// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours of a script's or global's text by what each byte is: type
// names, names, numbers, truth words, node texts and parentheses. The main
// window's script text and the text editor read this one table.

#include <QColor>
#include <QObject>
#include <QTextBlock>
#include <string_view>
#include <vector>

#include "script/TextParts.h"

class QPlainTextEdit;

namespace quorin::ui {

enum class TokenStyle : int { Fixed, Parenthesis, TypeName, Name, Number, Truth, NodeText };
inline constexpr int kTokenStyleCount = 7;

// A token's style; a global's value is a number or a truth word by its text.
[[nodiscard]] TokenStyle StyleOfToken(PartKind kind, std::string_view text);
// A fixed byte's style: parentheses stand out from the rest.
[[nodiscard]] TokenStyle StyleOfFixed(char byte);

[[nodiscard]] QColor ColourOf(TokenStyle style);
[[nodiscard]] bool IsBold(TokenStyle style);

// Colours a read-only text field that shows one record's text, a block at
// a time as blocks come into view, so a long text is shown as fast as a
// plain one.
class PartColours final : public QObject {
public:
    explicit PartColours(QPlainTextEdit& area);
    // Sets the field's text; parts (none: no colours) say what its bytes are.
    void showText(const QString& text, std::vector<TextPart> parts);
    // Colours the blocks in view that are not coloured yet.
    void colourVisible();

private:
    void colour(const QTextBlock& block);

    QPlainTextEdit& area_;
    std::vector<TextPart> parts_;
    int generation_ = 0;  // a block coloured for the parts given last holds it
    bool colouring_ = false;
};

}  // namespace quorin::ui
