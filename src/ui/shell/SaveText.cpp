// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/SaveText.h"

#include <QSaveFile>

#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"

namespace quorin::ui {

bool SaveTextAs(DialogSeam& dialogs, QWidget* parent, const QString& text, const QString& suggestedName) {
    const QString path = dialogs.askSaveFile(parent, suggestedName);
    if (path.isEmpty()) return false;
    const QByteArray bytes = FirstWithoutMapByte(text) < 0 ? text.toLatin1() : text.toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        dialogs.showWarning(parent, QStringLiteral("Can't save \"%1\": %2. Nothing was written.").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace quorin::ui
