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
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
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
#include "search/HitRow.h"
#include "textedit/TextEditApply.h"
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

void ShowError(QWidget* parent, const quorin::Error& error, const QString& path) {
    quorin::ui::ShowMessage(parent, quorin::ui::MessageText(error.message, path));
}

QTreeWidgetItem* MakeRow(const quorin::TreeRow& row) {
    auto* item = new QTreeWidgetItem(QStringList{FromMapText(row.text)});
    // A folder shows its expand indicator before it has children; they are
    // made when it is expanded.
    item->setChildIndicatorPolicy(row.folder ? QTreeWidgetItem::ShowIndicator
                                             : QTreeWidgetItem::DontShowIndicator);
    return item;
}

// The first character of a key as the editor sees it: Return is 13 and the
// keypad's Enter is 3, whatever text the platform attaches to them.
char32_t FirstCharacter(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return) return 13;
    if (key.key() == Qt::Key_Enter) return 3;
    const QString text = key.text();
    return text.isEmpty() ? 0 : text.toUcs4().value(0);
}

// A name is stored as bytes, one per character; a character past U+00FF
// has none.
QString NoMapByteMessage(const QString& text, qsizetype at) {
    const char32_t character = QStringView(text).mid(at).toUcs4().value(0);
    return QStringLiteral("The name \"%1\" holds \"%2\" (U+%3), which has no Latin-1 byte; a name in a map takes "
                          "Latin-1 characters only. Nothing was written.")
        .arg(text, QString::fromUcs4(&character, 1),
             QStringLiteral("%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper());
}

constexpr const char* kProtectMapItem = "ScriptToolsProtectMap";

// The first local .map file among the dropped ones; empty when none.
QString DroppedMap(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    const QString suffix = QLatin1Char('.') + QLatin1String(quorin::ui::kMapExtension);
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(suffix, Qt::CaseInsensitive)) return url.toLocalFile();
    }
    return {};
}
constexpr const char* kUndoWriteItem = "ScriptToolsUndoWrite";
constexpr const char* kEditAsTextItem = "ScriptToolsEditAsText";
constexpr const char* kRedoWriteItem = "ScriptToolsRedoWrite";

quorin::EditorPage PageOf(quorin::RecordKind kind) {
    switch (kind) {
    case quorin::RecordKind::Script: return quorin::EditorPage::Script;
    case quorin::RecordKind::Global: return quorin::EditorPage::Global;
    case quorin::RecordKind::Syntax: return quorin::EditorPage::Syntax;
    }
    return quorin::EditorPage::Credits;
}

const std::optional<quorin::LoadedRecord>& ShownOf(const quorin::MapState& state, quorin::RecordKind kind) {
    switch (kind) {
    case quorin::RecordKind::Script: return state.LoadedScript;
    case quorin::RecordKind::Global: return state.LoadedGlobal;
    case quorin::RecordKind::Syntax: break;
    }
    return state.LoadedSyntax;
}

}  // namespace

MainWindow& MainWindow::instance() {
    static QPointer<MainWindow> window;
    if (!window) window = new MainWindow();
    return *window;
}

