// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/textedit/TextEditCommands.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace quorin::ui {

TextEditCommands::TextEditCommands(WindowContext context, MapSource map, PlanWriter write, QWidget& owner)
    : QObject(&owner), context_(context), map_(std::move(map)), write_(std::move(write)), owner_(owner) {
    setObjectName(QStringLiteral("TextEditCommands"));
    owner_.installEventFilter(this);
}

TextEditCommands::~TextEditCommands() {
    // The editors read the map through this object's source.
    for (const QPointer<TextEditor>& editor : editors_) delete editor.data();
}

std::vector<TextEditor*> TextEditCommands::editors() const {
    std::vector<TextEditor*> open;
    for (const QPointer<TextEditor>& editor : editors_) {
        if (editor) open.push_back(editor.data());
    }
    return open;
}

TextEditor& TextEditCommands::open(TextRecord record) {
    std::erase_if(editors_, [](const QPointer<TextEditor>& editor) { return editor.isNull(); });
    for (const QPointer<TextEditor>& editor : editors_) {
        if (editor->record() == record) {
            editor->show();
            editor->raise();
            editor->activateWindow();
            return *editor;
        }
    }
    auto* editor = new TextEditor(context_, map_, write_, record);
    editors_.emplace_back(editor);
    editor->raise();
    editor->activateWindow();
    return *editor;
}

void TextEditCommands::recordsChanged() {
    for (TextEditor* editor : editors()) editor->recordsChanged();
}

void TextEditCommands::mapLoaded() {
    for (TextEditor* editor : editors()) editor->mapLoaded();
}

bool TextEditCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &owner_ && event->type() == QEvent::Close) {
        for (TextEditor* editor : editors()) editor->close();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorin::ui
