// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/ThreadExtractAll.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>

#include "base/LimitedText.h"
#include "ui/extract/Extract.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"

namespace quorin::ui {

ThreadExtractAll* ThreadExtractAll::Start(const MapState& map, std::size_t textLimit) {
    auto* run = new ThreadExtractAll(ExtractionSnapshot(map), textLimit);
    run->window_ = new Extract(QStringLiteral("extract-all.txt"));
    run->windowObject_ = run->window_.data();
    run->window_->installEventFilter(run);
    if (auto* application = QCoreApplication::instance()) {
        run->setParent(application);
        connect(application, &QCoreApplication::aboutToQuit, run, &ThreadExtractAll::stop);
    }
    run->worker_ = std::thread([run] { run->Event_Run(); });
    return run;
}

ThreadExtractAll::ThreadExtractAll(ExtractionSnapshot snapshot, std::size_t textLimit)
    : snapshot_(std::move(snapshot)), textLimit_(textLimit) {}

bool ThreadExtractAll::eventFilter(QObject* watched, QEvent* event) {
    // Compared as a QObject: the window may be part way through its
    // destruction, when it is no longer an Extract.
    if (watched == windowObject_ && event->type() == QEvent::Close) cancelled_ = true;
    return QObject::eventFilter(watched, event);
}

ThreadExtractAll::~ThreadExtractAll() { stop(); }

void ThreadExtractAll::Event_Run() {
    LimitedText text(textLimit_, &cancelled_);
    const ExtractAllResult counts = ExtractAll(snapshot_, text);
    const std::int64_t wholeSize = counts.complete ? static_cast<std::int64_t>(text.text().size())
                                                   : ExtractAllSize(snapshot_);
    auto result = std::make_shared<Outcome>(
        Outcome{ResultText(std::move(text.text()), wholeSize, "extract-all"), counts});
    // Posting under the lock: stop() cannot close the handover (and the
    // object cannot be destroyed) between the check and the post.
    const std::lock_guard lock(handoverMutex_);
    if (!handoverOpen_) return;
    QMetaObject::invokeMethod(
        this, [this, result] { deliver(*result); }, Qt::QueuedConnection);
}

void ThreadExtractAll::deliver(Outcome& result) {
    if (worker_.joinable()) worker_.join();
    if (cancelled_ || !window_) {
        deleteLater();
        return;
    }
    window_->bringToFront();
    // The message comes once the text is in; the window may be closed by
    // then, and the box must not belong to a window on its way out.
    const QPointer<Extract> window = window_;
    window_->showText(std::move(result.text), [window, message = MessageText(result.counts.message()),
                                               whole = result.counts.complete] {
        (whole ? ShowInformation : ShowWarning)(window && window->isVisible() ? window.data() : nullptr, message);
    });
    deleteLater();
}

void ThreadExtractAll::stop() {
    cancelled_ = true;
    {
        const std::lock_guard lock(handoverMutex_);
        handoverOpen_ = false;
    }
    if (worker_.joinable()) worker_.join();
}

}  // namespace quorin::ui
