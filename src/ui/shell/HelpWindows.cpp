// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/HelpWindows.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QIcon>
#include <QMessageBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/Version.h"
#include "ui/shell/MenuBar.h"

namespace quorin::ui {

namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// A menu text as it reads: "&Open" is "Open", "&&" is "&".
QString WithoutMnemonic(const char* text) {
    QString plain = QString::fromUtf8(text);
    for (qsizetype at = plain.indexOf(u'&'); at >= 0; at = plain.indexOf(u'&', at + 1)) plain.remove(at, 1);
    return plain;
}

QString AboutText() {
    return QStringLiteral("<h3>Quorin %1</h3><p>%2.</p><p>Free software under the <a href=\"%3\">%4</a> (%5): "
                          "you may change and share it; there is no warranty.</p><p>%6</p>")
        .arg(Latin1(Version()), Latin1(kSummary), Latin1(kLicenceUrl), Latin1(kLicenceName), Latin1(kLicenceId),
             Latin1(kCopyright).toHtmlEscaped());
}

// parent's open window called name, brought to the front; nullptr when none is open.
template <typename Window>
Window* Raised(QWidget& parent, const char* name) {
    auto* open = parent.findChild<Window*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (open) {
        open->show();
        open->raise();
        open->activateWindow();
    }
    return open;
}

}  // namespace

std::vector<MenuShortcutRow> MenuShortcuts(std::span<const MenuEntry> entries) {
    std::vector<MenuShortcutRow> rows;
    QStringList menus;  // the open menus, outermost first
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntryKind::Menu:
        case MenuEntryKind::FilledMenu: menus << WithoutMnemonic(entry.text); break;
        case MenuEntryKind::EndMenu:
            if (!menus.isEmpty()) menus.removeLast();
            break;
        case MenuEntryKind::Item:
        case MenuEntryKind::CheckItem:
            if (const QKeySequence keys = MenuShortcut(entry); !keys.isEmpty()) {
                rows.push_back({(QStringList(menus) << WithoutMnemonic(entry.text)).join(QStringLiteral(" > ")), keys});
            }
            break;
        case MenuEntryKind::Separator: break;
        }
    }
    return rows;
}

void ShowAboutQuorin(QWidget& parent) {
    if (Raised<QMessageBox>(parent, kAboutBoxName)) return;
    auto* box = new QMessageBox(&parent);
    box->setObjectName(QLatin1String(kAboutBoxName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setWindowTitle(QStringLiteral("About Quorin"));
    box->setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box->setTextFormat(Qt::RichText);
    box->setText(AboutText());
    box->setStandardButtons(QMessageBox::Ok);
    box->show();
}

void ShowKeyboardShortcuts(QWidget& parent) {
    if (Raised<QDialog>(parent, kShortcutsWindowName)) return;
    auto* window = new QDialog(&parent);
    window->setObjectName(QLatin1String(kShortcutsWindowName));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Keyboard Shortcuts"));

    auto* list = new QTreeWidget(window);
    list->setObjectName(QStringLiteral("ShortcutList"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Menu item"), QStringLiteral("Shortcut")});
    for (const MenuShortcutRow& row : MenuShortcuts()) {
        new QTreeWidgetItem(list, {row.where, row.keys.toString(QKeySequence::NativeText)});
    }
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(list);
    layout->addWidget(buttons);
    window->resize(440, 420);
    window->show();
}

}  // namespace quorin::ui
