// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text field of the text editor: one record's text in which only the
// tokens (names, types, numbers, truth words, node texts) can be edited.
// The document is read-only to the editing component itself; every edit a
// key, a paste or an undo asks for is made here, and only when it lies
// inside one token. Each token's span is tracked through every change, so a
// token may take spaces and parentheses and stay one token.
//
// Bytes are shown one character each (Latin-1), so a position in the field
// is a byte of the text.

#include <Qsci/qsciscintilla.h>

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "script/TextParts.h"
#include "textedit/TextEditPlan.h"

namespace quorin::ui {

class TokenLexer;

class TokenTextEdit final : public QsciScintilla {
    Q_OBJECT

public:
    explicit TokenTextEdit(QWidget* parent = nullptr);
    ~TokenTextEdit() override;

    // Shows text and forgets every edit and the undo steps.
    void showText(const PartedText& text);
    // Whether the tokens take edits; when not, reason says why an edit does nothing.
    void setEditable(bool editable, const QString& reason = {});
    [[nodiscard]] bool editable() const { return editable_; }

    // The tokens as they stand, one per token part of the text shown, in order.
    [[nodiscard]] std::vector<EditedToken> tokens() const;
    // Whether any token differs from the text shown.
    [[nodiscard]] bool changed() const;
    // Underlines the tokens that refusals name (and nothing else).
    void markRefused(const std::vector<Refusal>& refusals);
    // The part of the token the caret stands in or at the end of.
    [[nodiscard]] std::optional<std::size_t> tokenAtCaret() const;
    [[nodiscard]] int caretPosition() const;
    // The style of each byte, by the shared colour table.
    [[nodiscard]] int styleAt(int position);

    // The editing commands, kept inside the tokens: they are what the keys
    // and Edit menu reach.
    void undo() override;
    void redo() override;
    void cut() override;
    void paste() override;
    void removeSelectedText() override;

signals:
    // After every change of a token: typing, deleting, pasting, undo, redo.
    void tokensEdited();
    // An edit that would touch fixed text (or any text while not editable)
    // was not made; why says so.
    void editRefused(const QString& why);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    friend class TokenLexer;
    struct Span {
        std::size_t part = 0;
        int from = 0;
        int to = 0;
    };

    // Replaces [from, to) by bytes when the range lies inside one token.
    bool replace(int from, int to, const QByteArray& bytes);
    void typeText(const QString& text);
    void deleteAround(bool forward, bool word);
    // The index of the span holding [from, to), or nothing.
    [[nodiscard]] std::optional<std::size_t> spanHolding(int from, int to) const;
    void modified(int position, int type, int length);
    bool step(unsigned int can, unsigned int message);
    [[nodiscard]] std::string_view document() const;
    [[nodiscard]] bool handles(const QKeyEvent& key) const;

    std::vector<TextPart> parts_;
    std::string shown_;
    std::vector<Span> spans_;
    bool editable_ = true;
    QString notEditable_;
    bool loading_ = false;
    TokenLexer* lexer_ = nullptr;
};

}  // namespace quorin::ui
