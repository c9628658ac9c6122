// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Script Tools > Edit as Text…: the text editors over the open map, one per
// record. They are told of every change of the map (start-up connects the
// main window's notifications) and close when the window they belong to
// closes.

#include <QObject>
#include <QPointer>
#include <vector>

#include "textedit/TextEditPlan.h"
#include "ui/shell/MapSource.h"
#include "ui/textedit/TextEditor.h"

class QWidget;

namespace quorin::ui {

class TextEditCommands final : public QObject {
    Q_OBJECT

public:
    // owner: the window the editors close with; also this object's parent.
    // The editors are made with context.
    TextEditCommands(WindowContext context, MapSource map, PlanWriter write, QWidget& owner);
    ~TextEditCommands() override;

    // The editor of record (made when there is none), in front.
    TextEditor& open(TextRecord record);
    // The open editors, oldest first.
    [[nodiscard]] std::vector<TextEditor*> editors() const;

    // To be connected to the main window's notifications: a write, an undo
    // or a redo changed records; a map loaded.
    void recordsChanged();
    void mapLoaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowContext context_;
    MapSource map_;
    PlanWriter write_;
    QWidget& owner_;
    std::vector<QPointer<TextEditor>> editors_;
};

}  // namespace quorin::ui
