// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A run that makes the text of one result window on a thread of its own:
// the work gets copies of what it reads (so loads and edits cannot disturb
// it), and the window, the handover of the text and the closing message are
// handled back on the user-interface thread. Several runs may overlap.
// Closing the result window stops the run: it then ends without a message.
// A run belongs to the application object and deletes itself once its text
// is handed over (or dropped).

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quorin::ui {

class DialogSeam;
class ResultWindow;

class ResultRun : public QObject {
    Q_OBJECT

public:
    // What the work made: the window's text and the message shown once the
    // text is in.
    struct Outcome {
        std::string text;
        std::string message;
        // False when the work stopped short of the whole text (the window's
        // limit): the message is then a warning.
        bool whole = true;
    };
    // Runs on the worker thread; cancelled turns true when the window
    // closes or the application quits, and the work should then end soon.
    using Work = std::function<Outcome(const std::atomic<bool>& cancelled)>;

    // Stops the worker if it still runs and waits for it.
    ~ResultRun() override;

protected:
    // window: the empty result window the text goes into, already made; the
    // message goes through the dialog seam it was made with.
    explicit ResultRun(ResultWindow& window);
    // Starts work on a thread of its own and returns at once; once only.
    void begin(Work work);

private:
    // Sees the result window close, so the run stops at once.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // On the user-interface thread: the text goes into the window a slice
    // at a time, then the message is shown.
    void deliver(Outcome& outcome);
    // No result is handed over after this; the worker is joined. Run when
    // the application quits, so nothing reaches a closing application.
    void stop();

    Work work_;                              // run by the worker only
    QPointer<ResultWindow> window_;               // the user may close it before the end
    const QObject* windowObject_ = nullptr;  // only compared, never followed
    DialogSeam& dialogs_;
    std::atomic<bool> cancelled_{false};     // set when the window goes
    std::mutex handoverMutex_;
    bool handoverOpen_ = true;
    std::thread worker_;
};

}  // namespace quorin::ui
