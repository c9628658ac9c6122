// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/Extract.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "ui/shell/MapText.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/MenuTable.h"
#include "ui/shell/SaveText.h"
#include "ui/shell/SlicedTextFill.h"
#include "ui/shell/WindowChrome.h"

namespace quorin::ui {

Extract::Extract(QString suggestedName) : suggestedName_(std::move(suggestedName)) {
    setObjectName(QStringLiteral("Extract"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Extracted"));
    setWindowFlags(kDocumentWindowFlags);

    auto* content = new QWidget(this);
    auto* layout = new QHBoxLayout(content);
    // The field sits one pixel in from the left edge and follows every edge.
    layout->setContentsMargins(1, 0, 0, 0);
    layout->setSpacing(0);

    FldExtract_ = new QPlainTextEdit(content);
    FldExtract_->setObjectName(QStringLiteral("FldExtract"));
    FldExtract_->setFrameShape(QFrame::StyledPanel);
    FldExtract_->setReadOnly(false);
    FldExtract_->setTabChangesFocus(true);
    FldExtract_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FldExtract_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // With no horizontal scroll bar, long lines wrap at the field's edge so
    // that nothing is out of reach.
    FldExtract_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette colours = FldExtract_->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    FldExtract_->setPalette(colours);
    layout->addWidget(FldExtract_);
    setCentralWidget(content);

    // The shared bar: its commands go to the main window, none to this one.
    InstallMenuBar(*this);
    SetMenuItemEnabledOn(*this, kSaveAsItem, false);
    ApplyContentSize(*this, kContentWidth, kContentHeight, ContentResize::Both);
    show();
}

void Extract::appendText(std::string_view text) {
    QTextCursor end(FldExtract_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(FromMapText(text));
}

void Extract::showText(std::string text, std::function<void()> done) {
    SlicedTextFill::Start(*FldExtract_, std::move(text), [this, done = std::move(done)] {
        SetMenuItemEnabledOn(*this, kSaveAsItem, true);
        if (done) done();
    });
}

void Extract::saveAs() { SaveTextAs(this, FldExtract_->toPlainText(), suggestedName_); }

void Extract::bringToFront() {
    show();
    raise();
    activateWindow();
}

}  // namespace quorin::ui
