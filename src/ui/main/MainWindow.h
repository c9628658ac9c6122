// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool's one document window: the script tree Lb_Select on the left and
// the page panel PageEditor on the right. It holds the map session and
// shows what it does; start-up makes it, lends the session's map to the
// extraction windows and wires the menu commands.

#include <QFile>
#include <QMainWindow>
#include <string>
#include <vector>

#include "browse/RecordSelection.h"
#include "edit/EditField.h"
#include "edit/FieldWriteBack.h"
#include "search/SearchHit.h"
#include "session/MapSession.h"
#include "textedit/TextEditPlan.h"
#include "ui/shell/WindowContext.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorin::ui {
class EditorPanel;
}

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    // The window with its menu bar (from context's router, Protect Map
    // disabled) and controls; its boxes and dialogs go through context's
    // seam. Not shown yet.
    explicit MainWindow(quorin::ui::WindowContext context);

    const quorin::ui::WindowContext& context() const { return context_; }

    const quorin::MapSession& session() const { return session_; }
    const quorin::MapState& state() const { return session_.map(); }

    // The stock map names every load checks against (default: the built-in list).
    void setStockMapNames(std::vector<std::string> names) { stockNames_ = std::move(names); }

    // Runs the load chain on path as File > Open does once a file is chosen;
    // read-only opens it for looking only (as does a file this user may not
    // write, or every map once setAlwaysReadOnly is on). False when the map
    // was refused (its message shown).
    bool openMap(const QString& path, bool readOnly = false);
    // quorin --read-only: every map of this run opens read-only.
    void setAlwaysReadOnly(bool always) { alwaysReadOnly_ = always; }

    // Script Tools > Back Up Before First Write.
    void setBackupBeforeFirstWrite(bool backup) { session_.setBackupBeforeFirstWrite(backup); }
    bool backupBeforeFirstWrite() const { return session_.backupBeforeFirstWrite(); }

    const quorin::WriteHistory& history() const { return session_.history(); }

    // The handlers of File > Open, File > Open Read-Only, Protect Map and
    // the undo and redo of writes; start-up wires them to the menu items of
    // every window.
    void Fileopen_Action();
    void FileOpenReadOnly_Action();
    void ScriptToolsProtectMap_Action();
    void ScriptToolsUndoWrite_Action();
    void ScriptToolsRedoWrite_Action();
    // File > Open Recent, filled each time it opens: one item per recent
    // map, newest first; choosing one runs the load chain on it. An entry
    // whose file is gone leaves the list once its message was shown.
    void FileOpenRecent_Fill(QMenu& menu);

    // Shows a hit of a search in the tree: expands the folders and the
    // script on its way, selects its row (a use: the script's first row
    // that reaches the node) and brings this window to the front. The page
    // shows what a click on that row shows.
    void showSearchHit(const quorin::SearchHit& hit);

    // The script or global whose page is shown (what Edit as Text edits).
    [[nodiscard]] std::optional<quorin::TextRecord> shownTextRecord() const;
    // Writes an edited text's plan as one step, then shows the records it
    // changed as any write does. The message of a refused write is returned,
    // not shown.
    [[nodiscard]] quorin::Status applyTextPlan(const quorin::TextPlan& plan);

signals:
    // After every successful load, once the tree shows the new map.
    void mapLoaded();
    // After every write, undo and redo, once the window shows what it changed.
    void recordsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing this window ends the run: every other window closes with it
    // (an Extract > All run with its result window) and the application quits.
    void closeEvent(QCloseEvent* event) override;
    // A .map file dropped on the window opens as File > Open would open it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Lb_Select_Change();
    void Lb_Select_ExpandRow(QTreeWidgetItem* row);
    void Lb_Select_CollapseRow(QTreeWidgetItem* row);
    // The KeyDown of each of the eleven edit fields: a commit key writes the
    // field's text as it stands before the key; the key is never consumed.
    void Field_KeyDown(quorin::EditField field, QLineEdit& control, quorin::FieldKey key, bool shortcut);
    // The Change of each of the four popups, for a user's choice only.
    void Popup_Change(quorin::EditField popup, int index);
    // The keys of the editor's text fields before the fields see them.
    bool editorKey(QObject* watched, QKeyEvent& key, bool shortcutOverride);
    // The key is the shortcut of Undo Last Write or Redo Write.
    bool isWriteHistoryKey(const QKeyEvent& key) const;

    // After a refused write: the control shows the value the file holds.
    void showFileValue(quorin::EditField field);
    void askAndOpen(bool readOnly);
    void showNewMap();
    // Protect Map, undo and redo are enabled while they can do something.
    void updateWriteItems();
    // After a write changed records (a field, a popup, an apply, an undo or
    // a redo): the rows that reach them, and every page of a record of this
    // load, show what the file now holds; written is the field whose text
    // was written.
    void showWritten(const std::vector<quorin::SelectedRecord>& changed,
                     std::optional<quorin::EditField> written = std::nullopt);
    void showChanged(const std::vector<quorin::TouchedRecord>& touched);
    // The status line asks for Return or Escape while the page shows a
    // field whose text is not written.
    void updateHint();
    void updateTitle();
    // The file the records came from, as the file system names it.
    QString loadedPath() const { return QFile::decodeName(state().loadedPath().c_str()); }
    void stretchWithHeight();

    quorin::ui::WindowContext context_;
    quorin::MapSession session_;
    std::vector<std::string> stockNames_;
    bool alwaysReadOnly_ = false;
    QWidget* content_ = nullptr;
    QTreeWidget* list_ = nullptr;
    quorin::ui::EditorPanel* editor_ = nullptr;
    QLabel* hint_ = nullptr;
};
