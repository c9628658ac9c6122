// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>

#include "browse/PageFill.h"
#include "browse/TreeRows.h"
#include "edit/FieldRule.h"
#include "edit/FieldWriteBack.h"
#include "edit/MapProtection.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "ui/main/EditorLayout.h"
#include "ui/main/EditorPanel.h"
#include "ui/main/RecentMaps.h"
#include "ui/shell/Dialogs.h"
#include "ui/shell/MapText.h"
#include "ui/shell/MenuBar.h"
#include "ui/shell/MenuTable.h"
#include "ui/shell/WindowChrome.h"

using quorin::ui::FromMapText;
using quorin::ui::ToMapText;

namespace {

void ShowError(quorin::ui::DialogSeam& dialogs, QWidget* parent, const quorin::Error& error) {
    dialogs.showWarning(parent, quorin::ui::MessageText(error));
}

// A row keeps the key of the record it reaches beside its text.
constexpr int kRowKindRole = Qt::UserRole;
constexpr int kRowPositionRole = Qt::UserRole + 1;

QTreeWidgetItem* MakeRow(const quorin::TreeRow& row) {
    auto* item = new QTreeWidgetItem(QStringList{FromMapText(row.text)});
    item->setData(0, kRowKindRole, static_cast<int>(row.key.kind));
    item->setData(0, kRowPositionRole, static_cast<qulonglong>(row.key.position));
    // A folder shows its expand indicator before it has children; they are
    // made when it is expanded.
    item->setChildIndicatorPolicy(row.folder ? QTreeWidgetItem::ShowIndicator
                                             : QTreeWidgetItem::DontShowIndicator);
    return item;
}

// The key a row was made with; nothing for a row this window did not make.
std::optional<quorin::RowKey> KeyOf(const QTreeWidgetItem& row) {
    const QVariant kind = row.data(0, kRowKindRole);
    if (!kind.isValid()) return std::nullopt;
    return quorin::RowKey{static_cast<quorin::RowKind>(kind.toInt()),
                          static_cast<std::size_t>(row.data(0, kRowPositionRole).toULongLong())};
}

// The first of parent's children (the top rows when parent is nullptr)
// made with key.
QTreeWidgetItem* RowWithKey(QTreeWidget& list, QTreeWidgetItem* parent, const quorin::RowKey& key) {
    const int count = parent ? parent->childCount() : list.topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* row = parent ? parent->child(i) : list.topLevelItem(i);
        if (KeyOf(*row) == key) return row;
    }
    return nullptr;
}

// A key as the edit fields tell keys apart: by the key itself, never by the
// character the platform attaches to it.
quorin::FieldKey FieldKeyOf(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Return: return quorin::FieldKey::Return;
    case Qt::Key_Enter: return quorin::FieldKey::KeypadEnter;
    default: return quorin::FieldKey::Other;
    }
}

bool HeldAsShortcut(const QKeyEvent& key) {
    return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

constexpr const char* kNotWrittenHint = "Press Return to write, Escape to undo the typing";

// A name is stored as bytes, one per character; a character past U+00FF
// has none.
QString NoMapByteMessage(const QString& text, qsizetype at) {
    const char32_t character = QStringView(text).mid(at).toUcs4().value(0);
    return QStringLiteral("The name \"%1\" holds \"%2\" (U+%3), which has no Latin-1 byte; a name in a map takes "
                          "Latin-1 characters only. Nothing was written.")
        .arg(text, QString::fromUcs4(&character, 1),
             QStringLiteral("%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper());
}

// The first local .map file among the dropped ones; empty when none.
QString DroppedMap(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    const QString suffix = QLatin1Char('.') + QLatin1String(quorin::ui::kMapExtension);
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(suffix, Qt::CaseInsensitive)) return url.toLocalFile();
    }
    return {};
}
quorin::EditorPage PageOf(quorin::RecordKind kind) {
    switch (kind) {
    case quorin::RecordKind::Script: return quorin::EditorPage::Script;
    case quorin::RecordKind::Global: return quorin::EditorPage::Global;
    case quorin::RecordKind::Syntax: return quorin::EditorPage::Syntax;
    }
    return quorin::EditorPage::Credits;
}

}  // namespace

