// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Find window: a query field and the hits of that query in the loaded
// map. The list follows the field after a short pause; the search runs in
// slices between events, so typing never waits for it, and a search whose
// query or map changed meanwhile is dropped. Activating a hit only reports
// it: start-up hands it to the main window.

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

#include "search/MapSearch.h"
#include "ui/shell/MapSource.h"
#include "ui/shell/WindowContext.h"

class QLabel;
class QLineEdit;
class QModelIndex;
class QTreeView;

namespace quorin::ui {

class FindHitModel;

class FindWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kContentWidth = 560;
    static constexpr int kContentHeight = 360;
    // The pause after the last key before the list follows the field.
    static constexpr int kTypingPauseMs = 150;
    // The longest one slice of a search keeps the window from events.
    static constexpr int kSliceMs = 2;

    // Builds the window (its bar from context's router) and puts it on
    // screen, with the query field focused.
    FindWindow(WindowContext context, MapSource map);
    ~FindWindow() override;

    // A new map was loaded: the hits of the old one go at once, and the
    // query is looked for in the new one.
    void mapLoaded();

    // The hits on show, and whether a search for the field's text is pending.
    [[nodiscard]] const std::vector<SearchHit>& hits() const;
    [[nodiscard]] bool searching() const;

signals:
    void hitActivated(const quorin::SearchHit& hit);

private:
    void queryEdited();
    void startSearch();
    void searchSlice();
    void dropSearch();
    void showResult(SearchResult result);
    void activateRow(const QModelIndex& index);
    [[nodiscard]] std::string currentQuery() const;

    MapSource map_;
    // FldFindQuery, LstFindHits and LblFindCount.
    QLineEdit* query_ = nullptr;
    QTreeView* hitList_ = nullptr;
    QLabel* hitCount_ = nullptr;
    FindHitModel* model_ = nullptr;
    QTimer typingPause_;
    QTimer slices_;
    // The search under way, with the query and the load it belongs to.
    std::unique_ptr<MapSearch> search_;
    std::string searchQuery_;
    std::uint64_t searchGeneration_ = 0;
};

}  // namespace quorin::ui
