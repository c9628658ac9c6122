// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/StandardCommands.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

namespace quorin::ui {

namespace {

void ApplyTo(QLineEdit& line, StandardCommand command) {
    switch (command) {
    case StandardCommand::Undo: line.undo(); break;
    case StandardCommand::Cut: line.cut(); break;
    case StandardCommand::Copy: line.copy(); break;
    case StandardCommand::Paste: line.paste(); break;
    case StandardCommand::Delete: line.del(); break;
    case StandardCommand::SelectAll: line.selectAll(); break;
    case StandardCommand::None:
    case StandardCommand::Quit: break;
    }
}

void ApplyTo(QPlainTextEdit& area, StandardCommand command) {
    switch (command) {
    case StandardCommand::Undo: area.undo(); break;
    case StandardCommand::Cut: area.cut(); break;
    case StandardCommand::Copy: area.copy(); break;
    case StandardCommand::Paste: area.paste(); break;
    case StandardCommand::Delete: area.textCursor().removeSelectedText(); break;
    case StandardCommand::SelectAll: area.selectAll(); break;
    case StandardCommand::None:
    case StandardCommand::Quit: break;
    }
}

// Commands that change the text; a read-only field refuses them from the
// menu as it does from the keyboard.
bool ChangesText(StandardCommand command) {
    switch (command) {
    case StandardCommand::Undo:
    case StandardCommand::Cut:
    case StandardCommand::Paste:
    case StandardCommand::Delete: return true;
    case StandardCommand::None:
    case StandardCommand::Quit:
    case StandardCommand::Copy:
    case StandardCommand::SelectAll: break;
    }
    return false;
}

// Any other text field with the usual slots (the text editor's) by name.
void ApplyTo(QWidget& field, StandardCommand command) {
    const char* slot = nullptr;
    switch (command) {
    case StandardCommand::Undo: slot = "undo"; break;
    case StandardCommand::Cut: slot = "cut"; break;
    case StandardCommand::Copy: slot = "copy"; break;
    case StandardCommand::Paste: slot = "paste"; break;
    case StandardCommand::Delete: slot = "removeSelectedText"; break;
    case StandardCommand::SelectAll: slot = "selectAll"; break;
    case StandardCommand::None:
    case StandardCommand::Quit: return;
    }
    if (field.metaObject()->indexOfSlot(QMetaObject::normalizedSignature((std::string(slot) + "()").c_str())) >= 0) {
        QMetaObject::invokeMethod(&field, slot);
    }
}

}  // namespace

void RunStandardCommand(StandardCommand command) {
    if (command == StandardCommand::Quit) {
        QApplication::quit();
        return;
    }
    QWidget* focused = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focused)) {
        if (!line->isReadOnly() || !ChangesText(command)) ApplyTo(*line, command);
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(focused)) {
        if (!area->isReadOnly() || !ChangesText(command)) ApplyTo(*area, command);
    } else if (focused) {
        // A field of its own kind (the text editor) keeps its read-only
        // rules in its own slots.
        ApplyTo(*focused, command);
    }
}

}  // namespace quorin::ui
