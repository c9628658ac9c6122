// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/ResultWindow.h"

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

ResultWindow::ResultWindow(WindowContext context, QString suggestedName)
    : context_(context), suggestedName_(std::move(suggestedName)) {
    setObjectName(QStringLiteral("Extract"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Extracted"));
    setWindowFlags(kDocumentWindowFlags);

    auto* content = new QWidget(this);
    auto* layout = new QHBoxLayout(content);
    // The field sits one pixel in from the left edge and follows every edge.
    layout->setContentsMargins(1, 0, 0, 0);
    layout->setSpacing(0);

    text_ = new QPlainTextEdit(content);
    text_->setObjectName(QStringLiteral("FldExtract"));
    text_->setFrameShape(QFrame::StyledPanel);
    text_->setReadOnly(false);
    text_->setTabChangesFocus(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // With no horizontal scroll bar, long lines wrap at the field's edge so
    // that nothing is out of reach.
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette colours = text_->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    text_->setPalette(colours);
    layout->addWidget(text_);
    setCentralWidget(content);

    // The shared bar: its commands go to the main window, none to this one.
    context_.menus.installBar(*this);
    context_.menus.setEnabledOn(*this, MenuCommand::SaveAs, false);
    ApplyContentSize(*this, kContentWidth, kContentHeight, ContentResize::Both);
    show();
}

void ResultWindow::appendText(std::string_view text) {
    QTextCursor end(text_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(FromMapText(text));
}

void ResultWindow::showText(std::string text, std::function<void()> done) {
    SlicedTextFill::Start(*text_, std::move(text), [this, done = std::move(done)] {
        context_.menus.setEnabledOn(*this, MenuCommand::SaveAs, true);
        if (done) done();
    });
}

void ResultWindow::saveAs() { SaveTextAs(context_.dialogs, this, text_->toPlainText(), suggestedName_); }

void ResultWindow::bringToFront() {
    show();
    raise();
    activateWindow();
}

}  // namespace quorin::ui
