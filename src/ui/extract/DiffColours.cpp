// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/DiffColours.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace quorin::ui {

namespace {

// A block's state is what is left of its hunk after it, counted as old
// lines plus new lines (a context line is both); -1 or 0 outside a hunk.
constexpr int kOutside = 0;

int LinesOfHunk(const QString& header) {
    static const QRegularExpression kHunk(QStringLiteral(R"(^@@ -\d+(?:,(\d+))? \+\d+(?:,(\d+))? @@)"));
    const QRegularExpressionMatch match = kHunk.match(header);
    if (!match.hasMatch()) return kOutside;
    const auto count = [&match](int group) {
        return match.capturedLength(group) == 0 ? 1LL : match.captured(group).toLongLong();
    };
    return static_cast<int>(std::min<long long>(count(1) + count(2), std::numeric_limits<int>::max()));
}

}  // namespace

DiffColours::DiffColours(QTextDocument* document) : QSyntaxHighlighter(document) {
    header_.setForeground(headerColour());
    header_.setFontWeight(QFont::Bold);
    removed_.setForeground(removedColour());
    added_.setForeground(addedColour());
}

void DiffColours::highlightBlock(const QString& line) {
    const int left = std::max(previousBlockState(), kOutside);
    const QChar mark = line.isEmpty() ? QChar() : line.front();
    if (left > kOutside && (mark == u' ' || mark == u'-' || mark == u'+' || mark == u'\\')) {
        if (mark == u'-') setFormat(0, static_cast<int>(line.size()), removed_);
        if (mark == u'+') setFormat(0, static_cast<int>(line.size()), added_);
        const int taken = mark == u' ' ? 2 : mark == u'\\' ? 0 : 1;
        setCurrentBlockState(std::max(left - taken, kOutside));
        return;
    }
    // Between hunks: file lines, hunk headers, a record not compared; the
    // note after a missing line end keeps the plain colour.
    if (mark != u'\\' && !line.isEmpty()) setFormat(0, static_cast<int>(line.size()), header_);
    setCurrentBlockState(line.startsWith(QLatin1String("@@ ")) ? LinesOfHunk(line) : kOutside);
}

}  // namespace quorin::ui
