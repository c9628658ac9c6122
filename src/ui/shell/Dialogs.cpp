// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/shell/MapText.h"

namespace quorin::ui {

namespace {

class ModalDialogs final : public DialogSeam {
public:
    void showMessage(QWidget* parent, const QString& text) override {
        QMessageBox box(parent);
        box.setWindowTitle(QStringLiteral("Quorin"));
        box.setText(text);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
    QString askMapFile(QWidget* parent) override {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), QString(), MapFileFilter());
    }
    QString askSaveFile(QWidget* parent, const QString& suggestedName) override {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Save As"), suggestedName,
                                            QStringLiteral("Text files (*.txt);;All files (*)"));
    }
};

ModalDialogs& Production() {
    static ModalDialogs dialogs;
    return dialogs;
}

DialogSeam* current = nullptr;

}  // namespace

DialogSeam& Dialogs() { return current ? *current : Production(); }
void SetDialogs(DialogSeam* seam) { current = seam; }

void ShowMessage(QWidget* parent, const QString& text) { Dialogs().showMessage(parent, text); }

QString MapFileFilter() {
    return QStringLiteral("%1 files (*.%2)").arg(QLatin1String(kMapTypeName), QLatin1String(kMapExtension));
}

}  // namespace quorin::ui
