// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/textedit/TextEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "base/TextFormat.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/MenuTable.h"
#include "ui/shell/WindowChrome.h"
#include "ui/textedit/TokenTextEdit.h"

namespace quorin::ui {

namespace {

QString Counted(std::size_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

}  // namespace

TextEditor::TextEditor(WindowContext context, MapSource map, PlanWriter write, TextRecord record)
    : dialogs_(context.dialogs), map_(std::move(map)), write_(std::move(write)), record_(record) {
    setObjectName(QStringLiteral("TextEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(kDocumentWindowFlags);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(6, 6, 6, 6);
    field_ = new TokenTextEdit(content);
    field_->setObjectName(QStringLiteral("FldTextEditor"));
    layout->addWidget(field_, 4);

    auto* writesLabel = new QLabel(QStringLiteral("Fields to write:"), content);
    layout->addWidget(writesLabel);
    writes_ = new QPlainTextEdit(content);
    writes_->setObjectName(QStringLiteral("FldPlannedWrites"));
    writes_->setReadOnly(true);
    writes_->setLineWrapMode(QPlainTextEdit::NoWrap);
    writes_->setTabStopDistance(writes_->fontMetrics().horizontalAdvance(QStringLiteral("0x00000000  ")));
    writes_->setAcceptDrops(false);
    layout->addWidget(writes_, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    revert_ = new QPushButton(QStringLiteral("Re&vert"), content);
    revert_->setObjectName(QStringLiteral("BtnRevert"));
    apply_ = new QPushButton(QStringLiteral("&Apply"), content);
    apply_->setObjectName(QStringLiteral("BtnApply"));
    apply_->setToolTip(QStringLiteral("Writes the changed fields into the map (Ctrl+Return)"));
    buttons->addWidget(revert_);
    buttons->addWidget(apply_);
    layout->addLayout(buttons);
    setCentralWidget(content);
    statusBar()->setObjectName(QStringLiteral("TextEditorStatus"));

    connect(apply_, &QPushButton::clicked, this, &TextEditor::apply);
    connect(revert_, &QPushButton::clicked, this, &TextEditor::revert);
    for (const QKeyCombination keys : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, apply_, &QPushButton::click);
    }
    connect(field_, &TokenTextEdit::tokensEdited, this, &TextEditor::edited);
    connect(field_, &TokenTextEdit::editRefused, this, &TextEditor::say);
    connect(field_, &QsciScintilla::cursorPositionChanged, this, &TextEditor::caretMoved);

    // The shared bar: Undo Last Write and the rest reach the main window.
    context.menus.installBar(*this);
    context.menus.setEnabledOn(*this, MenuCommand::SaveAs, false);
    ApplyContentSize(*this, kContentWidth, kContentHeight, ContentResize::Both);
    showRecordText();
    show();
    field_->setFocus();
}

TextEditor::~TextEditor() = default;

void TextEditor::say(const QString& message) { statusBar()->showMessage(message); }

void TextEditor::updateTitle() {
    const MapState& map = map_();
    QString name;
    if (HasTextRecord(map, record_)) {
        name = FromMapText(record_.kind == RecordKind::Script ? map.ScriptHeaderCache[record_.position].Name.view()
                                                              : map.GlobalHeaderCache[record_.position].Name.view());
    }
    setWindowTitle(name + QStringLiteral(" \u2014 Edit as Text"));
}

bool TextEditor::mapHoldsShownText() const {
    const MapState& map = map_();
    if (!HasTextRecord(map, record_)) return false;
    const PartedText now = RecordText(map, record_);
    return now.text() == shown_.text() && now.parts() == shown_.parts();
}

void TextEditor::showRecordText() {
    const MapState& map = map_();
    stale_ = false;
    updateTitle();
    if (!HasTextRecord(map, record_)) {
        shown_ = PartedText();
        field_->showText(shown_);
        field_->setEditable(false, QStringLiteral("The map loaded now has no such record."));
        say(QStringLiteral("The map loaded now has no %1 at this place.")
                .arg(record_.kind == RecordKind::Script ? QStringLiteral("script") : QStringLiteral("global")));
    } else {
        shown_ = RecordText(map, record_);
        field_->showText(shown_);
        if (IsCut(shown_)) {
            field_->setEditable(false, QStringLiteral("The text is shown cut, so it cannot be edited."));
            say(QStringLiteral("The text is longer than %1 MiB and is shown cut; it cannot be edited here.")
                    .arg(kDecompiledTextLimit / (1024 * 1024)));
        } else if (map.readOnly()) {
            field_->setEditable(false, QStringLiteral("The map is open read-only; nothing can be written."));
            say(QStringLiteral("The map is open read-only; nothing can be written."));
        } else {
            field_->setEditable(true);
        }
    }
    plan_ = {};
    writes_->clear();
    updateButtons();
}

void TextEditor::edited() {
    if (stale_ || !field_->editable()) return updateButtons();
    plan_ = PlanTextEdit(map_(), record_, shown_, field_->tokens());
    field_->markRefused(plan_.refusals);
    QString lines;
    for (const PlannedWrite& write : plan_.writes) lines += FromMapText(DryRunLine(write)) + QLatin1Char('\n');
    writes_->setPlainText(lines);
    updateButtons();
    if (plan_.refused()) {
        say(Counted(plan_.refusals.size(), "token would be refused", "tokens would be refused") +
            QStringLiteral(": ") + FromMapText(plan_.refusals.front().message));
    } else if (field_->changed()) {
        say(plan_.writes.empty() ? QStringLiteral("Nothing to write: every field already shows what the text says.")
                                 : Counted(plan_.writes.size(), "field", "fields") + QStringLiteral(" to write."));
    } else {
        say({});
    }
    caretMoved();
}

void TextEditor::caretMoved() {
    const auto part = field_->tokenAtCaret();
    const auto refusal = std::find_if(plan_.refusals.begin(), plan_.refusals.end(),
                                      [&](const Refusal& r) { return part && r.part == part; });
    if (refusal == plan_.refusals.end()) {
        field_->SendScintilla(QsciScintillaBase::SCI_CALLTIPCANCEL);
        return;
    }
    const std::string message = refusal->message;
    field_->SendScintilla(QsciScintillaBase::SCI_CALLTIPSHOW, static_cast<uintptr_t>(field_->caretPosition()),
                          message.c_str());
    say(FromMapText(message));
}

void TextEditor::updateButtons() {
    apply_->setEnabled(field_->editable() && !stale_ && field_->changed() && !plan_.refused());
    revert_->setEnabled(stale_ || field_->changed());
}

void TextEditor::apply() {
    if (!apply_->isEnabled()) return;
    // The plan is made again on the map as it is now, which must still hold
    // the text the edits began from.
    if (!mapHoldsShownText()) {
        stale_ = true;
        updateButtons();
        say(QStringLiteral("The map changed since this text was shown; Revert shows what it holds now."));
        return;
    }
    plan_ = PlanTextEdit(map_(), record_, shown_, field_->tokens());
    if (plan_.refused()) return edited();
    applying_ = true;
    const Status written = write_(plan_);
    applying_ = false;
    if (!written) {
        say(MessageText(written.error()));
        dialogs_.showWarning(this, MessageText(written.error()));
        return;
    }
    const std::size_t count = plan_.writes.size();
    showRecordText();
    say(count == 0 ? QStringLiteral("Nothing to write.") : Counted(count, "field", "fields") + QStringLiteral(" written."));
}

void TextEditor::revert() {
    showRecordText();
    say(QStringLiteral("The text as the map holds it."));
}

void TextEditor::recordsChanged() {
    if (applying_ || mapHoldsShownText()) return;
    if (!field_->changed()) {
        showRecordText();
        say(QStringLiteral("The map changed; this is the text it holds now."));
        return;
    }
    keepPendingEdits();
}

void TextEditor::mapLoaded() {
    if (!field_->changed()) return showRecordText();
    // Edits of the same text of a map that may still be written stay.
    if (mapHoldsShownText() && !map_().readOnly()) return;
    keepPendingEdits();
}

void TextEditor::keepPendingEdits() {
    stale_ = true;
    updateButtons();
    updateTitle();
    say(QStringLiteral("The map changed under your edits: Apply is off until Revert shows what it holds now."));
}

}  // namespace quorin::ui
