// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/SlicedTextFill.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "ui/shell/MapText.h"

namespace quorin::ui {

SlicedTextFill* SlicedTextFill::Start(QPlainTextEdit& field, std::string text, std::function<void()> done) {
    return new SlicedTextFill(field, std::move(text), std::move(done));
}

SlicedTextFill::SlicedTextFill(QPlainTextEdit& field, std::string text, std::function<void()> done)
    : QObject(&field), field_(&field), text_(std::move(text)), done_(std::move(done)) {
    wasReadOnly_ = field.isReadOnly();
    field.setReadOnly(true);
    // Each piece would be an undo step of its own, holding the text twice.
    field.document()->setUndoRedoEnabled(false);
    turns_.setInterval(0);
    connect(&turns_, &QTimer::timeout, this, &SlicedTextFill::fillSlice);
    turns_.start();
}

std::size_t SlicedTextFill::pieceEnd(std::size_t from) const {
    const std::size_t end = std::min(text_.size(), from + kPieceBytes);
    if (end == text_.size()) return end;
    const std::size_t lineEnd = text_.rfind('\n', end - 1);
    return lineEnd != std::string::npos && lineEnd >= from + kPieceBytes / 2 ? lineEnd + 1 : end;
}

void SlicedTextFill::fillSlice() {
    if (!field_) return;
    QElapsedTimer slice;
    slice.start();
    QTextCursor end(field_->document());
    end.movePosition(QTextCursor::End);
    while (!finished() && slice.elapsed() < kSliceMs) {
        const std::size_t to = pieceEnd(next_);
        end.insertText(FromMapText(std::string_view(text_).substr(next_, to - next_)));
        next_ = to;
    }
    if (!finished()) return;
    turns_.stop();
    field_->document()->setUndoRedoEnabled(true);
    field_->setReadOnly(wasReadOnly_);
    std::string().swap(text_);
    // Deleted only once control is back in this loop: done may open a box.
    deleteLater();
    if (auto done = std::move(done_)) done();
}

}  // namespace quorin::ui