MainWindow::MainWindow() : stockNames_(quorin::BuiltInMapNames()) {
    // A copy before the first write, unless start-up says the user turned it off.
    state_.backupBeforeFirstWrite = true;
    using namespace quorin::ui;
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Quorin"));
    InstallMenuBar(*this);
    // The main window shows no text of its own to save.
    SetMenuItemEnabledOn(*this, kSaveAsItem, false);
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

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &MainWindow::Lb_Select_Change);
    connect(list_, &QTreeWidget::itemExpanded, this, &MainWindow::Lb_Select_ExpandRow);
    connect(list_, &QTreeWidget::itemCollapsed, this, &MainWindow::Lb_Select_CollapseRow);
    for (const auto& [field, control] : editor_->lineEdits()) control->installEventFilter(this);
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
    } else if (event->type() == QEvent::KeyPress) {
        for (const auto& [field, control] : editor_->lineEdits()) {
            if (control == watched) {
                Field_KeyDown(field, *control, FirstCharacter(static_cast<const QKeyEvent&>(*event)));
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
    const QString path = quorin::ui::Dialogs().askMapFile(this);
    // Cancelled: the map on screen stays, and stays the one edits write.
    if (path.isEmpty()) return;
    openMap(path, readOnly);
}

void MainWindow::openMap(const QString& path, bool readOnly) {
    // The loader's message is shown once the tree holds the new map.
    const auto mode = readOnly || alwaysReadOnly_ ? quorin::OpenMode::ReadOnly : quorin::OpenMode::Edit;
    const quorin::Status loaded = quorin::OpenMap(state_, QFile::encodeName(path).toStdString(), stockNames_, mode);
    if (!loaded) {
        ShowError(this, loaded.error(), path);
        return;
    }
    // The steps belonged to the previous map.
    history_.clear();
    quorin::ui::RememberRecentMap(path);
    showNewMap();
    emit mapLoaded();
    // The box belongs over the map it reports, whichever window asked.
    if (!isActiveWindow()) {
        raise();
        activateWindow();
    }
    quorin::ui::ShowMessage(this, quorin::ui::MessageText(quorin::kMapLoaded));
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
        connect(item, &QAction::triggered, this, [this, path] { openMap(path); });
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
    for (const quorin::TreeRow& row : quorin::TopRows(state_)) rows.append(MakeRow(row));
    list_->addTopLevelItems(rows);
    list_->setEnabled(true);
    // The pages showed records of the previous map; an edit there must not
    // reach the new file.
    editor_->clearPages();
    editor_->setReadOnly(state_.readOnly());
    quorin::ui::SetMenuItemEnabled(kEditAsTextItem, false);
    updateWriteItems();
    updateTitle();
}

void MainWindow::updateWriteItems() {
    using quorin::ui::SetMenuItemEnabled;
    const bool writable = state_.hasMap() && !state_.readOnly();
    SetMenuItemEnabled(kProtectMapItem, writable);
    SetMenuItemEnabled(kUndoWriteItem, writable && history_.canUndo(state_));
    SetMenuItemEnabled(kRedoWriteItem, writable && history_.canRedo(state_));
}

void MainWindow::updateTitle() {
    QString title = QStringLiteral("Quorin");
    if (state_.hasMap()) {
        title += QStringLiteral(" \u2014 ") + QFileInfo(loadedPath()).fileName();
        if (state_.readOnly()) title += QStringLiteral(" [read-only]");
    }
    setWindowTitle(title);
}

void MainWindow::Lb_Select_Change() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    const auto fill = quorin::PageForRow(state_, ToMapText(selected.front()->text(0)));
    if (!fill) return;
    // The record is remembered before any field shows it.
    quorin::ShowRecord(state_, fill->record);
    editor_->showFill(*fill);
    quorin::ui::SetMenuItemEnabled(kEditAsTextItem, shownTextRecord().has_value());
}

void MainWindow::Lb_Select_ExpandRow(QTreeWidgetItem* row) {
    list_->setCurrentItem(row);
    const quorin::ChildRows children = quorin::ChildRowsFor(state_, ToMapText(row->text(0)));
    if (!children.known) {
        quorin::ui::ShowMessage(this, quorin::ui::MessageText(quorin::kUnknownFolder));
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

void MainWindow::Field_KeyDown(quorin::EditField field, QLineEdit& control, char32_t key) {
    // A read-only map's fields take no edits, so there is nothing to refuse.
    if (!quorin::IsCommitKey(key) || control.isReadOnly()) return;
    const QString text = control.text();
    if (const qsizetype at = quorin::ui::FirstWithoutMapByte(text); at >= 0) {
        quorin::ui::ShowMessage(this, NoMapByteMessage(text, at));
        showFileValue(field);
        return;
    }
    if (auto written = quorin::CommitField(state_, field, ToMapText(text), &history_); !written) {
        ShowError(this, written.error(), loadedPath());
        showFileValue(field);
        return;
    }
    // Setting the text empties the field's own undo, so Edit > Undo can no
    // longer bring back a text the file does not hold.
    const int cursor = control.cursorPosition();
    control.setText(control.text());
    control.setCursorPosition(cursor);
    updateWriteItems();
    emit recordsChanged();
}

void MainWindow::Popup_Change(quorin::EditField popup, int index) {
    if (editor_->filling()) return;
    if (auto written = quorin::CommitPopup(state_, popup, index, &history_); !written) {
        ShowError(this, written.error(), loadedPath());
        showFileValue(popup);
    }
    updateWriteItems();
    emit recordsChanged();
}

void MainWindow::showFileValue(quorin::EditField field) {
    const quorin::RecordKind kind = quorin::KindOf(quorin::RuleFor(field));
    const auto& shown = ShownOf(state_, kind);
    // A record of an earlier load has no value in this map to go back to.
    if (!shown || shown->generation != state_.generation()) return;
    for (const quorin::FieldValue& value : quorin::PageFor(state_, {kind, shown->position}).fields) {
        if (value.field == field) editor_->restoreValue(value);
    }
}

void MainWindow::ScriptToolsProtectMap_Action() {
    if (auto protectedMap = quorin::ProtectScripts(state_, &history_); !protectedMap) {
        ShowError(this, protectedMap.error(), loadedPath());
        return;
    }
    updateWriteItems();
    emit recordsChanged();
    quorin::ui::ShowMessage(this, quorin::ui::MessageText(quorin::kProtectedMessage));
}

void MainWindow::showSearchHit(const quorin::SearchHit& hit) {
    QTreeWidgetItem* row = nullptr;
    for (const std::size_t index : quorin::TreePathFor(state_, hit)) {
        // Children are made when their folder expands, so each row on the
        // way is expanded before the next is looked for.
        if (row && !row->isExpanded()) list_->expandItem(row);
        QTreeWidgetItem* next = row ? row->child(static_cast<int>(index)) : list_->topLevelItem(static_cast<int>(index));
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
    auto undone = history_.undo(state_);
    if (!undone) {
        ShowError(this, undone.error(), loadedPath());
        return;
    }
    showChanged(*undone);
    updateWriteItems();
    emit recordsChanged();
}

void MainWindow::ScriptToolsRedoWrite_Action() {
    auto redone = history_.redo(state_);
    if (!redone) {
        ShowError(this, redone.error(), loadedPath());
        return;
    }
    showChanged(*redone);
    updateWriteItems();
    emit recordsChanged();
}

std::optional<quorin::TextRecord> MainWindow::shownTextRecord() const {
    for (const quorin::RecordKind kind : {quorin::RecordKind::Script, quorin::RecordKind::Global}) {
        const auto& shown = ShownOf(state_, kind);
        if (editor_->currentIndex() == static_cast<int>(PageOf(kind)) && shown &&
            shown->generation == state_.generation()) {
            return quorin::TextRecord{kind, shown->position};
        }
    }
    return std::nullopt;
}

quorin::Status MainWindow::applyTextPlan(const quorin::TextPlan& plan) {
    const quorin::Status written = quorin::ApplyTextPlan(state_, plan, &history_);
    if (written) {
        // The record's rows and page; its nodes' rows show identities, which
        // an apply never writes, so only a node's page may need its values.
        showChanged({{plan.record.kind, plan.record.position}});
        const auto& node = state_.LoadedSyntax;
        const bool nodeShown = editor_->currentIndex() == static_cast<int>(quorin::EditorPage::Syntax) && node &&
                               node->generation == state_.generation();
        bool nodeChanged = false;
        for (const quorin::PlannedWrite& write : plan.writes) {
            for (const quorin::RecordChange& change : write.changes) {
                nodeChanged |= quorin::KindOf(change.member) == quorin::RecordKind::Syntax &&
                               nodeShown && change.position == node->position;
            }
        }
        if (nodeChanged) editor_->showFill(quorin::PageFor(state_, {quorin::RecordKind::Syntax, node->position}));
    }
    updateWriteItems();
    emit recordsChanged();
    return written;
}

void MainWindow::showChanged(const std::vector<quorin::TouchedRecord>& changed) {
    // A script's or global's text shows its nodes, so a changed node changes
    // the text of the page that shows one.
    const bool nodeChanged = std::any_of(changed.begin(), changed.end(), [](const quorin::TouchedRecord& touched) {
        return touched.kind == quorin::RecordKind::Syntax;
    });
    if (const auto record = shownTextRecord(); record && nodeChanged) {
        editor_->showFill(quorin::PageFor(state_, {record->kind, record->position}));
    }
    for (const quorin::TouchedRecord& touched : changed) {
        for (QTreeWidgetItemIterator row(list_); *row; ++row) {
            const auto text =
                quorin::RowTextAfterChange(state_, ToMapText((*row)->text(0)), touched.kind, touched.position);
            if (text) (*row)->setText(0, FromMapText(*text));
        }
        const auto& shown = ShownOf(state_, touched.kind);
        if (editor_->currentIndex() == static_cast<int>(PageOf(touched.kind)) && shown &&
            shown->generation == state_.generation() && shown->position == touched.position) {
            editor_->showFill(quorin::PageFor(state_, {touched.kind, touched.position}));
        }
    }
}
