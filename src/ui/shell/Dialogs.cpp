// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quorin::ui {

void ModalDialogs::showMessage(QWidget* parent, const QString& text, MessageKind kind) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Quorin"));
    box.setIcon(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::Information);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

QString ModalDialogs::askMapFile(QWidget* parent, const QString& title) {
    return QFileDialog::getOpenFileName(parent, title, QString(), MapFileFilter());
}

QString ModalDialogs::askSaveFile(QWidget* parent, const QString& suggestedName) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save As"), suggestedName,
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

QString MapFileFilter() {
    return QStringLiteral("%1 files (*.%2)").arg(QLatin1String(kMapTypeName), QLatin1String(kMapExtension));
}

}  // namespace quorin::ui
