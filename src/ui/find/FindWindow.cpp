// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find/FindWindow.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/find/FindHitModel.h"
#include "ui/shell/MapText.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/MenuTable.h"
#include "ui/shell/WindowChrome.h"

namespace quorin::ui {

namespace {

// Work handed to the search between two looks at the clock: a few
// microseconds, so a slice ends close to its time.
constexpr std::size_t kWorkBetweenClockReads = 8192;

QString CountText(const SearchResult& result) {
    const auto count = static_cast<qulonglong>(result.hits.size());
    QString text = count == 0 ? QStringLiteral("No hits") : count == 1 ? QStringLiteral("1 hit")
                                                                       : QStringLiteral("%1 hits").arg(count);
    if (!result.complete()) {
        text += QStringLiteral(" (stopped there: %1)").arg(QString::fromStdString(StopReason(result)));
    }
    return text;
}

}  // namespace

FindWindow::FindWindow(WindowContext context, MapSource map) : map_(std::move(map)) {
    setObjectName(QStringLiteral("WinFind"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Find in Map"));
    setWindowFlags(kDocumentWindowFlags);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    query_ = new QLineEdit(content);
    query_->setObjectName(QStringLiteral("FldFindQuery"));
    query_->setPlaceholderText(QStringLiteral("A script, global or command name, or part of one"));
    layout->addWidget(query_);

    model_ = new FindHitModel(this);
    hitList_ = new QTreeView(content);
    hitList_->setObjectName(QStringLiteral("LstFindHits"));
    hitList_->setModel(model_);
    hitList_->setRootIsDecorated(false);
    hitList_->setItemsExpandable(false);
    // Rows of one height let the view place any row without measuring the
    // others, which keeps long lists cheap.
    hitList_->setUniformRowHeights(true);
    hitList_->setSelectionMode(QAbstractItemView::SingleSelection);
    hitList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    hitList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    hitList_->header()->setStretchLastSection(true);
    hitList_->setColumnWidth(FindHitModel::kKind, 60);
    hitList_->setColumnWidth(FindHitModel::kName, 200);
    hitList_->setColumnWidth(FindHitModel::kIdentity, 70);
    layout->addWidget(hitList_, 1);

    hitCount_ = new QLabel(content);
    hitCount_->setObjectName(QStringLiteral("LblFindCount"));
    layout->addWidget(hitCount_);
    setCentralWidget(content);

    typingPause_.setSingleShot(true);
    typingPause_.setInterval(kTypingPauseMs);
    slices_.setInterval(0);
    connect(query_, &QLineEdit::textEdited, this, &FindWindow::queryEdited);
    connect(&typingPause_, &QTimer::timeout, this, &FindWindow::startSearch);
    connect(&slices_, &QTimer::timeout, this, &FindWindow::searchSlice);
    connect(hitList_, &QTreeView::activated, this, &FindWindow::activateRow);

    // The shared bar: its commands go to the main window, none to this one.
    context.menus.installBar(*this);
    context.menus.setEnabledOn(*this, MenuCommand::SaveAs, false);
    ApplyContentSize(*this, kContentWidth, kContentHeight, ContentResize::Both);
    show();
    query_->setFocus();
}

FindWindow::~FindWindow() = default;

const std::vector<SearchHit>& FindWindow::hits() const { return model_->hits(); }

bool FindWindow::searching() const { return typingPause_.isActive() || search_ != nullptr; }

std::string FindWindow::currentQuery() const { return ToMapText(query_->text()); }

void FindWindow::queryEdited() {
    // The search under way is for a query that is gone; the list keeps the
    // last hits until the new ones are there.
    dropSearch();
    typingPause_.start();
}

void FindWindow::mapLoaded() {
    dropSearch();
    typingPause_.stop();
    model_->setHits({});
    hitCount_->clear();
    startSearch();
}

void FindWindow::startSearch() {
    dropSearch();
    const std::string query = currentQuery();
    if (query.empty()) {
        model_->setHits({});
        hitCount_->clear();
        return;
    }
    const MapState& map = map_();
    search_ = std::make_unique<MapSearch>(map, query);
    searchQuery_ = query;
    searchGeneration_ = map.generation();
    hitCount_->setText(QStringLiteral("Searching…"));
    slices_.start();
}

void FindWindow::searchSlice() {
    if (!search_) return;
    // The search reads the map it began on; after a load or an edit of the
    // query its hits would be wrong, so it ends unseen.
    if (map_().generation() != searchGeneration_ || currentQuery() != searchQuery_) {
        dropSearch();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    while (!search_->advance(kWorkBetweenClockReads)) {
        if (clock.elapsed() >= kSliceMs) return;
    }
    SearchResult result = search_->takeResult();
    dropSearch();
    showResult(std::move(result));
}

void FindWindow::dropSearch() {
    slices_.stop();
    search_.reset();
}

void FindWindow::showResult(SearchResult result) {
    hitCount_->setText(CountText(result));
    model_->setHits(std::move(result.hits));
    if (!model_->hits().empty()) hitList_->scrollToTop();
}

void FindWindow::activateRow(const QModelIndex& index) {
    if (const SearchHit* hit = model_->hitAt(index.row())) emit hitActivated(*hit);
}

}  // namespace quorin::ui