MainWindow::MainWindow(quorin::ui::WindowContext context)
    : context_(context), stockNames_(quorin::BuiltInMapNames()) {
    // A copy before the first write, unless start-up says the user turned it off.
    session_.setBackupBeforeFirstWrite(true);
    using namespace quorin::ui;
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Quorin"));
    context_.menus.installBar(*this);
    // The main window shows no text of its own to save.
    context_.menus.setEnabledOn(*this, MenuCommand::SaveAs, false);
    setAcceptDrops(true);

    // The content keeps the window's own size; the menu bar sits above it.
    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("MainWindowContent"));
    content_->setMinimumSize(kWindowWidth, kContentMinimum);
    content_->setMaximumSize(kWindowWidth, kContentMaximum);
    setCentralWidget(content_);

    list_ = new QTreeWidget(content_);
    list_->setObjectName(QStringLiteral("Lb_Select"));
    list_->setColumnCount(1);
    list_->setHeaderHidden(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformRowHeights(true);
    list_->setGeometry(kListPlace.left, kListPlace.top, kListPlace.width, kListPlace.height);
    list_->setEnabled(false);

    editor_ = new EditorPanel(content_);
    editor_->setGeometry(kPagesPlace.left, kPagesPlace.top, kPagesPlace.width, kPagesPlace.height);

    // Below the content, so the content keeps its size.
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("StatusHint"));
    statusBar()->addWidget(hint_, 1);
    connect(editor_, &EditorPanel::notWrittenChanged, this, &MainWindow::updateHint);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &MainWindow::Lb_Select_Change);
    connect(list_, &QTreeWidget::itemExpanded, this, &MainWindow::Lb_Select_ExpandRow);
    connect(list_, &QTreeWidget::itemCollapsed, this, &MainWindow::Lb_Select_CollapseRow);
    for (const auto& [field, control] : editor_->lineEdits()) control->installEventFilter(this);
    for (const auto& [page, area] : editor_->textAreas()) area->installEventFilter(this);
    for (const auto& [field, popup] : editor_->popups()) {
        // activated comes from the user only: filling a page chooses items
        // too, and that must never write.
        connect(popup, &QComboBox::activated, this, [this, field = field](int index) { Popup_Change(field, index); });
    }
    content_->installEventFilter(this);

    // Open event: nothing to protect before a map has loaded.
    updateWriteItems();

    ApplyContentSize(*this, kWindowWidth, kWindowHeight, ContentResize::HeightOnly);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && event->type() == QEvent::Resize) {
        stretchWithHeight();
    } else if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        if (editorKey(watched, static_cast<QKeyEvent&>(*event), event->type() == QEvent::ShortcutOverride)) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::editorKey(QObject* watched, QKeyEvent& key, bool shortcutOverride) {
    // A text field takes Ctrl+Shift+Z as its own redo. Undo Last Write and
    // Redo Write must work wherever the cursor is, above all in the field
    // just written, so their keys never reach the field: turned down as an
    // override they run the menu item, and as a key they do nothing.
    if (isWriteHistoryKey(key)) {
        key.ignore();
        return true;
    }
    if (shortcutOverride) return false;
    for (const auto& [field, control] : editor_->lineEdits()) {
        if (control != watched) continue;
        if (key.key() == Qt::Key_Escape && !HeldAsShortcut(key) && editor_->notWritten(field)) {
            editor_->restoreFileValue(field);
            return true;
        }
        Field_KeyDown(field, *control, FieldKeyOf(key), HeldAsShortcut(key));
        break;
    }
    return false;
}

