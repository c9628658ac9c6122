#include "ReadOnlyOperations.h"

#include <cstdio>
#include <stdexcept>

#include "browse/PageFill.h"
#include "browse/TreeRows.h"
#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "script/Decompiler.h"

namespace quorin::fuzzing {

namespace {

void Check(bool holds, const char* what) {
    if (!holds) throw std::logic_error(what);
}

// The script tree as a user would open it, row by row, with the editor page
// of every row. Node rows below scripts are many; a bounded number of them
// keeps one input quick.
void WalkTheTree(const MapState& map) {
    constexpr int kMostNodePages = 2000;
    int nodePages = 0;
    for (const TreeRow& top : TopRows(map)) {
        (void)PageForRow(map, top.text);
        for (const TreeRow& row : ChildRowsFor(map, top.text).rows) {
            (void)PageForRow(map, row.text);
            if (!row.folder) continue;
            const ChildRows children = ChildRowsFor(map, row.text);
            Check(children.known, "script and global rows are known folders");
            for (const TreeRow& child : children.rows) {
                if (nodePages++ < kMostNodePages) (void)PageForRow(map, child.text);
            }
        }
    }
    Check(!ChildRowsFor(map, "x: not a folder").known, "a stray row is not a folder");
}

void RunReadOnlyOperations(const MapState& map) {
    WalkTheTree(map);
    std::string rangeBlocks;
    std::int64_t walked = 0;
    for (const ScriptHeader& script : map.ScriptHeaderCache) {
        const std::string text = DecompileScript(map, script);
        Check(text.size() >= 2 && text.compare(text.size() - 2, 2, "))") == 0, "script text must end with ))");
        AppendScriptBlock(rangeBlocks, map, script, NodeTextRules::RangeExtraction);
        std::string allBlock;
        walked += AppendScriptBlock(allBlock, map, script, NodeTextRules::ExtractAll);
    }
    for (const GlobalHeader& global : map.GlobalHeaderCache) {
        const std::string line = DecompileGlobal(map, global);
        Check(line.find('\n') == std::string::npos || global.Name.view().find('\n') != std::string::npos,
              "a global's text is one line");
    }
    const auto scripts = static_cast<std::int64_t>(map.ScriptHeaderCache.size());
    const auto globals = static_cast<std::int64_t>(map.GlobalHeaderCache.size());
    Check(ScriptRangeText(map, 0, scripts - 1) == rangeBlocks, "a range is its scripts' blocks");
    Check(ScriptRangeText(map, -5, scripts + 5).size() <= rangeBlocks.size(), "ranges stay inside the cache");
    (void)GlobalRangeText(map, 0, globals + 3);

    const ExtractAllResult all = ExtractAll(map);
    Check(all.globals == globals && all.scripts == scripts, "extract-all counts every record");
    Check(all.syntaxParts == globals + 2 * scripts + walked, "syntax parts are g + 2s + w");
    (void)all.message();

    const CommandDatabaseResult database = BuildCommandDatabase(map.SyntaxCache);
    Check(database.processed == static_cast<std::int64_t>(map.SyntaxCache.size()), "every node is processed");
    Check(database.added == static_cast<std::int64_t>(database.lines.size()), "one line per added command");
    (void)database.message();
}

}  // namespace

bool LoadAndReadEverything(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes, 1, size, file);
        std::fclose(file);
    }
    MapState map;
    const Status loaded = OpenMap(map, path, BuiltInMapNames());
    // A refusal always says why.
    if (!loaded && loaded.error().message.empty()) throw std::logic_error("a refusal without a message");
    if (loaded) RunReadOnlyOperations(map);
    return loaded.ok();
}

}  // namespace quorin::fuzzing
