// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One-line captions were laid out for a narrower system font: captions that
// do not fit their labels' width get a slightly smaller font rather than a
// cut. The captions of one page share that font, so neighbours never differ.

class QWidget;

namespace quorin::ui {

// Gives every one-line label directly on page one font: the largest, in
// half points from the labels' own size down to 6.5 points, at which every
// caption fits its label's width. Labels keep their places and sizes. Set
// the texts and the geometry first.
void FitCaptions(QWidget& page);

}  // namespace quorin::ui