bool MainWindow::isWriteHistoryKey(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    for (const auto command : {quorin::ui::MenuCommand::UndoWrite, quorin::ui::MenuCommand::RedoWrite}) {
        const QKeySequence keys = context_.menus.shortcut(command);
        if (!keys.isEmpty() && keys == pressed) return true;
    }
    return false;
}

void MainWindow::updateHint() {
    hint_->setText(editor_->pageShowsNotWritten() ? QLatin1String(kNotWrittenHint) : QString());
}

void MainWindow::stretchWithHeight() {
    using namespace quorin::ui;
    const int height = content_->height();
    list_->setGeometry(kListPlace.left, kListPlace.top, kListPlace.width,
                       std::max(0, height - (kWindowHeight - kListPlace.height)));
    editor_->setGeometry(kPagesPlace.left, kPagesPlace.top, kPagesPlace.width,
                         std::max(0, height - (kWindowHeight - kPagesPlace.height)));
}

void MainWindow::Fileopen_Action() { askAndOpen(false); }

void MainWindow::FileOpenReadOnly_Action() { askAndOpen(true); }

void MainWindow::askAndOpen(bool readOnly) {
    const QString title = readOnly ? QStringLiteral("Open Read-Only") : QStringLiteral("Open");
    const QString path = context_.dialogs.askMapFile(this, title);
    // Cancelled: the map on screen stays, and stays the one edits write.
    if (path.isEmpty()) return;
    openMap(path, readOnly);
}

bool MainWindow::openMap(const QString& path, bool readOnly) {
    // The loader's message is shown once the tree holds the new map.
    const auto mode = readOnly || alwaysReadOnly_ ? quorin::OpenMode::ReadOnly : quorin::OpenMode::Edit;
    const quorin::Status loaded = session_.open(QFile::encodeName(path).toStdString(), stockNames_, mode);
    if (!loaded) {
        ShowError(context_.dialogs, this, loaded.error());
        return false;
    }
    quorin::ui::RememberRecentMap(path);
    showNewMap();
    emit mapLoaded();
    // The box belongs over the map it reports, whichever window asked.
    if (!isActiveWindow()) {
        raise();
        activateWindow();
    }
    context_.dialogs.showInformation(this, quorin::ui::MessageText(quorin::kMapLoaded));
    return true;
}

void MainWindow::FileOpenRecent_Fill(QMenu& menu) {
    const QStringList paths = quorin::ui::RecentMaps();
    if (paths.isEmpty()) {
        menu.addAction(QStringLiteral("No Recent Maps"))->setEnabled(false);
        return;
    }
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        // "&1" to "&8" choose by key; an "&" in the path is no mnemonic.
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = menu.addAction(QStringLiteral("&%1  %2").arg(QString::number(i + 1), shown));
        item->setObjectName(QStringLiteral("FileOpenRecent%1").arg(i));
        connect(item, &QAction::triggered, this, [this, path] {
            if (!openMap(path) && !QFileInfo::exists(path)) quorin::ui::ForgetRecentMap(path);
        });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!event->isAccepted()) return;
    // Nothing leads back to this window from the others, so they go too.
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != this && other->isVisible()) other->close();
    }
    QCoreApplication::quit();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedMap(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedMap(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Loaded once the drop is over: the source waits for its end, and the
    // load ends with a box.
    QTimer::singleShot(0, this, [this, path] { openMap(path); });
}

void MainWindow::showNewMap() {
    list_->clear();
    QList<QTreeWidgetItem*> rows;
    for (const quorin::TreeRow& row : quorin::TopRows(state())) rows.append(MakeRow(row));
    list_->addTopLevelItems(rows);
    list_->setEnabled(true);
    // The pages showed records of the previous map; an edit there must not
    // reach the new file.
    editor_->clearPages();
    editor_->setReadOnly(state().readOnly());
    context_.menus.setEnabled(quorin::ui::MenuCommand::EditAsText, false);
    updateWriteItems();
    updateTitle();
}

void MainWindow::updateWriteItems() {
    using quorin::ui::MenuCommand;
    context_.menus.setEnabled(MenuCommand::ProtectMap, session_.writable());
    context_.menus.setEnabled(MenuCommand::UndoWrite, session_.canUndo());
    context_.menus.setEnabled(MenuCommand::RedoWrite, session_.canRedo());
}

void MainWindow::updateTitle() {
    QString title = QStringLiteral("Quorin");
    if (state().hasMap()) {
        title += QStringLiteral(" \u2014 ") + QFileInfo(loadedPath()).fileName();
        if (state().readOnly()) title += QStringLiteral(" [read-only]");
    }
    setWindowTitle(title);
}

void MainWindow::Lb_Select_Change() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    const auto key = KeyOf(*selected.front());
    if (!key) return;
    const auto fill = quorin::PageForRow(state(), *key);
    if (!fill) return;
    // The record is remembered before any field shows it.
    session_.show(fill->record);
    editor_->showFill(*fill);
    context_.menus.setEnabled(quorin::ui::MenuCommand::EditAsText, shownTextRecord().has_value());
}

