// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One-line captions were laid out for a narrower system font: a caption
// that does not fit its label's width gets a slightly smaller font rather
// than a cut.

class QLabel;

namespace quorin::ui {

// Shrinks label's font by half points, down to 6.5 points, until its text
// fits the label's width. Set the text and the width first.
void FitCaption(QLabel& label);

}  // namespace quorin::ui
