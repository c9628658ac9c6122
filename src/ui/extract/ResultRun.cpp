// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/ResultRun.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <memory>

#include "ui/extract/ResultWindow.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"

namespace quorin::ui {

ResultRun::ResultRun(ResultWindow& window)
    : window_(&window), windowObject_(&window), dialogs_(window.context().dialogs) {
    window.installEventFilter(this);
    if (auto* application = QCoreApplication::instance()) {
        setParent(application);
        connect(application, &QCoreApplication::aboutToQuit, this, &ResultRun::stop);
    }
}

void ResultRun::begin(Work work) {
    work_ = std::move(work);
    worker_ = std::thread([this] {
        auto outcome = std::make_shared<Outcome>(work_(cancelled_));
        // Posting under the lock: stop() cannot close the handover (and the
        // object cannot be destroyed) between the check and the post.
        const std::lock_guard lock(handoverMutex_);
        if (!handoverOpen_) return;
        QMetaObject::invokeMethod(
            this, [this, outcome] { deliver(*outcome); }, Qt::QueuedConnection);
    });
}

bool ResultRun::eventFilter(QObject* watched, QEvent* event) {
    // Compared as a QObject: the window may be part way through its
    // destruction, when it is no longer a ResultWindow.
    if (watched == windowObject_ && event->type() == QEvent::Close) cancelled_ = true;
    return QObject::eventFilter(watched, event);
}

ResultRun::~ResultRun() { stop(); }

void ResultRun::deliver(Outcome& outcome) {
    if (worker_.joinable()) worker_.join();
    if (cancelled_ || !window_) {
        deleteLater();
        return;
    }
    window_->bringToFront();
    // The message comes once the text is in; the window may be closed by
    // then, and the box must not belong to a window on its way out.
    const QPointer<ResultWindow> window = window_;
    window_->showText(std::move(outcome.text), [window, &dialogs = dialogs_, message = MessageText(outcome.message),
                                                 whole = outcome.whole] {
        dialogs.showMessage(window && window->isVisible() ? window.data() : nullptr, message,
                            whole ? MessageKind::Information : MessageKind::Warning);
    });
    deleteLater();
}

void ResultRun::stop() {
    cancelled_ = true;
    {
        const std::lock_guard lock(handoverMutex_);
        handoverOpen_ = false;
    }
    if (worker_.joinable()) worker_.join();
}

}  // namespace quorin::ui
