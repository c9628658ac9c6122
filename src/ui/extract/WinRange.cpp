// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/WinRange.h"

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
#include "ui/extract/Extract.h"
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

WinRange::WinRange(MapSource map) : map_(std::move(map)) {
    setObjectName(QStringLiteral("WinRange"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Extract Range"));
    setWindowFlags(kDocumentWindowFlags);

    BgkRnd_ = new QStackedWidget(this);
    BgkRnd_->setObjectName(QStringLiteral("BgkRnd"));

    auto* notice = new QWidget(BgkRnd_);
    AddLabel(notice, "StaticText7", {0, 0, 300, 137},
             QStringLiteral("This page is never shown: choose Script Tools > Extract... > Script Range "
                            "or Global Range to pick a range."),
             true);
    AddLabel(notice, "StaticText8", {200, 72, 100, 20}, QStringLiteral("Quorin"));

    auto* scripts = new QWidget(BgkRnd_);
    AddLabel(scripts, "StaticText1", {13, 8, 267, 29},
             QStringLiteral("Please select a starting script and ending script for the range of the extraction"),
             true);
    AddLabel(scripts, "StaticText2", {13, 49, 78, 20}, QStringLiteral("Starting script"));
    ScrStart_ = AddList(scripts, "ScrStart", {97, 49, 183, 20});
    AddLabel(scripts, "StaticText3", {13, 81, 78, 20}, QStringLiteral("Ending script"));
    ScrEnd_ = AddList(scripts, "ScrEnd", {97, 81, 183, 20});
    ScrExtract_ = AddButton(scripts, "ScrExtract", {190, 113, 90, 22});

    auto* globals = new QWidget(BgkRnd_);
    AddLabel(globals, "StaticText4", {13, 8, 267, 29},
             QStringLiteral("Please select a starting global and ending global for the range of the extraction"),
             true);
    AddLabel(globals, "StaticText5", {13, 49, 78, 20}, QStringLiteral("Starting global"));
    GlbStart_ = AddList(globals, "GlbStart", {97, 49, 183, 20});
    AddLabel(globals, "StaticText6", {13, 81, 78, 20}, QStringLiteral("Ending global"));
    GlbEnd_ = AddList(globals, "GlbEnd", {97, 81, 183, 20});
    GlbExtract_ = AddButton(globals, "GlbExtract", {190, 113, 90, 22});

    for (QWidget* page : {notice, scripts, globals}) FitCaptions(*page);
    BgkRnd_->addWidget(notice);
    BgkRnd_->addWidget(scripts);
    BgkRnd_->addWidget(globals);
    BgkRnd_->setCurrentIndex(kNoticePage);
    setCentralWidget(BgkRnd_);

    connect(ScrStart_, &QComboBox::currentIndexChanged, this, &WinRange::ScrStart_Change);
    connect(GlbStart_, &QComboBox::currentIndexChanged, this, &WinRange::GlbStart_Change);
    connect(ScrEnd_, &QComboBox::currentIndexChanged, this, &WinRange::updateButtons);
    connect(GlbEnd_, &QComboBox::currentIndexChanged, this, &WinRange::updateButtons);
    connect(ScrExtract_, &QPushButton::clicked, this, &WinRange::ScrExtract_Action);
    connect(GlbExtract_, &QPushButton::clicked, this, &WinRange::GlbExtract_Action);

    // The shared bar: its commands go to the main window, none to this one.
    InstallMenuBar(*this);
    SetMenuItemEnabledOn(*this, kSaveAsItem, false);
    ApplyContentSize(*this, kContentWidth, kContentHeight, ContentResize::None);
    Event_Open();
    show();
}

void WinRange::showPage(Page page) { BgkRnd_->setCurrentIndex(page); }

void WinRange::Event_Open() {
    const MapState& map = map_();
    FillStart(*ScrStart_, *ScrEnd_, map.ScriptHeaderCache);
    FillStart(*GlbStart_, *GlbEnd_, map.GlobalHeaderCache);
    updateButtons();
}

void WinRange::ScrStart_Change() {
    FillEnd(*ScrEnd_, map_().ScriptHeaderCache, ScrStart_->currentIndex());
    updateButtons();
}

void WinRange::GlbStart_Change() {
    FillEnd(*GlbEnd_, map_().GlobalHeaderCache, GlbStart_->currentIndex());
    updateButtons();
}

void WinRange::updateButtons() {
    ScrExtract_->setEnabled(scriptRange().has_value());
    GlbExtract_->setEnabled(globalRange().has_value());
}

std::optional<CachePositions> WinRange::scriptRange() const {
    return Positions(*ScrStart_, *ScrEnd_, map_().ScriptHeaderCache.size());
}

std::optional<CachePositions> WinRange::globalRange() const {
    return Positions(*GlbStart_, *GlbEnd_, map_().GlobalHeaderCache.size());
}

void WinRange::ScrExtract_Action() {
    const auto range = scriptRange();
    if (!range) return;
    LimitedText text(kResultTextLimit);
    const bool whole = WriteScriptRange(map_(), range->first, range->last, text);
    const std::int64_t size = whole ? static_cast<std::int64_t>(text.text().size())
                                    : ScriptRangeSize(map_(), range->first, range->last);
    finishExtraction(ResultText(std::move(text.text()), size, "extract-scripts"),
                     RangeFileName("scripts", map_().ScriptHeaderCache, *range));
}

void WinRange::GlbExtract_Action() {
    const auto range = globalRange();
    if (!range) return;
    LimitedText text(kResultTextLimit);
    const bool whole = WriteGlobalRange(map_(), range->first, range->last, text);
    const std::int64_t size = whole ? static_cast<std::int64_t>(text.text().size())
                                    : GlobalRangeSize(map_(), range->first, range->last);
    finishExtraction(ResultText(std::move(text.text()), size, "extract-globals"),
                     RangeFileName("globals", map_().GlobalHeaderCache, *range));
}

void WinRange::finishExtraction(std::string text, const QString& suggestedName) {
    auto* result = new Extract(suggestedName);
    result->bringToFront();
    // "done" once the text is in; this window closes after it, as before.
    result->showText(std::move(text), [result, self = QPointer<WinRange>(this)] {
        ShowInformation(result, MessageText(kRangeDoneMessage));
        if (self) self->close();
    });
}

}  // namespace quorin::ui
