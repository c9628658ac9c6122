// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/HitRow.h"

#include "browse/RowText.h"
#include "browse/TreeRows.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

std::optional<std::size_t> FolderRow(const MapContent& map, RowKind folder) {
    const std::vector<TreeRow> top = TopRows(map);
    for (std::size_t i = 0; i < top.size(); ++i) {
        if (ClassifyRow(top[i].text).kind == folder) return i;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::size_t> TreePathFor(const MapContent& map, const SearchHit& hit) {
    const bool global = hit.kind == HitKind::Global;
    const std::size_t count = global ? map.GlobalHeaderCache.size() : map.ScriptHeaderCache.size();
    const auto folder = FolderRow(map, global ? RowKind::GlobalsFolder : RowKind::ScriptsFolder);
    if (!folder || hit.position >= count) return {};
    std::vector<std::size_t> path{*folder, hit.position};
    if (hit.kind != HitKind::Use) return path;

    const std::string rowText = ScriptRowText(map.ScriptHeaderCache[hit.position].Name);
    const std::string identity = Decimal(hit.identity);
    const ChildRows children = ChildRowsFor(map, rowText);
    for (std::size_t i = 0; i < children.rows.size(); ++i) {
        if (children.rows[i].text == identity) {
            path.push_back(i);
            break;
        }
    }
    return path;
}

}  // namespace quorin
