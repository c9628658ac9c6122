// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours for a unified diff in a text field: section and hunk headers
// (and the line that stands for a record not compared) in blue, removed
// lines in red, added lines in green. A hunk's header says how many lines
// it holds, so a line inside a hunk is told by its first character even
// when its text looks like a header.

#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

namespace quorin::ui {

class DiffColours final : public QSyntaxHighlighter {
    Q_OBJECT

public:
    static QColor headerColour() { return {0x00, 0x40, 0xA0}; }
    static QColor removedColour() { return {0xB0, 0x00, 0x00}; }
    static QColor addedColour() { return {0x00, 0x70, 0x00}; }

    explicit DiffColours(QTextDocument* document);

protected:
    void highlightBlock(const QString& line) override;

private:
    QTextCharFormat header_;
    QTextCharFormat removed_;
    QTextCharFormat added_;
};

}  // namespace quorin::ui
