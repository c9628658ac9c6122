// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/RangeWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStringList>

#include "extract/RangeExtraction.h"
#include "extract/ResultText.h"
#include "base/LimitedText.h"
#include "ui/extract/ResultWindow.h"
#include "ui/shell/CaptionFit.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/MenuTable.h"
#include "ui/shell/WindowChrome.h"

namespace quorin::ui {

namespace {

QLabel* AddLabel(QWidget* page, const char* name, const QRect& place, const QString& text, bool lines = false) {
    auto* label = new QLabel(text, page);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setWordWrap(lines);
    label->setAlignment(lines ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QComboBox* AddList(QWidget* page, const char* name, const QRect& place) {
    auto* list = new QComboBox(page);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(place);
    return list;
}

QPushButton* AddButton(QWidget* page, const char* name, const QRect& place) {
    auto* button = new QPushButton(QStringLiteral("Extract Range"), page);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    return button;
}

// The object names of one page's controls, and the records it picks.
struct RangePageNames {
    const char* records;  // "script"
    const char* intro;
    const char* startCaption;
    const char* start;
    const char* endCaption;
    const char* end;
    const char* extract;
};

struct RangePage {
    QWidget* page;
    QComboBox* start;
    QComboBox* end;
    QPushButton* extract;
};

// The script page and the global page are laid out alike.
RangePage AddPage(QWidget* parent, const RangePageNames& names) {
    auto* page = new QWidget(parent);
    const QLatin1String records(names.records);
    AddLabel(page, names.intro, {13, 8, 267, 29},
             QStringLiteral("Please select a starting %1 and ending %1 for the range of the extraction").arg(records),
             true);
    AddLabel(page, names.startCaption, {13, 49, 78, 20}, QStringLiteral("Starting %1").arg(records));
    QComboBox* start = AddList(page, names.start, {97, 49, 183, 20});
    AddLabel(page, names.endCaption, {13, 81, 78, 20}, QStringLiteral("Ending %1").arg(records));
    QComboBox* end = AddList(page, names.end, {97, 81, 183, 20});
    return {page, start, end, AddButton(page, names.extract, {190, 113, 90, 22})};
}

// The names of cache positions from .. to (inclusive), in order.
template <typename Record>
QStringList Names(const std::vector<Record>& cache, std::int64_t from, std::int64_t to) {
    QStringList names;
    for (std::int64_t i = std::max<std::int64_t>(from, 0); i <= to; ++i) {
        names.append(FromMapText(cache[static_cast<std::size_t>(i)].Name));
    }
    return names;
}

// Replaces the rows of list without reporting a change, leaving none chosen.
void Refill(QComboBox& list, const QStringList& names) {
    const QSignalBlocker quiet(list);
    list.clear();
    list.addItems(names);
    list.setCurrentIndex(-1);
}

template <typename Record>
void FillStart(QComboBox& start, QComboBox& end, const std::vector<Record>& cache) {
    Refill(start, Names(cache, 0, static_cast<std::int64_t>(cache.size()) - 2));
    Refill(end, {});
}

template <typename Record>
void FillEnd(QComboBox& end, const std::vector<Record>& cache, int startRow) {
    Refill(end, Names(cache, std::int64_t{startRow} + 1, static_cast<std::int64_t>(cache.size()) - 1));
}

// Rows to positions. A range that reaches past the cache (which a refill on
// every load prevents) keeps the positions that exist.
std::optional<CachePositions> Positions(const QComboBox& start, const QComboBox& end, std::size_t count) {
    const int s = start.currentIndex();
    const int e = end.currentIndex();
    if (s < 0 || e < 0) return std::nullopt;
    CachePositions range{s, std::int64_t{s} + 1 + e};
    range.last = std::min<std::int64_t>(range.last, static_cast<std::int64_t>(count) - 1);
    if (range.first > range.last) return std::nullopt;
    return range;
}

// A record's name as part of a file name: no folder separator, no control
// character.
QString FileNamePart(std::string_view name) {
    QString part = FromMapText(name);
    for (QChar& c : part) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F) c = u'_';
    }
    return part;
}

// The name Save As offers for a range: "scripts FIRST-LAST.txt".
template <typename Record>
QString RangeFileName(const char* kind, const std::vector<Record>& cache, const CachePositions& range) {
    return QStringLiteral("%1 %2-%3.txt")
        .arg(QLatin1String(kind), FileNamePart(cache[static_cast<std::size_t>(range.first)].Name.view()),
             FileNamePart(cache[static_cast<std::size_t>(range.last)].Name.view()));
}

}  // namespace

RangeWindow::RangeWindow(WindowContext context, MapSource map) : context_(context), map_(std::move(map)) {
    setObjectName(QStringLiteral("WinRange"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Extract Range"));
    setWindowFlags(kDocumentWindowFlags);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("BgkRnd"));

    auto* notice = new QWidget(pages_);
    AddLabel(notice, "StaticText7", {0, 0, 300, 137},
             QStringLiteral("This page is never shown: choose Script Tools > Extract... > Script Range "
                            "or Global Range to pick a range."),
             true);
    AddLabel(notice, "StaticText8", {200, 72, 100, 20}, QStringLiteral("Quorin"));

    const RangePage scripts =
        AddPage(pages_, {"script", "StaticText1", "StaticText2", "ScrStart", "StaticText3", "ScrEnd", "ScrExtract"});
    scriptStart_ = scripts.start;
    scriptEnd_ = scripts.end;
    extractScripts_ = scripts.extract;
    const RangePage globals =
        AddPage(pages_, {"global", "StaticText4", "StaticText5", "GlbStart", "StaticText6", "GlbEnd", "GlbExtract"});
    globalStart_ = globals.start;
    globalEnd_ = globals.end;
    extractGlobals_ = globals.extract;

    for (QWidget* page : {notice, scripts.page, globals.page}) FitCaptions(*page);
    pages_->addWidget(notice);
    pages_->addWidget(scripts.page);
    pages_->addWidget(globals.page);
    pages_->setCurrentIndex(kNoticePage);
    setCentralWidget(pages_);

    connect(scriptStart_, &QComboBox::currentIndexChanged, this, &RangeWindow::ScrStart_Change);
    connect(globalStart_, &QComboBox::currentIndexChanged, this, &RangeWindow::GlbStart_Change);
    connect(scriptEnd_, &QComboBox::currentIndexChanged, this, &RangeWindow::updateButtons);
    connect(globalEnd_, &QComboBox::currentIndexChanged, this, &RangeWindow::updateButtons);
    connect(extractScripts_, &QPushButton::clicked, this, &RangeWindow::ScrExtract_Action);
    connect(extractGlobals_, &QPushButton::clicked, this, &RangeWindow::GlbExtract_Action);

    // The shared bar: its commands go to the main window, none to this one.
    context_.menus.installBar(*this);
    context_.menus.setEnabledOn(*this, MenuCommand::SaveAs, false);
    ApplyContentSize(*this, kContentWidth, kContentHeight, ContentResize::None);
    fillStartLists();
    show();
}

void RangeWindow::showPage(Page page) { pages_->setCurrentIndex(page); }

void RangeWindow::fillStartLists() {
    const MapState& map = map_();
    FillStart(*scriptStart_, *scriptEnd_, map.ScriptHeaderCache);
    FillStart(*globalStart_, *globalEnd_, map.GlobalHeaderCache);
    updateButtons();
}

void RangeWindow::ScrStart_Change() {
    FillEnd(*scriptEnd_, map_().ScriptHeaderCache, scriptStart_->currentIndex());
    updateButtons();
}

void RangeWindow::GlbStart_Change() {
    FillEnd(*globalEnd_, map_().GlobalHeaderCache, globalStart_->currentIndex());
    updateButtons();
}

void RangeWindow::updateButtons() {
    extractScripts_->setEnabled(scriptRange().has_value());
    extractGlobals_->setEnabled(globalRange().has_value());
}

std::optional<CachePositions> RangeWindow::scriptRange() const {
    return Positions(*scriptStart_, *scriptEnd_, map_().ScriptHeaderCache.size());
}

std::optional<CachePositions> RangeWindow::globalRange() const {
    return Positions(*globalStart_, *globalEnd_, map_().GlobalHeaderCache.size());
}

void RangeWindow::ScrExtract_Action() {
    const auto range = scriptRange();
    if (!range) return;
    LimitedText text(kResultTextLimit);
    const bool whole = WriteScriptRange(map_(), range->first, range->last, text);
    const std::int64_t size = whole ? static_cast<std::int64_t>(text.text().size())
                                    : ScriptRangeSize(map_(), range->first, range->last);
    finishExtraction(ResultText(std::move(text.text()), size, "extract-scripts"),
                     RangeFileName("scripts", map_().ScriptHeaderCache, *range));
}

void RangeWindow::GlbExtract_Action() {
    const auto range = globalRange();
    if (!range) return;
    LimitedText text(kResultTextLimit);
    const bool whole = WriteGlobalRange(map_(), range->first, range->last, text);
    const std::int64_t size = whole ? static_cast<std::int64_t>(text.text().size())
                                    : GlobalRangeSize(map_(), range->first, range->last);
    finishExtraction(ResultText(std::move(text.text()), size, "extract-globals"),
                     RangeFileName("globals", map_().GlobalHeaderCache, *range));
}

void RangeWindow::finishExtraction(std::string text, const QString& suggestedName) {
    auto* result = new ResultWindow(context_, suggestedName);
    result->bringToFront();
    // "done" once the text is in; this window closes after it, as before.
    result->showText(std::move(text), [result, &dialogs = context_.dialogs, self = QPointer<RangeWindow>(this)] {
        dialogs.showInformation(result, MessageText(kRangeDoneMessage));
        if (self) self->close();
    });
}

}  // namespace quorin::ui
