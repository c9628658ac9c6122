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
        ApplyTo(*line, command);
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(focused)) {
        ApplyTo(*area, command);
    } else if (focused) {
        ApplyTo(*focused, command);
    }
}

}  // namespace quorin::ui
