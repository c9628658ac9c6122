// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Edit > Find…, Find Next and Find Previous: finding a text in one text
// field of a window (a result window's text, the main window's script
// text), not in the map. Each window gets its own small find box, which
// stays with the field it was opened for until Find is chosen again.

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;

namespace quorin::ui {

class DialogSeam;

class FindInText final : public QWidget {
    Q_OBJECT

public:
    enum class Direction { Next, Previous };

    // Edit > Find… in window: the box over the text that has the focus there
    // (else the window's first visible text), shown with its query selected.
    // A window with no text to search says so in a message box (through
    // dialogs).
    static void Show(QMainWindow& window, DialogSeam& dialogs);
    // Find Next and Find Previous in window: the last query again; with no
    // query yet, the same as Find….
    static void Again(QMainWindow& window, Direction direction, DialogSeam& dialogs);

    // Selects the next (or previous) match of the query after (or before)
    // the target's cursor, going round the text's end once; says in the box
    // when there is none. False when nothing was found.
    bool find(Direction direction);

    QPlainTextEdit* target() const;

private:
    explicit FindInText(QMainWindow& window);
    static FindInText* Of(QMainWindow& window);
    void showFor(QPlainTextEdit& target);

    QPointer<QPlainTextEdit> target_;
    QLineEdit* query_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace quorin::ui
