// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/support/ExtractionFixtures.h"

#include <QApplication>
#include <QPlainTextEdit>

#include "ui/extract/ResultWindow.h"
#include "builder/DemoMap.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"

namespace quorin::uitest {

void RecordingDialogs::showMessage(QWidget* parent, const QString& text, ui::MessageKind kind) {
    if (whileShown) whileShown(text);
    messages.append(text);
    kinds.append(kind);
    parents.append(parent);
}

RecordingDialogs& RecordingDialogs::fresh() {
    messages.clear();
    kinds.clear();
    parents.clear();
    whileShown = nullptr;
    return *this;
}

bool TestMap::load(const quorin::MapBuilder& builder) {
    const std::string path = dir_.filePath(QStringLiteral("map%1.map").arg(++loads_)).toStdString();
    if (!builder.writeTo(path).ok()) return false;
    return quorin::OpenMap(state_, path, quorin::BuiltInMapNames()).ok();
}

quorin::MapBuilder RenamedDemo(const std::string& prefix, int scripts, int globals) {
    quorin::MapBuilder map = quorin::DemoMap();
    if (scripts >= 0) map.scripts.resize(static_cast<std::size_t>(scripts));
    if (globals >= 0) map.globals.resize(static_cast<std::size_t>(globals));
    for (auto& script : map.scripts) script.Name = prefix + script.Name;
    for (auto& global : map.globals) global.Name = prefix + global.Name;
    return map;
}

QList<ui::ResultWindow*> ResultWindows() {
    QList<ui::ResultWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<ui::ResultWindow*>(widget);
        if (window && window->isVisible()) windows.append(window);
    }
    return windows;
}

QList<ui::ResultWindow*> NewResultWindows(const QList<ui::ResultWindow*>& before) {
    QList<ui::ResultWindow*> added;
    for (ui::ResultWindow* window : ResultWindows())
        if (!before.contains(window)) added.append(window);
    return added;
}

void CloseResultWindows() { qDeleteAll(ResultWindows()); }

QString FieldText(ui::ResultWindow& window) { return window.field().toPlainText(); }

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool ExtractionHarness::start(const quorin::MapBuilder& builder) {
    if (!map.load(builder)) return false;
    shell.dialogs.fresh();
    commands = std::make_unique<ui::ExtractionCommands>(shell.context(),
                                                        [this]() -> const MapState& { return map.state(); });
    return true;
}

void ExtractionHarness::stop() {
    commands.reset();
    CloseResultWindows();
}

}  // namespace quorin::uitest
