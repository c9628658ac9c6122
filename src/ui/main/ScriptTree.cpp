#include "ui/main/ScriptTree.h"

#include "map/TextFormat.h"
#include "ui/main/RowText.h"

namespace quorin::ui {

namespace {

// The node at the position the dictionary gives for identity; nullptr when
// the identity is not there (or the position is stale).
const Syntax* NodeAt(const MapState& map, std::int32_t identity, std::size_t* position = nullptr) {
    const auto found = map.syntaxPosition(identity);
    if (!found || *found < 0 || static_cast<std::size_t>(*found) >= map.SyntaxCache.size()) return nullptr;
    if (position) *position = static_cast<std::size_t>(*found);
    return &map.SyntaxCache[static_cast<std::size_t>(*found)];
}

template <typename Record>
const Record* RecordNamed(const std::vector<Record>& cache, std::optional<std::int32_t> position) {
    if (!position || *position < 0 || static_cast<std::size_t>(*position) >= cache.size()) return nullptr;
    return &cache[static_cast<std::size_t>(*position)];
}

void AddScriptNodes(const MapState& map, std::string_view name, std::vector<TreeRow>& rows) {
    const ScriptHeader* script = RecordNamed(map.ScriptHeaderCache, map.scriptPosition(name));
    if (!script) return;
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

void AddGlobalRows(const MapState& map, std::string_view name, std::vector<TreeRow>& rows) {
    const GlobalHeader* global = RecordNamed(map.GlobalHeaderCache, map.globalPosition(name));
    if (!global) return;
    rows.push_back({GlobalRowText(global->Name), false});
    rows.push_back({Decimal(global->ExpPointer), false});
}

}  // namespace

ChildRows ChildRowsFor(const MapState& map, std::string_view rowText) {
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

std::vector<TreeRow> TopRows(const MapState& map) {
    std::vector<TreeRow> rows;
    for (const std::string& text : map.FolderRows) rows.push_back({text, true});
    return rows;
}

}  // namespace quorin::ui
