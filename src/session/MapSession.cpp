// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/MapSession.h"

#include "edit/FieldRule.h"
#include "edit/FieldWriteBack.h"
#include "edit/MapProtection.h"
#include "session/HitRow.h"
#include "session/TextEditApply.h"

namespace quorin {

Status MapSession::open(const std::string& path, const std::vector<std::string>& stockNames, OpenMode mode) {
    if (auto loaded = OpenMap(map_, path, stockNames, mode); !loaded) return loaded;
    stockNames_ = stockNames;
    history_.clear();
    return success();
}

std::vector<RowKey> MapSession::rowsToHit(const SearchHit& hit) const { return TreePathFor(map_, hit); }

void MapSession::show(const SelectedRecord& record) { ShowRecord(map_, record); }

std::optional<SelectedRecord> MapSession::shown(RecordKind kind) const {
    const auto position = map_.shownPosition(kind);
    if (!position) return std::nullopt;
    return SelectedRecord{kind, *position};
}

std::optional<FieldValue> MapSession::fieldValue(EditField field) const {
    const auto record = shown(KindOf(RuleFor(field)));
    if (!record) return std::nullopt;
    for (FieldValue& value : PageFields(map_, *record)) {
        if (value.field == field) return std::move(value);
    }
    return std::nullopt;
}

Status MapSession::commitField(EditField field, std::string_view text) {
    return CommitField(map_, field, text, &history_);
}

Status MapSession::commitChoice(EditField popup, int index) { return CommitPopup(map_, popup, index, &history_); }

Status MapSession::protect() { return ProtectScripts(map_, &history_); }

Status MapSession::apply(const TextPlan& plan) { return ApplyTextPlan(map_, plan, &history_); }

}  // namespace quorin
