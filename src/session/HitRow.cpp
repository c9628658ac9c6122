// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/HitRow.h"

#include <algorithm>

#include "browse/TreeRows.h"

namespace quorin {

std::vector<RowKey> TreePathFor(const MapContent& map, const SearchHit& hit) {
    const bool global = hit.kind == HitKind::Global;
    const std::size_t count = global ? map.GlobalHeaderCache.size() : map.ScriptHeaderCache.size();
    const RowKind folder = global ? RowKind::GlobalsFolder : RowKind::ScriptsFolder;
    const std::vector<TreeRow> top = TopRows(map);
    const bool hasFolder =
        std::any_of(top.begin(), top.end(), [folder](const TreeRow& row) { return row.key.kind == folder; });
    if (!hasFolder || hit.position >= count) return {};
    std::vector<RowKey> path{{folder, 0}, {global ? RowKind::Global : RowKind::Script, hit.position}};
    if (hit.kind != HitKind::Use) return path;

    const RowKey node{RowKind::Node, hit.node};
    for (const TreeRow& child : ChildRowsFor(map, path.back()).rows) {
        if (child.key == node) {
            path.push_back(node);
            break;
        }
    }
    return path;
}

}  // namespace quorin
