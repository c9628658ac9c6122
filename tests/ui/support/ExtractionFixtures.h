// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the extraction window tests: a dialog seam that records every
// message (and lets a test look at the windows while the box is up), with a
// menu router of its own what start-up would give a window, maps loaded from
// temporary files, and the open result windows.

#include <QList>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/shell/Dialogs.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/WindowContext.h"
#include "ui/extract/ExtractionCommands.h"
#include "builder/MapBuilder.h"
#include "map/MapState.h"

namespace quorin::ui {
class ResultWindow;
}

namespace quorin::uitest {

// Answers every box at once.
class RecordingDialogs final : public ui::DialogSeam {
public:
    RecordingDialogs() = default;
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    void showMessage(QWidget* parent, const QString& text, ui::MessageKind kind) override;
    QString askMapFile(QWidget*, const QString&) override { return {}; }
    QString askSaveFile(QWidget*, const QString&) override { return {}; }

    QStringList messages;
    QList<ui::MessageKind> kinds;  // one per message
    QList<QPointer<QWidget>> parents;  // guarded: a parent may be deleted later
    // Runs while a box is up, before it is answered.
    std::function<void(const QString&)> whileShown;

    // Forgets every box so far and whileShown; returns this seam.
    RecordingDialogs& fresh();
};

// The menu router and the recording seam a test's windows are made with.
struct TestShell {
    ui::MenuRouter menus;
    RecordingDialogs dialogs;
    ui::WindowContext context() { return {menus, dialogs}; }
};

// A map written to a temporary file and loaded through the load chain.
class TestMap {
public:
    // Loads builder's map in place of the current one; false when refused.
    [[nodiscard]] bool load(const quorin::MapBuilder& builder);
    const quorin::MapState& state() const { return state_; }
    quorin::MapState& state() { return state_; }

private:
    QTemporaryDir dir_;
    quorin::MapState state_;
    int loads_ = 0;
};

// The extraction commands over a TestMap.
class ExtractionHarness {
public:
    // Loads builder's map and makes fresh commands over it; the shell's
    // seam starts with no box.
    [[nodiscard]] bool start(const quorin::MapBuilder& builder);
    // Drops the commands and closes every result window.
    void stop();

    TestShell shell;
    TestMap map;
    std::unique_ptr<ui::ExtractionCommands> commands;
};

// The demo map with every script and global name prefixed and only the
// first scripts and globals kept (all when a count is negative).
quorin::MapBuilder RenamedDemo(const std::string& prefix, int scripts = -1, int globals = -1);

// Result windows that are open now.
QList<ui::ResultWindow*> ResultWindows();
// Result windows in now that were not in before.
QList<ui::ResultWindow*> NewResultWindows(const QList<ui::ResultWindow*>& before);
void CloseResultWindows();

QString FieldText(ui::ResultWindow& window);
QString Latin1(const std::string& text);

}  // namespace quorin::uitest
