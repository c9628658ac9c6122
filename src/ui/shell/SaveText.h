// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > Save As… of a window that shows a text: the text as shown goes to
// a file the user picks in the save dialog (through the dialog seam).

#include <QString>

class QWidget;

namespace quorin::ui {

class DialogSeam;

// Asks for a file through dialogs, offering suggestedName, and writes text
// into it whole (a file already there is replaced only once every byte is
// written).
// Text whose every character has a Latin-1 byte is written as those bytes,
// exactly what quorin-cli prints for the same run; any other text as UTF-8.
// A failure is shown in a box. True when the file was written; false when
// the dialog was cancelled or the write failed.
bool SaveTextAs(DialogSeam& dialogs, QWidget* parent, const QString& text, const QString& suggestedName);

}  // namespace quorin::ui
