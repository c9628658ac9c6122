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

    auto* scripts = new QWidget(pages_);
    AddLabel(scripts, "StaticText1", {13, 8, 267, 29},
             QStringLiteral("Please select a starting script and ending script for the range of the extraction"),
             true);
    AddLabel(scripts, "StaticText2", {13, 49, 78, 20}, QStringLiteral("Starting script"));
    scriptStart_ = AddList(scripts, "ScrStart", {97, 49, 183, 20});
    AddLabel(scripts, "StaticText3", {13, 81, 78, 20}, QStringLiteral("Ending script"));
    scriptEnd_ = AddList(scripts, "ScrEnd", {97, 81, 183, 20});
    extractScripts_ = AddButton(scripts, "ScrExtract", {190, 113, 90, 22});

    auto* globals = new QWidget(pages_);
    AddLabel(globals, "StaticText4", {13, 8, 267, 29},
             QStringLiteral("Please select a starting global and ending global for the range of the extraction"),
             true);
    AddLabel(globals, "StaticText5", {13, 49, 78, 20}, QStringLiteral("Starting global"));
    globalStart_ = AddList(globals, "GlbStart", {97, 49, 183, 20});
    AddLabel(globals, "StaticText6", {13, 81, 78, 20}, QStringLiteral("Ending global"));
    globalEnd_ = AddList(globals, "GlbEnd", {97, 81, 183, 20});
    extractGlobals_ = AddButton(globals, "GlbExtract", {190, 113, 90, 22});

    for (QWidget* page : {notice, scripts, globals}) FitCaptions(*page);
    pages_->addWidget(notice);
    pages_->addWidget(scripts);
    pages_->addWidget(globals);
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
