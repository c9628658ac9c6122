// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/shell/MapText.h"

namespace quorin::ui {

namespace {

class ModalDialogs final : public DialogSeam {
public:
    void showMessage(QWidget* parent, const QString& text, MessageKind kind) override {
        QMessageBox box(parent);
        box.setWindowTitle(QStringLiteral("Quorin"));
        box.setIcon(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::Information);
        box.setText(text);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
    QString askMapFile(QWidget* parent, const QString& title) override {
        return QFileDialog::getOpenFileName(parent, title, QString(), MapFileFilter());
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

void ShowInformation(QWidget* parent, const QString& text) {
    Dialogs().showMessage(parent, text, MessageKind::Information);
}

void ShowWarning(QWidget* parent, const QString& text) { Dialogs().showMessage(parent, text, MessageKind::Warning); }

QString MapFileFilter() {
    return QStringLiteral("%1 files (*.%2)").arg(QLatin1String(kMapTypeName), QLatin1String(kMapExtension));
}

}  // namespace quorin::ui
