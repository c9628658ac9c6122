// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/CaptionFit.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

namespace quorin::ui {

void FitCaptions(QWidget& page) {
    QList<QLabel*> captions = page.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    captions.removeIf([](const QLabel* label) { return label->wordWrap(); });
    if (captions.isEmpty()) return;
    QFont font = captions.front()->font();
    if (font.pointSizeF() <= 0) return;
    const auto allFit = [&captions](const QFont& tried) {
        const QFontMetrics metrics(tried);
        return std::all_of(captions.begin(), captions.end(), [&metrics](const QLabel* label) {
            return metrics.horizontalAdvance(label->text()) <= label->width();
        });
    };
    while (!allFit(font) && font.pointSizeF() > 6.5) font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QLabel* label : captions) label->setFont(font);
}

}  // namespace quorin::ui
