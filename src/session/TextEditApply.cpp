// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/TextEditApply.h"

#include "base/TextFormat.h"
#include "edit/LoadedMapWriter.h"
#include "edit/MapWritable.h"
#include "edit/RecordChangeApply.h"

namespace quorin {

Status ApplyTextPlan(MapState& map, const TextPlan& plan, WriteHistory* history) {
    if (plan.refused()) return Error(ErrorCode::BadValue, plan.refusals.front().message + ". Nothing was written.");
    if (plan.writes.empty()) return success();
    if (auto ready = CheckMapWritable(map); !ready) return ready;
    auto writer = OpenLoadedMap(map);
    if (!writer) return writer.error();
    for (const PlannedWrite& write : plan.writes) {
        const auto width = static_cast<std::int64_t>(write.bytes.size());
        if (write.offset < 0 || write.offset > writer->size() - width) {
            return Error(ErrorCode::OutOfBounds, map.loadedPath(), write.offset)
                   << "Can't apply the text to \"" << FilePath{map.loadedPath()} << "\": the field at offset "
                   << FileOffset{write.offset} << " (" << write.what << ") lies outside the file, which has "
                   << Decimal(writer->size()) << " bytes. Nothing was written.";
        }
    }
    for (const PlannedWrite& write : plan.writes) {
        if (auto written = writer->writeBytes(write.offset, write.bytes); !written) {
            const bool closed = writer->close().ok();
            return Error::Like(written.error())
                   << "Applying the text to \"" << FilePath{map.loadedPath()} << "\" stopped at " << write.what << ": "
                   << written.error() << " " << Decimal(static_cast<std::int64_t>(writer->writes())) << " of "
                   << Decimal(static_cast<std::int64_t>(plan.writes.size())) << " fields were written before it"
                   << (closed ? "" : " (and closing the file failed too)") << ".";
        }
    }
    if (auto closed = CloseLoadedMap(map, *writer); !closed) return closed;
    std::vector<RecordChange> changes;
    for (const PlannedWrite& write : plan.writes) changes.insert(changes.end(), write.changes.begin(), write.changes.end());
    for (RecordChange& change : changes) ApplyForward(map, change);
    if (history) history->recorded(map, WriteStep{kApplyStepName, writer->journal(), std::move(changes)});
    return success();
}

}  // namespace quorin
