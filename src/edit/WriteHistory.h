// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo and redo of the writes into the loaded map. A step is one field, one
// popup choice, one whole Protect Map or one apply of an edited text; the steps belong to the load they
// were made on, and a history finds itself empty once another map loaded.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "edit/WriteStep.h"
#include "map/MapState.h"
#include "base/Result.h"

namespace quorin {

// The record an undo or redo changed in memory, for the views that show it.
struct TouchedRecord {
    RecordKind kind = RecordKind::Script;
    std::size_t position = 0;
};

class WriteHistory {
public:
    // Older steps are forgotten beyond this many (a Protect Map of a large
    // map holds a few megabytes).
    static constexpr std::size_t kMostSteps = 100;

    // A step just written into map's file; nothing is left to redo.
    void recorded(const MapState& map, WriteStep step);

    bool canUndo(const MapState& map) const { return current(map) && !undo_.empty(); }
    bool canRedo(const MapState& map) const { return current(map) && !redo_.empty(); }
    void clear();

    // Writes the last step's bytes before back, under the same checks as any
    // write, then sets the records and dictionaries as a forward write of
    // those values would. Nothing changes when the write is refused. The
    // records changed, in the order the step had changed them (none for
    // Protect Map).
    [[nodiscard]] Result<std::vector<TouchedRecord>> undo(MapState& map);
    // Writes the last undone step's bytes after again, and its record changes.
    [[nodiscard]] Result<std::vector<TouchedRecord>> redo(MapState& map);

private:
    bool current(const MapState& map) const { return map.hasMap() && map.generation() == generation_; }
    Result<std::vector<TouchedRecord>> replay(MapState& map, bool back);

    std::uint64_t generation_ = 0;
    std::deque<WriteStep> undo_;
    std::deque<WriteStep> redo_;
};

}  // namespace quorin
