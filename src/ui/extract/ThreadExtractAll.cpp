#include "ui/extract/ThreadExtractAll.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "ui/extract/Extract.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"

namespace quorin::ui {

ThreadExtractAll* ThreadExtractAll::Start(const MapState& map) {
    auto* run = new ThreadExtractAll(ExtractionSnapshot(map));
    run->window_ = new Extract();
    if (auto* application = QCoreApplication::instance()) {
        run->setParent(application);
        connect(application, &QCoreApplication::aboutToQuit, run, &ThreadExtractAll::stop);
    }
    run->worker_ = std::thread([run] { run->Event_Run(); });
    return run;
}

ThreadExtractAll::ThreadExtractAll(ExtractionSnapshot snapshot) : snapshot_(std::move(snapshot)) {}

ThreadExtractAll::~ThreadExtractAll() { stop(); }

void ThreadExtractAll::Event_Run() {
    auto result = std::make_shared<const ExtractAllResult>(ExtractAll(snapshot_));
    // Posting under the lock: stop() cannot close the handover (and the
    // object cannot be destroyed) between the check and the post.
    const std::lock_guard lock(handoverMutex_);
    if (!handoverOpen_) return;
    QMetaObject::invokeMethod(
        this, [this, result] { deliver(*result); }, Qt::QueuedConnection);
}

void ThreadExtractAll::deliver(const ExtractAllResult& result) {
    if (worker_.joinable()) worker_.join();
    if (window_) {
        window_->appendText(result.text);
        window_->bringToFront();
    }
    // A window the user closed during the run may still exist until its
    // deletion; the box must not belong to it.
    QWidget* parent = window_ && window_->isVisible() ? window_.data() : nullptr;
    ShowMessage(parent, MessageText(result.message()));
    deleteLater();
}

void ThreadExtractAll::stop() {
    {
        const std::lock_guard lock(handoverMutex_);
        handoverOpen_ = false;
    }
    if (worker_.joinable()) worker_.join();
}

}  // namespace quorin::ui
