// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > Open Recent: the maps opened last, newest first, kept between
// runs in the user's settings.

#include <QString>
#include <QStringList>

namespace quorin::ui {

inline constexpr int kRecentMapCount = 8;

// The list as kept, newest first, at most kRecentMapCount paths.
QStringList RecentMaps();
// Puts path (made absolute) at the top; an entry for the same file moves
// up rather than showing twice, and the oldest falls off the end.
void RememberRecentMap(const QString& path);
// Takes path off the list, as given or made absolute (a map that is gone).
void ForgetRecentMap(const QString& path);

}  // namespace quorin::ui
