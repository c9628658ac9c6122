#pragma once
// What the range and result windows share: document window buttons and a
// content area of a given size below the shared menu bar.

#include <Qt>

class QMainWindow;

namespace quorin::ui {

// Close and minimise buttons, no maximise button.
inline constexpr Qt::WindowFlags kDocumentWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Sizes the window so that its content area, below any menu bar, is
// width x height, and bounds the content area to 64 x 64 .. 32000 x 32000.
void ApplyContentSize(QMainWindow& window, int width, int height);
// The same for a window whose size the user cannot change.
void FixContentSize(QMainWindow& window, int width, int height);

}  // namespace quorin::ui
