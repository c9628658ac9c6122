// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One Extract > All run. The caches are copied on the user-interface thread
// when the run starts (the copy shares the map's texts), the text is built
// from that copy on a thread of its own, and the result window, its one
// append and the closing message are handled back on the user-interface
// thread. Several runs may overlap. The text stops at kResultTextLimit, and
// closing the result window stops the run: it then ends without a message.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "extract/ExtractAll.h"
#include "extract/ResultText.h"
#include "map/MapState.h"

namespace quorin::ui {

class Extract;

class ThreadExtractAll final : public QObject {
    Q_OBJECT

public:
    // Opens an empty result window, copies the caches and starts the worker;
    // returns at once. The run belongs to the application object and deletes
    // itself once its message has been dismissed.
    static ThreadExtractAll* Start(const MapState& map, std::size_t textLimit = kResultTextLimit);

    // Stops the worker if it still runs and waits for it.
    ~ThreadExtractAll() override;

private:
    ThreadExtractAll(ExtractionSnapshot snapshot, std::size_t textLimit);

    // Sees the result window close, so the run stops at once.
    bool eventFilter(QObject* watched, QEvent* event) override;

    struct Outcome {
        std::string text;
        ExtractAllResult counts;
    };

    // On the worker thread: builds the text, then hands it to deliver.
    void Event_Run();
    // On the user-interface thread: the text goes into the window a slice
    // at a time, then the closing message is shown.
    void deliver(Outcome& outcome);
    // No result is handed over after this; the worker is joined. Run when
    // the application quits, so nothing reaches a closing application.
    void stop();

    ExtractionSnapshot snapshot_;  // read by the worker only
    std::size_t textLimit_;
    QPointer<Extract> window_;     // the user may close it before the end
    const QObject* windowObject_ = nullptr;  // only compared, never followed
    std::atomic<bool> cancelled_{false};  // set when the window goes
    std::mutex handoverMutex_;
    bool handoverOpen_ = true;
    std::thread worker_;
};

}  // namespace quorin::ui
