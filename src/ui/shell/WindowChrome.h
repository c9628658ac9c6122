// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every window shares: document window buttons, and a content area of
// a given size below the menu bar (and above a status line). Size limits
// belong to the content; the bars make the window taller by their heights.

#include <Qt>

class QMainWindow;

namespace quorin::ui {

// Close and minimise buttons, no maximise button.
inline constexpr Qt::WindowFlags kDocumentWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// The bounds of a content area the user can resize.
inline constexpr int kContentMinimum = 64;
inline constexpr int kContentMaximum = 32000;

enum class ContentResize {
    Both,        // width and height within the bounds
    HeightOnly,  // the width stays as given
    None,        // a fixed size
};

// Sizes window so that its content area, between its bars, is
// width x height, and lets the user change it as resize says.
void ApplyContentSize(QMainWindow& window, int width, int height, ContentResize resize);

}  // namespace quorin::ui
