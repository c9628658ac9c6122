// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/TreeRows.h"

#include "browse/RowText.h"
#include "base/TextFormat.h"

namespace quorin {

namespace {

// The node an identity leads to, with its position; nullptr when the
// dictionary does not hold the identity (the tree makes nothing up for it).
const Syntax* NodeAt(const MapContent& map, std::int32_t identity, std::size_t* position = nullptr) {
    const auto found = map.syntaxPosition(identity);
    if (!found) return nullptr;
    if (position) *position = *found;
    return &map.SyntaxCache[*found];
}

void AddScriptNodes(const MapContent& map, std::string_view name, std::vector<TreeRow>& rows) {
    const auto position = map.scriptPosition(name);
    if (!position) return;
    const ScriptHeader* script = &map.ScriptHeaderCache[*position];
    rows.push_back({Decimal(script->ExpPointer), false});

    std::size_t root = 0;
    const Syntax* rootNode = NodeAt(map, script->ExpPointer, &root);
    if (!rootNode) return;
    const Syntax* child = NodeAt(map, rootNode->KidExpPointer);
    if (!child) return;
    rows.push_back({Decimal(child->ExpIdentity), false});

    std::size_t first = 0;
    if (!NodeAt(map, child->SibExpPointer, &first)) return;
    if (first < root) rows.reserve(rows.size() + (root - first));
    for (std::size_t p = first; p < root; ++p) rows.push_back({Decimal(map.SyntaxCache[p].ExpIdentity), false});
}

void AddGlobalRows(const MapContent& map, std::string_view name, std::vector<TreeRow>& rows) {
    const auto position = map.globalPosition(name);
    if (!position) return;
    const GlobalHeader* global = &map.GlobalHeaderCache[*position];
    rows.push_back({GlobalRowText(global->Name), false});
    rows.push_back({Decimal(global->ExpPointer), false});
}

}  // namespace

ChildRows ChildRowsFor(const MapContent& map, std::string_view rowText) {
    ChildRows children;
    const RowText row = ClassifyRow(rowText);
    switch (row.kind) {
    case RowKind::ScriptsFolder:
        children.rows.reserve(map.ScriptHeaderCache.size());
        for (const ScriptHeader& script : map.ScriptHeaderCache) children.rows.push_back({ScriptRowText(script.Name), true});
        break;
    case RowKind::GlobalsFolder:
        children.rows.reserve(map.GlobalHeaderCache.size());
        for (const GlobalHeader& global : map.GlobalHeaderCache) children.rows.push_back({GlobalRowText(global.Name), true});
        break;
    case RowKind::Script:
        AddScriptNodes(map, row.name, children.rows);
        break;
    case RowKind::Global:
        AddGlobalRows(map, row.name, children.rows);
        break;
    case RowKind::Other:
        children.known = false;
        break;
    }
    return children;
}

std::optional<std::string> RowTextAfterChange(const MapContent& map, std::string_view rowText, RecordKind kind,
                                              std::size_t position) {
    const RowText row = ClassifyRow(rowText);
    switch (row.kind) {
    case RowKind::Script:
        if (kind != RecordKind::Script || map.scriptPosition(row.name) != position) return std::nullopt;
        return ScriptRowText(map.ScriptHeaderCache[position].Name);
    case RowKind::Global:
        if (kind != RecordKind::Global || map.globalPosition(row.name) != position) return std::nullopt;
        return GlobalRowText(map.GlobalHeaderCache[position].Name);
    case RowKind::Other: {
        const auto identity = IdentityFromKey(rowText);
        if (kind != RecordKind::Syntax || !identity || map.syntaxPosition(*identity) != position) return std::nullopt;
        return Decimal(map.SyntaxCache[position].ExpIdentity);
    }
    case RowKind::ScriptsFolder:
    case RowKind::GlobalsFolder:
        break;
    }
    return std::nullopt;
}

std::vector<TreeRow> TopRows(const MapContent& map) {
    std::vector<TreeRow> rows;
    for (const std::string& text : map.FolderRows) rows.push_back({text, true});
    return rows;
}

}  // namespace quorin
