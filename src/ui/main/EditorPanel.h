// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page panel PageEditor: page 0 with the credits, then the script, global
// and syntax node pages built from kEditorControls.

#include <QStackedWidget>
#include <map>

#include "edit/EditField.h"
#include "browse/PageFill.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace quorin::ui {

class PartColours;

class EditorPanel final : public QStackedWidget {
public:
    explicit EditorPanel(QWidget* parent);

    // The edit field or popup that writes back field; nullptr for the other kind.
    QLineEdit* lineEdit(EditField field) const;
    QComboBox* popup(EditField field) const;
    const std::map<EditField, QLineEdit*>& lineEdits() const { return lineEdits_; }
    const std::map<EditField, QComboBox*>& popups() const { return popups_; }

    // Fills a page and shows it. Popups are set while filling() is true, so
    // that nothing mistakes the fill for a user's choice.
    void showFill(const PageFill& fill);
    // Sets the one control of value.field to what value says, as a fill does.
    void showValue(const FieldValue& value);
    // The same after a refused write; an edit field keeps what was typed
    // one Edit > Undo away.
    void restoreValue(const FieldValue& value);
    // Back to page 0 with every field empty and no popup item chosen.
    void clearPages();
    bool filling() const { return filling_; }
    // A map opened read-only: the fields take no typing, the popups no choice.
    void setReadOnly(bool readOnly);

private:
    void addCreditsPage();
    QPlainTextEdit* textArea(EditorPage page) const;

    std::map<EditField, QLineEdit*> lineEdits_;
    std::map<EditField, QComboBox*> popups_;
    std::map<EditorPage, QPlainTextEdit*> textAreas_;
    // The colours of each page's text, by what each byte renders.
    std::map<EditorPage, PartColours*> colours_;
    bool filling_ = false;
};

}  // namespace quorin::ui