void MainWindow::Lb_Select_ExpandRow(QTreeWidgetItem* row) {
    list_->setCurrentItem(row);
    const auto key = KeyOf(*row);
    const quorin::ChildRows children = key ? quorin::ChildRowsFor(state(), *key) : quorin::ChildRows{false, {}};
    if (!children.known) {
        context_.dialogs.showWarning(this, quorin::ui::MessageText(quorin::kUnknownFolder));
        return;
    }
    // Children are a snapshot made at each expansion; never add them twice.
    qDeleteAll(row->takeChildren());
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(children.rows.size()));
    for (const quorin::TreeRow& child : children.rows) rows.append(MakeRow(child));
    row->addChildren(rows);
}

void MainWindow::Lb_Select_CollapseRow(QTreeWidgetItem* row) {
    list_->setCurrentItem(row);
    qDeleteAll(row->takeChildren());
}

void MainWindow::Field_KeyDown(quorin::EditField field, QLineEdit& control, quorin::FieldKey key, bool shortcut) {
    // A read-only map's fields take no edits, so there is nothing to refuse.
    if (!quorin::IsCommitKey(key, shortcut) || control.isReadOnly()) return;
    const QString text = control.text();
    if (const qsizetype at = quorin::ui::FirstWithoutMapByte(text); at >= 0) {
        context_.dialogs.showWarning(this, NoMapByteMessage(text, at));
        showFileValue(field);
        return;
    }
    if (auto written = session_.commitField(field, ToMapText(text)); !written) {
        ShowError(context_.dialogs, this, written.error());
        showFileValue(field);
        return;
    }
    showWritten({*session_.shown(quorin::KindOf(quorin::RuleFor(field)))}, field);
    emit recordsChanged();
}

void MainWindow::Popup_Change(quorin::EditField popup, int index) {
    if (editor_->filling()) return;
    if (auto written = session_.commitChoice(popup, index); !written) {
        ShowError(context_.dialogs, this, written.error());
        showFileValue(popup);
        updateWriteItems();
        return;
    }
    // No item (index -1) writes nothing, and may come with no record shown.
    if (const auto shown = session_.shown(quorin::KindOf(quorin::RuleFor(popup)))) showWritten({*shown}, popup);
    emit recordsChanged();
}

void MainWindow::showFileValue(quorin::EditField field) {
    // A record of an earlier load has no value in this map to go back to.
    if (const auto value = session_.fieldValue(field)) editor_->restoreValue(*value);
}

void MainWindow::ScriptToolsProtectMap_Action() {
    if (auto protectedMap = session_.protect(); !protectedMap) {
        ShowError(context_.dialogs, this, protectedMap.error());
        return;
    }
    updateWriteItems();
    emit recordsChanged();
    context_.dialogs.showInformation(this, quorin::ui::MessageText(quorin::kProtectedMessage));
}

