// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/CaptionFit.h"

#include <QFontMetrics>
#include <QLabel>

namespace quorin::ui {

void FitCaption(QLabel& label) {
    QFont font = label.font();
    if (font.pointSizeF() <= 0) return;
    while (QFontMetrics(font).horizontalAdvance(label.text()) > label.width() && font.pointSizeF() > 6.5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label.setFont(font);
}

}  // namespace quorin::ui
