// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A long text put into a text field a slice at a time, one slice per turn
// of the event loop, so that no single turn holds the window: appending
// half a megabyte in one call keeps the loop from running for tens of
// milliseconds, each slice here for a few.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>

class QPlainTextEdit;

namespace quorin::ui {

class SlicedTextFill final : public QObject {
    Q_OBJECT

public:
    // About this long is spent on one turn of the event loop, plus at most
    // one piece of kPieceBytes.
    static constexpr int kSliceMs = 4;
    static constexpr std::size_t kPieceBytes = 8 * 1024;

    // Appends text (bytes, one character each) after whatever field holds,
    // starting on the next turn of the event loop, then calls done once.
    // While it fills, field takes no typing and keeps no undo steps; both
    // come back at the end. The fill belongs to field: closing or deleting
    // the field's window stops it, and done is not called.
    static SlicedTextFill* Start(QPlainTextEdit& field, std::string text, std::function<void()> done = {});

    bool finished() const { return next_ >= text_.size(); }

private:
    SlicedTextFill(QPlainTextEdit& field, std::string text, std::function<void()> done);
    void fillSlice();
    // Where the piece starting at from ends: after a line end when there
    // is one near, so a line is not laid out in two goes.
    std::size_t pieceEnd(std::size_t from) const;

    QPointer<QPlainTextEdit> field_;
    std::string text_;
    std::size_t next_ = 0;
    std::function<void()> done_;
    bool wasReadOnly_ = false;
    QTimer turns_;
};

}  // namespace quorin::ui
