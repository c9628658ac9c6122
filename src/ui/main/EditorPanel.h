// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page panel PageEditor: page 0 with the credits, then the script, global
// and syntax node pages built from kEditorControls. It knows what the file
// holds for each edit field, so a field whose text differs is marked as not
// written until Return writes it or Escape puts the file's value back.

#include <QStackedWidget>
#include <map>
#include <optional>

#include "browse/PageFill.h"
#include "edit/EditField.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace quorin::ui {

class PartColours;

class EditorPanel final : public QStackedWidget {
    Q_OBJECT

public:
    explicit EditorPanel(QWidget* parent);

    // The edit field or popup that writes back field; nullptr for the other kind.
    QLineEdit* lineEdit(EditField field) const;
    QComboBox* popup(EditField field) const;
    const std::map<EditField, QLineEdit*>& lineEdits() const { return lineEdits_; }
    const std::map<EditField, QComboBox*>& popups() const { return popups_; }
    const std::map<EditorPage, QPlainTextEdit*>& textAreas() const { return textAreas_; }

    // Fills a page and shows it, dropping whatever was typed on it. Popups
    // are set while filling() is true, so that nothing mistakes the fill for
    // a user's choice.
    void showFill(const PageFill& fill);
    // After a write: the page's fields and text take what the records now
    // hold, without switching pages. A field still holding typing that was
    // never written keeps it (and its mark), but for written, the field
    // whose text was just written.
    void refreshFill(const PageFill& fill, std::optional<EditField> written = std::nullopt);
    // After a refused write, or Escape: the field shows what the file holds
    // again; an edit field keeps what was typed one Edit > Undo away.
    void restoreValue(const FieldValue& value);
    void restoreFileValue(EditField field);
    // Back to page 0 with every field empty and no popup item chosen.
    void clearPages();
    bool filling() const { return filling_; }
    // A map opened read-only: the fields take no typing, the popups no choice.
    void setReadOnly(bool readOnly);

    // The field's text differs from what the file holds.
    bool notWritten(EditField field) const;
    // Some edit field of the page shown is not written.
    bool pageShowsNotWritten() const;

signals:
    // A field was marked or unmarked, or another page came up.
    void notWrittenChanged();

private:
    void addCreditsPage();
    QPlainTextEdit* textArea(EditorPage page) const;
    // Sets the one control of value.field to what value says, as a fill does.
    void showValue(const FieldValue& value);
    void setFileText(EditField field, const QString& text);
    void updateLook(EditField field);

    std::map<EditField, QLineEdit*> lineEdits_;
    std::map<EditField, QComboBox*> popups_;
    std::map<EditorPage, QPlainTextEdit*> textAreas_;
    // What the file holds for each edit field, as the field shows it.
    std::map<EditField, QString> fileTexts_;
    std::map<EditField, EditorPage> pages_;
    // The colours of each page's text, by what each byte renders.
    std::map<EditorPage, PartColours*> colours_;
    bool filling_ = false;
    bool readOnly_ = false;
};

}  // namespace quorin::ui
