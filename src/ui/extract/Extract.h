#pragma once
// The result window: one large text field that receives the text of one
// extraction or database run. Every run makes its own window, so earlier
// results stay open; closing a window discards its text.

#include <QMainWindow>
#include <string_view>

class QPlainTextEdit;

namespace quorin::ui {

class Extract final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kContentWidth = 393;
    static constexpr int kContentHeight = 729;

    // Builds the window and puts it on screen with an empty field.
    Extract();

    // Adds text (bytes, one character each) after whatever the field holds.
    void appendText(std::string_view text);
    // Brings the window to the front.
    void bringToFront();

    QPlainTextEdit& field() { return *FldExtract_; }

private:
    QPlainTextEdit* FldExtract_ = nullptr;
};

}  // namespace quorin::ui
