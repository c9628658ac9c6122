#pragma once
// One Extract > All run. The caches are copied on the user-interface thread
// when the run starts, the text is built from that copy on a thread of its
// own, and the result window, its one append and the closing message are
// handled back on the user-interface thread. Several runs may overlap.

#include <QObject>
#include <QPointer>
#include <memory>
#include <mutex>
#include <thread>

#include "extract/ExtractAll.h"
#include "map/MapState.h"

namespace quorin::ui {

class Extract;

class ThreadExtractAll final : public QObject {
    Q_OBJECT

public:
    // Opens an empty result window, copies the caches and starts the worker;
    // returns at once. The run belongs to the application object and deletes
    // itself once its message has been dismissed.
    static ThreadExtractAll* Start(const MapState& map);

    // Waits for the worker (which cannot be interrupted) if it still runs.
    ~ThreadExtractAll() override;

private:
    explicit ThreadExtractAll(ExtractionSnapshot snapshot);

    // On the worker thread: builds the text, then hands it to deliver.
    void Event_Run();
    // On the user-interface thread.
    void deliver(const ExtractAllResult& result);
    // No result is handed over after this; the worker is joined. Run when
    // the application quits, so nothing reaches a closing application.
    void stop();

    ExtractionSnapshot snapshot_;  // read by the worker only
    QPointer<Extract> window_;     // the user may close it before the end
    std::mutex handoverMutex_;
    bool handoverOpen_ = true;
    std::thread worker_;
};

}  // namespace quorin::ui
