// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find/WinFind.h"

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

WinFind::WinFind(MapSource map) : map_(std::move(map)) {
    setObjectName(QStringLiteral("WinFind"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Find in Map"));
    setWindowFlags(kDocumentWindowFlags);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    FldFindQuery_ = new QLineEdit(content);
    FldFindQuery_->setObjectName(QStringLiteral("FldFindQuery"));
    FldFindQuery_->setPlaceholderText(QStringLiteral("A script, global or command name, or part of one"));
    layout->addWidget(FldFindQuery_);

    model_ = new FindHitModel(this);
    LstFindHits_ = new QTreeView(content);
    LstFindHits_->setObjectName(QStringLiteral("LstFindHits"));
    LstFindHits_->setModel(model_);
    LstFindHits_->setRootIsDecorated(false);
    LstFindHits_->setItemsExpandable(false);
    // Rows of one height let the view place any row without measuring the
    // others, which keeps long lists cheap.
    LstFindHits_->setUniformRowHeights(true);
    LstFindHits_->setSelectionMode(QAbstractItemView::SingleSelection);
    LstFindHits_->setSelectionBehavior(QAbstractItemView::SelectRows);
    LstFindHits_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LstFindHits_->header()->setStretchLastSection(true);
    LstFindHits_->setColumnWidth(FindHitModel::kKind, 60);
    LstFindHits_->setColumnWidth(FindHitModel::kName, 200);
    LstFindHits_->setColumnWidth(FindHitModel::kIdentity, 70);
    layout->addWidget(LstFindHits_, 1);

    LblFindCount_ = new QLabel(content);
    LblFindCount_->setObjectName(QStringLiteral("LblFindCount"));
    layout->addWidget(LblFindCount_);
    setCentralWidget(content);

    typingPause_.setSingleShot(true);
    typingPause_.setInterval(kTypingPauseMs);
    slices_.setInterval(0);
    connect(FldFindQuery_, &QLineEdit::textEdited, this, &WinFind::queryEdited);
    connect(&typingPause_, &QTimer::timeout, this, &WinFind::startSearch);
    connect(&slices_, &QTimer::timeout, this, &WinFind::searchSlice);
    connect(LstFindHits_, &QTreeView::activated, this, &WinFind::activateRow);

    // The shared bar: its commands go to the main window, none to this one.
    InstallMenuBar(*this);
    SetMenuItemEnabledOn(*this, kSaveAsItem, false);
    ApplyContentSize(*this, kContentWidth, kContentHeight, ContentResize::Both);
    show();
    FldFindQuery_->setFocus();
}

WinFind::~WinFind() = default;

const std::vector<SearchHit>& WinFind::hits() const { return model_->hits(); }

bool WinFind::searching() const { return typingPause_.isActive() || search_ != nullptr; }

std::string WinFind::currentQuery() const { return ToMapText(FldFindQuery_->text()); }

void WinFind::queryEdited() {
    // The search under way is for a query that is gone; the list keeps the
    // last hits until the new ones are there.
    dropSearch();
    typingPause_.start();
}

void WinFind::mapLoaded() {
    dropSearch();
    typingPause_.stop();
    model_->setHits({});
    LblFindCount_->clear();
    startSearch();
}

void WinFind::startSearch() {
    dropSearch();
    const std::string query = currentQuery();
    if (query.empty()) {
        model_->setHits({});
        LblFindCount_->clear();
        return;
    }
    const MapState& map = map_();
    search_ = std::make_unique<MapSearch>(map, query);
    searchQuery_ = query;
    searchGeneration_ = map.generation();
    LblFindCount_->setText(QStringLiteral("Searching…"));
    slices_.start();
}

void WinFind::searchSlice() {
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

void WinFind::dropSearch() {
    slices_.stop();
    search_.reset();
}

void WinFind::showResult(SearchResult result) {
    LblFindCount_->setText(CountText(result));
    model_->setHits(std::move(result.hits));
    if (!model_->hits().empty()) LstFindHits_->scrollToTop();
}

void WinFind::activateRow(const QModelIndex& index) {
    if (const SearchHit* hit = model_->hitAt(index.row())) emit hitActivated(*hit);
}

}  // namespace quorin::ui
