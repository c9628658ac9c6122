// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/RecentMaps.h"

#include <QFileInfo>
#include <QSettings>

namespace quorin::ui {

namespace {

constexpr const char* kRecentSetting = "files/recentMaps";

}  // namespace

QStringList RecentMaps() {
    QStringList paths = QSettings().value(QLatin1String(kRecentSetting)).toStringList();
    // Settings are a file the user may edit: keep the list to its length.
    paths.removeAll(QString());
    if (paths.size() > kRecentMapCount) paths.resize(kRecentMapCount);
    return paths;
}

void RememberRecentMap(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = RecentMaps();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    if (paths.size() > kRecentMapCount) paths.resize(kRecentMapCount);
    QSettings().setValue(QLatin1String(kRecentSetting), paths);
}

void ForgetRecentMap(const QString& path) {
    QStringList paths = RecentMaps();
    paths.removeAll(path);
    paths.removeAll(QFileInfo(path).absoluteFilePath());
    QSettings().setValue(QLatin1String(kRecentSetting), paths);
}

}  // namespace quorin::ui