void MainWindow::showSearchHit(const quorin::SearchHit& hit) {
    QTreeWidgetItem* row = nullptr;
    for (const quorin::RowKey& key : session_.rowsToHit(hit)) {
        // Children are made when their folder expands, so each row on the
        // way is expanded before the next is looked for.
        if (row && !row->isExpanded()) list_->expandItem(row);
        QTreeWidgetItem* next = RowWithKey(*list_, row, key);
        if (!next) break;
        row = next;
    }
    if (!row) return;
    if (list_->currentItem() == row && row->isSelected()) {
        Lb_Select_Change();  // no selection change: show the row's page anew
    } else {
        list_->setCurrentItem(row);
    }
    list_->scrollToItem(row);
    raise();
    activateWindow();
}

void MainWindow::ScriptToolsUndoWrite_Action() {
    auto undone = session_.undo();
    if (!undone) {
        ShowError(context_.dialogs, this, undone.error());
        return;
    }
    showChanged(*undone);
    updateWriteItems();
    emit recordsChanged();
}

void MainWindow::ScriptToolsRedoWrite_Action() {
    auto redone = session_.redo();
    if (!redone) {
        ShowError(context_.dialogs, this, redone.error());
        return;
    }
    showChanged(*redone);
    updateWriteItems();
    emit recordsChanged();
}

std::optional<quorin::TextRecord> MainWindow::shownTextRecord() const {
    for (const quorin::RecordKind kind : {quorin::RecordKind::Script, quorin::RecordKind::Global}) {
        const auto shown = session_.shown(kind);
        if (editor_->currentIndex() == static_cast<int>(PageOf(kind)) && shown) {
            return quorin::TextRecord{kind, shown->position};
        }
    }
    return std::nullopt;
}

quorin::Status MainWindow::applyTextPlan(const quorin::TextPlan& plan) {
    const quorin::Status written = session_.apply(plan);
    if (written) {
        // Every record the plan wrote: rows of the record itself (a name),
        // and the pages, whose texts show the record's nodes.
        std::vector<quorin::SelectedRecord> changed{{plan.record.kind, plan.record.position}};
        for (const quorin::PlannedWrite& write : plan.writes) {
            for (const quorin::RecordChange& change : write.changes) {
                changed.push_back({quorin::KindOf(change.member), change.position});
            }
        }
        showWritten(changed);
    }
    updateWriteItems();
    emit recordsChanged();
    return written;
}

void MainWindow::showChanged(const std::vector<quorin::TouchedRecord>& touched) {
    // A Protect Map step touches no record: the window goes on showing the
    // names and texts that were loaded.
    if (touched.empty()) return;
    std::vector<quorin::SelectedRecord> changed;
    changed.reserve(touched.size());
    for (const quorin::TouchedRecord& record : touched) changed.push_back({record.kind, record.position});
    showWritten(changed);
}

void MainWindow::showWritten(const std::vector<quorin::SelectedRecord>& changed,
                             std::optional<quorin::EditField> written) {
    for (QTreeWidgetItemIterator row(list_); *row; ++row) {
        const auto key = KeyOf(**row);
        if (!key) continue;
        for (const quorin::SelectedRecord& record : changed) {
            if (const auto text = quorin::RowTextAfterChange(state(), *key, record)) {
                (*row)->setText(0, FromMapText(*text));
            }
        }
    }
    // A node's change shows in the script's and the global's text too, so
    // every page of a record of this load is brought up to date, once.
    for (const quorin::RecordKind kind : {quorin::RecordKind::Script, quorin::RecordKind::Global,
                                          quorin::RecordKind::Syntax}) {
        if (const auto shown = session_.shown(kind)) editor_->refreshFill(quorin::PageFor(state(), *shown), written);
    }
    updateWriteItems();
}
