// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text editor (Script Tools > Edit as Text…): one script's or global's
// text, its tokens edited in place, written back as the fields the changed
// tokens name. As the text is typed, the writes it would make are listed
// under it and a token that would be refused is underlined, with the reason
// at the caret and in the status line. Apply writes them as one step;
// Revert shows what the map holds.

#include <QMainWindow>
#include <functional>

#include "base/Result.h"
#include "script/TextParts.h"
#include "textedit/TextEditPlan.h"
#include "ui/shell/MapSource.h"
#include "ui/shell/WindowContext.h"

class QPlainTextEdit;
class QPushButton;

namespace quorin::ui {

class TokenTextEdit;

// Writes a plan into the open map as one step and shows the result in the
// main window (start-up lends the main window's).
using PlanWriter = std::function<Status(const TextPlan&)>;

class TextEditor final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kContentWidth = 760;
    static constexpr int kContentHeight = 560;

    // Shows record's text as the map holds it now, on screen.
    TextEditor(WindowContext context, MapSource map, PlanWriter write, TextRecord record);
    ~TextEditor() override;

    [[nodiscard]] const TextRecord& record() const { return record_; }
    TokenTextEdit& field() { return *field_; }

    // After another write, an undo or a redo: the text the map holds now is
    // shown when nothing is pending; otherwise Apply stays off until Revert.
    void recordsChanged();
    // After a load, likewise, on the record at the same place in the new map.
    void mapLoaded();

    // "&Apply" (Ctrl+Return) and "Re&vert".
    void apply();
    void revert();

private:
    void showRecordText();
    void edited();
    void caretMoved();
    void updateButtons();
    // The map changed under edits: they stay on screen, Apply goes off.
    void keepPendingEdits();
    void updateTitle();
    void say(const QString& message);
    [[nodiscard]] bool mapHoldsShownText() const;

    DialogSeam& dialogs_;
    MapSource map_;
    PlanWriter write_;
    TextRecord record_;
    PartedText shown_;  // the text as the map held it when it was shown
    TextPlan plan_;
    bool stale_ = false;     // the map changed under pending edits
    bool applying_ = false;  // our own write is going in
    TokenTextEdit* field_ = nullptr;
    QPlainTextEdit* writes_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* revert_ = nullptr;
};

}  // namespace quorin::ui
