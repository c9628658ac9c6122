// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The range window: the user picks the first and the last script (page 1) or
// global (page 2) and extracts that range into a new result window. The
// lists hold names only; a chosen start row s and end row e stand for the
// cache positions s .. s + 1 + e.

#include <QMainWindow>
#include <cstdint>
#include <optional>

#include "ui/shell/MapSource.h"
#include "ui/shell/WindowContext.h"

class QComboBox;
class QPushButton;
class QStackedWidget;

namespace quorin::ui {

// Inclusive cache positions.
struct CachePositions {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

class RangeWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kContentWidth = 300;
    static constexpr int kContentHeight = 143;
    enum Page { kNoticePage = 0, kScriptPage = 1, kGlobalPage = 2 };

    // Builds the window, fills the start lists and puts it on screen.
    RangeWindow(WindowContext context, MapSource map);

    void showPage(Page page);

    // Fills the start lists from the map's caches (every record but the
    // last) and empties the end lists. Run at creation and after each load,
    // so the names offered always belong to the map that is extracted.
    void fillStartLists();

    void ScrStart_Change();
    void GlbStart_Change();
    void ScrExtract_Action();
    void GlbExtract_Action();

    // The chosen range, or nothing while a start or an end row is missing.
    [[nodiscard]] std::optional<CachePositions> scriptRange() const;
    [[nodiscard]] std::optional<CachePositions> globalRange() const;

private:
    // Opens a result window with text, says "done", then closes this window.
    void finishExtraction(std::string text, const QString& suggestedName);
    // "Extract Range" is enabled only while a start and an end are chosen.
    void updateButtons();

    WindowContext context_;
    MapSource map_;
    // The notice, script and global pages (BgkRnd), one shown at a time.
    QStackedWidget* pages_ = nullptr;
    // ScrStart, ScrEnd, GlbStart, GlbEnd, and the buttons ScrExtract and GlbExtract.
    QComboBox* scriptStart_ = nullptr;
    QComboBox* scriptEnd_ = nullptr;
    QComboBox* globalStart_ = nullptr;
    QComboBox* globalEnd_ = nullptr;
    QPushButton* extractScripts_ = nullptr;
    QPushButton* extractGlobals_ = nullptr;
};

}  // namespace quorin::ui
