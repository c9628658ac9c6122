// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/FindInText.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "ui/shell/Dialogs.h"

namespace quorin::ui {

namespace {

constexpr const char* kBoxName = "FindInText";

// The text the user is in, else the first one the window shows.
QPlainTextEdit* TextToSearch(QMainWindow& window) {
    auto* focused = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
    if (focused && window.isAncestorOf(focused)) return focused;
    for (QPlainTextEdit* text : window.findChildren<QPlainTextEdit*>()) {
        if (text->isVisible()) return text;
    }
    return nullptr;
}

// Return finds the next match, Shift+Return the previous one, as F3 and
// Shift+F3 do in the window; Escape puts the box away.
class QueryKeys final : public QObject {
public:
    explicit QueryKeys(FindInText& box) : QObject(&box), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const bool back = key.modifiers().testFlag(Qt::ShiftModifier);
        switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F3:
            box_.find(back ? FindInText::Direction::Previous : FindInText::Direction::Next);
            return true;
        case Qt::Key_Escape:
            box_.close();
            return true;
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    FindInText& box_;
};

}  // namespace

FindInText::FindInText(QMainWindow& window) : QWidget(&window, Qt::Tool) {
    setObjectName(QLatin1String(kBoxName));
    setWindowTitle(QStringLiteral("Find"));

    query_ = new QLineEdit(this);
    query_->setObjectName(QStringLiteral("FldFindText"));
    query_->setPlaceholderText(QStringLiteral("Text to find"));
    query_->installEventFilter(new QueryKeys(*this));
    auto* previous = new QPushButton(QStringLiteral("&Previous"), this);
    previous->setObjectName(QStringLiteral("BtnFindPrevious"));
    previous->setAutoDefault(false);
    auto* next = new QPushButton(QStringLiteral("&Next"), this);
    next->setObjectName(QStringLiteral("BtnFindNext"));
    next->setAutoDefault(false);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("LblFindStatus"));

    auto* row = new QHBoxLayout;
    row->addWidget(query_, 1);
    row->addWidget(previous);
    row->addWidget(next);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(status_);

    connect(next, &QPushButton::clicked, this, [this] { find(Direction::Next); });
    connect(previous, &QPushButton::clicked, this, [this] { find(Direction::Previous); });
    connect(query_, &QLineEdit::textEdited, status_, &QLabel::clear);
    resize(360, sizeHint().height());
}

FindInText* FindInText::Of(QMainWindow& window) {
    return window.findChild<FindInText*>(QLatin1String(kBoxName), Qt::FindDirectChildrenOnly);
}

void FindInText::Show(QMainWindow& window, DialogSeam& dialogs) {
    QPlainTextEdit* text = TextToSearch(window);
    if (!text) {
        dialogs.showInformation(&window, QStringLiteral("This window has no text to search. Use Script Tools > Find "
                                                        "in Map to search the map."));
        return;
    }
    FindInText* box = Of(window);
    if (!box) box = new FindInText(window);
    box->showFor(*text);
}

void FindInText::Again(QMainWindow& window, Direction direction, DialogSeam& dialogs) {
    FindInText* box = Of(window);
    if (!box || !box->target_ || box->query_->text().isEmpty()) {
        Show(window, dialogs);
        return;
    }
    box->find(direction);
}

QPlainTextEdit* FindInText::target() const { return target_.data(); }

void FindInText::showFor(QPlainTextEdit& target) {
    target_ = &target;
    status_->clear();
    show();
    raise();
    activateWindow();
    query_->setFocus();
    query_->selectAll();
}

bool FindInText::find(Direction direction) {
    const QString query = query_->text();
    if (!target_ || query.isEmpty()) return false;
    QTextDocument::FindFlags flags;
    if (direction == Direction::Previous) flags |= QTextDocument::FindBackward;
    QTextDocument* document = target_->document();
    // From the cursor, past the match selected last.
    QTextCursor found = document->find(query, target_->textCursor(), flags);
    bool round = false;
    if (found.isNull()) {
        QTextCursor edge(document);
        edge.movePosition(direction == Direction::Next ? QTextCursor::Start : QTextCursor::End);
        found = document->find(query, edge, flags);
        round = true;
    }
    if (found.isNull()) {
        status_->setText(QStringLiteral("\u201C%1\u201D is not in the text.").arg(query));
        return false;
    }
    target_->setTextCursor(found);
    target_->ensureCursorVisible();
    status_->setText(!round ? QString()
                     : direction == Direction::Next ? QStringLiteral("Went on from the start of the text.")
                                                    : QStringLiteral("Went on from the end of the text."));
    return true;
}

}  // namespace quorin::ui
