// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extract/ExtractionCommands.h"

#include <QFile>
#include <QFileInfo>

#include "database/CommandDatabase.h"
#include "extract/ResultText.h"
#include "base/LimitedText.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "ui/extract/ResultWindow.h"
#include "ui/extract/CompareRun.h"
#include "ui/extract/ExtractAllRun.h"
#include "ui/extract/RangeWindow.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"

namespace quorin::ui {

ExtractionCommands::ExtractionCommands(WindowContext context, MapSource map, QObject* parent)
    : QObject(parent), context_(context), map_(std::move(map)) {}

// The range window reads the map through this object's source, so it must
// not outlive it.
ExtractionCommands::~ExtractionCommands() { delete rangeWindow_.data(); }

RangeWindow* ExtractionCommands::rangeWindow() const { return rangeWindow_.data(); }

RangeWindow& ExtractionCommands::rangeWindowOrNew() {
    if (!rangeWindow_) rangeWindow_ = new RangeWindow(context_, map_);
    return *rangeWindow_;
}

void ExtractionCommands::showScriptRange() {
    RangeWindow& window = rangeWindowOrNew();
    window.show();
    window.raise();
    window.activateWindow();
    window.showPage(RangeWindow::kScriptPage);
}

void ExtractionCommands::showGlobalRange() {
    RangeWindow& window = rangeWindowOrNew();
    window.show();
    window.raise();
    window.activateWindow();
    window.showPage(RangeWindow::kGlobalPage);
}

void ExtractionCommands::extractAll() { ExtractAllRun::Start(context_, map_()); }

void ExtractionCommands::database() {
    auto* window = new ResultWindow(context_, QStringLiteral("database.txt"));
    LimitedText text(kResultTextLimit);
    const CommandDatabaseResult result = WriteCommandDatabase(map_().SyntaxCache, text);
    window->setWindowTitle(QString::fromLatin1(kCommandDatabaseTitle));
    window->bringToFront();
    // The fill belongs to the window, so done never outlives it.
    window->showText(ResultText(std::move(text.text()), result.textSize, "database"),
                     [window, &dialogs = context_.dialogs, message = MessageText(result.message()),
                      whole = result.complete] {
                         dialogs.showMessage(window, message, whole ? MessageKind::Information : MessageKind::Warning);
                     });
}

void ExtractionCommands::compareWith(QWidget* parent) {
    const MapState& current = map_();
    const QString path = context_.dialogs.askMapFile(parent, QStringLiteral("Compare With"));
    if (path.isEmpty()) return;
    MapState other;
    // Only read: nothing the comparison does may write either map.
    if (const Status loaded = OpenMap(other, QFile::encodeName(path).toStdString(), stockNames_ ? stockNames_() : BuiltInMapNames(),
                                      OpenMode::ReadOnly);
        !loaded) {
        context_.dialogs.showWarning(parent, MessageText(loaded.error()));
        return;
    }
    const QString oldName = QFileInfo(QFile::decodeName(current.loadedPath().c_str())).fileName();
    const QString title = QStringLiteral("Compare \u2014 %1 / %2").arg(oldName, QFileInfo(path).fileName());
    CompareRun::Start(context_, current, std::move(other), title);
}

void ExtractionCommands::mapLoaded() {
    if (rangeWindow_) rangeWindow_->fillStartLists();
}

}  // namespace quorin::ui
