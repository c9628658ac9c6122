// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seam through which every window shows modal message boxes and the
// open and save dialogs. Start-up owns the seam of a run (ModalDialogs, the
// real modal boxes) and hands it to every window it makes; tests make their
// own DialogSeam to answer them and to see what was shown.

#include <QString>

class QWidget;

namespace quorin::ui {

// What a box tells: an error (something was refused or failed) carries the
// warning icon, anything else the information icon.
enum class MessageKind { Information, Warning };

class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    // A modal box with one text, the kind's icon and an OK button; returns
    // when dismissed.
    virtual void showMessage(QWidget* parent, const QString& text, MessageKind kind) = 0;
    // The open dialog, titled title and filtered to Map files; an empty text
    // means cancelled.
    virtual QString askMapFile(QWidget* parent, const QString& title) = 0;
    // The save dialog for a text file, offering suggestedName; the chosen
    // path, or an empty text when cancelled.
    virtual QString askSaveFile(QWidget* parent, const QString& suggestedName) = 0;

    void showInformation(QWidget* parent, const QString& text) { showMessage(parent, text, MessageKind::Information); }
    void showWarning(QWidget* parent, const QString& text) { showMessage(parent, text, MessageKind::Warning); }
};

// The real modal boxes and file dialogs.
class ModalDialogs final : public DialogSeam {
public:
    void showMessage(QWidget* parent, const QString& text, MessageKind kind) override;
    QString askMapFile(QWidget* parent, const QString& title) override;
    QString askSaveFile(QWidget* parent, const QString& suggestedName) override;
};

// The file type the tool opens, and the open dialog's filter made from it.
inline constexpr const char* kMapTypeName = "Map";
inline constexpr const char* kMapExtension = "map";
QString MapFileFilter();

}  // namespace quorin::ui
