// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result window: one large text field that receives the text of one
// extraction or database run. Every run makes its own window, so earlier
// results stay open; closing a window discards its text. File > Save As…
// writes the text as shown, offering a name that says which run made it.

#include <QMainWindow>
#include <functional>
#include <string>
#include <string_view>

#include "ui/shell/WindowContext.h"

class QPlainTextEdit;

namespace quorin::ui {

class ResultWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kContentWidth = 393;
    static constexpr int kContentHeight = 729;

    // Builds the window and puts it on screen with an empty field. Save As
    // offers suggestedName; it stays disabled until the text is in.
    explicit ResultWindow(WindowContext context, QString suggestedName = QStringLiteral("extract.txt"));

    // Adds text (bytes, one character each) after whatever the field holds.
    void appendText(std::string_view text);
    // Puts text (bytes) after whatever the field holds a slice at a time,
    // so a long text never holds the window, then enables Save As and
    // calls done. Closing the window first stops it; done is then not called.
    void showText(std::string text, std::function<void()> done = {});
    // File > Save As…: the text as shown, to a file the user picks.
    void saveAs();
    const QString& suggestedName() const { return suggestedName_; }
    // Brings the window to the front.
    void bringToFront();

    QPlainTextEdit& field() { return *text_; }
    const WindowContext& context() const { return context_; }

private:
    WindowContext context_;
    QPlainTextEdit* text_ = nullptr;  // FldExtract
    QString suggestedName_;
};

}  // namespace quorin::ui
