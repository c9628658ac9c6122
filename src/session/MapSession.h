// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One open map and everything done to it: the records and dictionaries, the
// file's identity, the open mode, the stock names it loaded with, the backup
// choice and the write history. The main window and quorin-cli both hold
// one and call it to open, show, write, undo and redo; every write goes
// through one descriptor after one writable check.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "browse/PageFill.h"
#include "browse/RecordSelection.h"
#include "edit/EditField.h"
#include "edit/WriteHistory.h"
#include "map/MapLoader.h"
#include "map/MapState.h"
#include "search/SearchHit.h"
#include "textedit/TextEditPlan.h"

namespace quorin {

class MapSession {
public:
    // Runs the load chain on path (see OpenMap). On success the map replaces
    // the previous one, stockNames become the names in force and the write
    // history, which belonged to the previous map, is emptied. A refusal
    // leaves the session as it was.
    [[nodiscard]] Status open(const std::string& path, const std::vector<std::string>& stockNames,
                              OpenMode mode = OpenMode::Edit);

    const MapState& map() const { return map_; }
    const WriteHistory& history() const { return history_; }
    // The stock names the loaded map was checked against; empty before a load.
    const std::vector<std::string>& stockNames() const { return stockNames_; }

    // Copy the file to NAME.map.bak before the first write after a load (a
    // preference: it outlives loads).
    void setBackupBeforeFirstWrite(bool backup) { map_.backupBeforeFirstWrite = backup; }
    bool backupBeforeFirstWrite() const { return map_.backupBeforeFirstWrite; }

    // A map is loaded and may be written.
    bool writable() const { return map_.hasMap() && !map_.readOnly(); }
    bool canUndo() const { return writable() && history_.canUndo(map_); }
    bool canRedo() const { return writable() && history_.canRedo(map_); }

    // The record a tree row selects; nothing for a folder row.
    std::optional<SelectedRecord> recordForRow(const RowKey& row) const { return RecordForRow(map_, row); }
    // The record a name (script, global) or identity (node) names exactly.
    std::optional<SelectedRecord> recordNamed(RecordKind kind, std::string_view key) const {
        return RecordNamed(map_, kind, key);
    }
    // The tree rows that lead to a search hit's record (see TreePathFor).
    std::vector<RowKey> rowsToHit(const SearchHit& hit) const;

    // Makes record the one its kind's editor page shows, for this load.
    void show(const SelectedRecord& record);
    // The record of kind shown, when it belongs to this load.
    std::optional<SelectedRecord> shown(RecordKind kind) const;
    // The value a field of the shown record shows, as the page fills it;
    // nothing when no record of its kind of this load is shown.
    std::optional<FieldValue> fieldValue(EditField field) const;

    // Writes an edit field's text or a popup's chosen item (the type code)
    // into the shown record and the file (see CommitField, CommitPopup); a
    // write is the history's last step.
    [[nodiscard]] Status commitField(EditField field, std::string_view text);
    [[nodiscard]] Status commitChoice(EditField popup, int index);
    // Protect Map (see ProtectScripts), as one step.
    [[nodiscard]] Status protect();
    // Writes an edited text's plan as one step (see ApplyTextPlan).
    [[nodiscard]] Status apply(const TextPlan& plan);
    // Takes the last step back, or makes the last undone one again; the
    // records changed, for the views that show them.
    [[nodiscard]] Result<std::vector<TouchedRecord>> undo() { return history_.undo(map_); }
    [[nodiscard]] Result<std::vector<TouchedRecord>> redo() { return history_.redo(map_); }

private:
    MapState map_;
    WriteHistory history_;
    std::vector<std::string> stockNames_;
};

}  // namespace quorin
