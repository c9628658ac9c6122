// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/WriteHistory.h"

#include "edit/LoadedMapWriter.h"
#include "edit/MapWritable.h"
#include "edit/RecordChangeApply.h"
#include "edit/RecordMember.h"

namespace quorin {

void WriteHistory::recorded(const MapState& map, WriteStep step) {
    if (!current(map)) clear();
    generation_ = map.generation();
    redo_.clear();
    undo_.push_back(std::move(step));
    if (undo_.size() > kMostSteps) undo_.pop_front();
}

void WriteHistory::clear() {
    undo_.clear();
    redo_.clear();
}

Result<std::vector<TouchedRecord>> WriteHistory::undo(MapState& map) { return replay(map, true); }

Result<std::vector<TouchedRecord>> WriteHistory::redo(MapState& map) { return replay(map, false); }

Result<std::vector<TouchedRecord>> WriteHistory::replay(MapState& map, bool back) {
    if (!current(map)) clear();
    // A map that may not be written says so, whether or not there is a step.
    if (auto ready = CheckMapWritable(map); !ready) return ready.error();
    std::deque<WriteStep>& from = back ? undo_ : redo_;
    if (from.empty()) {
        return Error(ErrorCode::NothingToDo, back ? "There is no write to undo." : "There is no write to redo.");
    }
    WriteStep& step = from.back();

    auto writer = OpenLoadedMap(map);
    if (!writer) return writer.error();
    writer->keepJournal(false);  // the step holds both sides already
    const auto write = [&](const BytePatch& patch) { return writer->writeBytes(patch.offset, back ? patch.before : patch.after); };
    // Backwards when undoing, so bytes written twice by one step end as they
    // were before its first write.
    Status written = success();
    if (back) {
        for (auto patch = step.patches.rbegin(); written && patch != step.patches.rend(); ++patch) written = write(*patch);
    } else {
        for (auto patch = step.patches.begin(); written && patch != step.patches.end(); ++patch) written = write(*patch);
    }
    if (!written) {
        (void)writer->close();
        return Error::Like(written.error())
               << (back ? "Undoing " : "Redoing ") << step.what << " stopped: " << written.error() << " "
               << std::to_string(writer->writes()) << " of " << std::to_string(step.patches.size())
               << " writes were made before it.";
    }
    if (auto closed = CloseLoadedMap(map, *writer); !closed) return closed.error();

    // Taken back last first, as the bytes are.
    std::vector<TouchedRecord> touched;
    touched.reserve(step.changes.size());
    if (back) {
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) ApplyBack(map, *change);
    } else {
        for (RecordChange& change : step.changes) ApplyForward(map, change);
    }
    for (const RecordChange& change : step.changes) touched.push_back({KindOf(change.member), change.position});
    (back ? redo_ : undo_).push_back(std::move(step));
    from.pop_back();
    return touched;
}

}  // namespace quorin
