#include "ReadOnlyOperations.h"

#include <cstdio>
#include <stdexcept>

#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "script/Decompiler.h"
#include "ui/main/PageFill.h"
#include "ui/main/ScriptTree.h"

namespace quorin::fuzzing {

namespace {

class CountedMessages final : public MessageSink {
public:
    void showMessage(std::string_view) override { ++count; }
    int count = 0;
};

void Check(bool holds, const char* what) {
    if (!holds) throw std::logic_error(what);
}

// The script tree as a user would open it, row by row, with the editor page
// of every row. Node rows below scripts are many; a bounded number of them
// keeps one input quick.
void WalkTheTree(const MapState& map) {
    constexpr int kMostNodePages = 2000;
    int nodePages = 0;
    for (const ui::TreeRow& top : ui::TopRows(map)) {
        (void)ui::PageForRow(map, top.text);
        for (const ui::TreeRow& row : ui::ChildRowsFor(map, top.text).rows) {
            (void)ui::PageForRow(map, row.text);
            if (!row.folder) continue;
            const ui::ChildRows children = ui::ChildRowsFor(map, row.text);
            Check(children.known, "script and global rows are known folders");
            for (const ui::TreeRow& child : children.rows) {
                if (nodePages++ < kMostNodePages) (void)ui::PageForRow(map, child.text);
            }
        }
    }
    Check(!ui::ChildRowsFor(map, "x: not a folder").known, "a stray row is not a folder");
}

void RunReadOnlyOperations(const MapState& map) {
    WalkTheTree(map);
    const SyntaxView syntax = SyntaxView::of(map);
    std::string rangeBlocks;
    std::int64_t walked = 0;
    for (const ScriptHeader& script : map.ScriptHeaderCache) {
        const std::string text = DecompileScript(map, script);
        Check(text.size() >= 2 && text.compare(text.size() - 2, 2, "))") == 0, "script text must end with ))");
        AppendScriptBlock(rangeBlocks, syntax, script, NodeTextRules::RangeExtraction);
        std::string allBlock;
        walked += AppendScriptBlock(allBlock, syntax, script, NodeTextRules::ExtractAll);
    }
    for (const GlobalHeader& global : map.GlobalHeaderCache) {
        const std::string line = DecompileGlobal(map, global);
        Check(line.find('\n') == std::string::npos || global.Name.find('\n') != std::string::npos,
              "a global's text is one line");
    }
    const auto scripts = static_cast<std::int64_t>(map.ScriptHeaderCache.size());
    const auto globals = static_cast<std::int64_t>(map.GlobalHeaderCache.size());
    Check(ScriptRangeText(map, 0, scripts - 1) == rangeBlocks, "a range is its scripts' blocks");
    Check(ScriptRangeText(map, -5, scripts + 5).size() <= rangeBlocks.size(), "ranges stay inside the cache");
    (void)GlobalRangeText(map, 0, globals + 3);

    const ExtractAllResult all = ExtractAll(ExtractionSnapshot::of(map));
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
    CountedMessages messages;
    const bool loaded = OpenMap(map, path, BuiltInMapNames(), messages);
    // Every load ends with exactly one message, whatever the bytes were.
    if (messages.count != 1) throw std::logic_error("a load showed no message or more than one");
    if (loaded) RunReadOnlyOperations(map);
    return loaded;
}

}  // namespace quorin::fuzzing
