// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/TreeRows.h"

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

TreeRow NodeRow(std::int32_t identity, std::size_t position) {
    return {Decimal(identity), false, {RowKind::Node, position}};
}

// The row of the node a link names. It shows the node's own identity, as a
// row does once a write changed the node; a link the dictionary cannot
// follow shows its identity and reaches node 0.
TreeRow LinkRow(const MapContent& map, std::int32_t identity) {
    std::size_t position = 0;
    const Syntax* node = NodeAt(map, identity, &position);
    return NodeRow(node ? node->ExpIdentity : identity, position);
}

void AddScriptNodes(const MapContent& map, std::size_t position, std::vector<TreeRow>& rows) {
    if (position >= map.ScriptHeaderCache.size()) return;
    const ScriptHeader& script = map.ScriptHeaderCache[position];
    rows.push_back(LinkRow(map, script.ExpPointer));
    std::size_t root = 0;
    const Syntax* rootNode = NodeAt(map, script.ExpPointer, &root);
    if (!rootNode) return;

    std::size_t childAt = 0;
    const Syntax* child = NodeAt(map, rootNode->KidExpPointer, &childAt);
    if (!child) return;
    rows.push_back(NodeRow(child->ExpIdentity, childAt));

    std::size_t first = 0;
    if (!NodeAt(map, child->SibExpPointer, &first)) return;
    if (first < root) rows.reserve(rows.size() + (root - first));
    for (std::size_t p = first; p < root; ++p) rows.push_back(NodeRow(map.SyntaxCache[p].ExpIdentity, p));
}

void AddGlobalRows(const MapContent& map, std::size_t position, std::vector<TreeRow>& rows) {
    if (position >= map.GlobalHeaderCache.size()) return;
    const GlobalHeader& global = map.GlobalHeaderCache[position];
    rows.push_back({GlobalRowText(global.Name), false, {RowKind::Global, position}});
    rows.push_back(LinkRow(map, global.ExpPointer));
}

}  // namespace

ChildRows ChildRowsFor(const MapContent& map, const RowKey& row) {
    ChildRows children;
    switch (row.kind) {
    case RowKind::ScriptsFolder:
        children.rows.reserve(map.ScriptHeaderCache.size());
        for (std::size_t i = 0; i < map.ScriptHeaderCache.size(); ++i) {
            children.rows.push_back({ScriptRowText(map.ScriptHeaderCache[i].Name), true, {RowKind::Script, i}});
        }
        break;
    case RowKind::GlobalsFolder:
        children.rows.reserve(map.GlobalHeaderCache.size());
        for (std::size_t i = 0; i < map.GlobalHeaderCache.size(); ++i) {
            children.rows.push_back({GlobalRowText(map.GlobalHeaderCache[i].Name), true, {RowKind::Global, i}});
        }
        break;
    case RowKind::Script:
        AddScriptNodes(map, row.position, children.rows);
        break;
    case RowKind::Global:
        AddGlobalRows(map, row.position, children.rows);
        break;
    case RowKind::Node:
        children.known = false;
        break;
    }
    return children;
}

std::optional<std::string> RowTextAfterChange(const MapContent& map, const RowKey& row, const SelectedRecord& changed) {
    if (RecordForRow(map, row) != changed) return std::nullopt;
    switch (changed.kind) {
    case RecordKind::Script: return ScriptRowText(map.ScriptHeaderCache[changed.position].Name);
    case RecordKind::Global: return GlobalRowText(map.GlobalHeaderCache[changed.position].Name);
    case RecordKind::Syntax: break;
    }
    return Decimal(map.SyntaxCache[changed.position].ExpIdentity);
}

std::vector<TreeRow> TopRows(const MapContent& map) {
    std::vector<TreeRow> rows;
    for (const std::string& text : map.FolderRows) {
        const RowKind kind = text == kGlobalsFolder ? RowKind::GlobalsFolder : RowKind::ScriptsFolder;
        rows.push_back({text, true, {kind, 0}});
    }
    return rows;
}

}  // namespace quorin
