// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadOnlyOperations.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "browse/PageFill.h"
#include "browse/RowText.h"
#include "browse/TreeRows.h"
#include "database/CommandDatabase.h"
#include "extract/ExtractAll.h"
#include "extract/RangeExtraction.h"
#include "base/LimitedText.h"
#include "map/MapLoader.h"
#include "map/MapNames.h"
#include "script/Decompiler.h"
#include "session/HitRow.h"
#include "search/MapSearch.h"

namespace quorin::fuzzing {

namespace {

void Check(bool holds, const char* what) {
    if (!holds) throw std::logic_error(what);
}

// Every text is made through a sink that keeps this much and then stops the
// producer, as a result window does at its limit; a hostile map can ask for
// gigabytes of text, and a stopped producer must end at once.
constexpr std::size_t kMostText = 256 * 1024;

// A text that was stopped kept exactly the limit, and its whole size says it
// did not fit; a whole text has the size worked out without making it.
void CheckSize(bool complete, const LimitedText& text, std::int64_t wholeSize, const char* what) {
    if (complete) Check(static_cast<std::int64_t>(text.text().size()) == wholeSize, what);
    else Check(text.text().size() == kMostText && wholeSize > static_cast<std::int64_t>(kMostText), what);
}

// How much script and global text one input may make in all, and how many
// node rows it may list below scripts. A map can make every script walk every
// node; a user opens one script at a time, the fuzzer opens all of them.
struct Budget {
    std::size_t textBytes = 8 * 1024 * 1024;
    std::size_t childRows = 200000;

    std::size_t nextText() const { return std::min(textBytes, kMostText); }
    void spent(const std::string& text) { textBytes -= std::min(textBytes, text.size()); }
};

std::optional<PageFill> Page(const MapState& map, const RowKey& row, Budget& budget) {
    auto page = PageForRow(map, row, budget.nextText());
    if (page) budget.spent(page->text);
    return page;
}

constexpr std::size_t kMostFolderNameBytes = 16 * 1024 * 1024;
// A sparse file of tens of megabytes can hold a table of a million entries;
// the rows of a folder that large are not opened one by one.
constexpr std::size_t kMostFolderRows = 100000;

// The bytes of the names a top folder's rows hold.
std::size_t FolderNameBytes(const MapState& map, const RowKey& folder) {
    std::size_t bytes = 0;
    if (folder.kind == RowKind::ScriptsFolder) {
        for (const ScriptHeader& script : map.ScriptHeaderCache) bytes += script.Name.size();
    } else {
        for (const GlobalHeader& global : map.GlobalHeaderCache) bytes += global.Name.size();
    }
    return bytes;
}

// The script tree as a user would open it, row by row, with the editor page
// of every row, within the budget.
void WalkTheTree(const MapState& map, Budget& budget) {
    constexpr int kMostNodePages = 2000;
    int nodePages = 0;
    for (const TreeRow& top : TopRows(map)) {
        (void)Page(map, top.key, budget);
        // Each row of a folder holds its record's name, and a name with no
        // zero byte runs on through the table: the rows of such a folder hold
        // the table's bytes many times over. A bounded folder is opened.
        const std::size_t records =
            top.key.kind == RowKind::ScriptsFolder ? map.ScriptHeaderCache.size() : map.GlobalHeaderCache.size();
        if (records > kMostFolderRows || FolderNameBytes(map, top.key) > kMostFolderNameBytes) continue;
        for (const TreeRow& row : ChildRowsFor(map, top.key).rows) {
            (void)Page(map, row.key, budget);
            if (!row.folder || budget.childRows == 0) continue;
            const ChildRows children = ChildRowsFor(map, row.key);
            budget.childRows -= std::min(budget.childRows, children.rows.size());
            Check(children.known, "script and global rows are known folders");
            for (const TreeRow& child : children.rows) {
                if (nodePages++ < kMostNodePages) (void)Page(map, child.key, budget);
            }
        }
    }
    Check(!ChildRowsFor(map, RowKey{RowKind::Node, 0}).known, "a node row is not a folder");
}

// The search for a few texts, in one go and in small slices, and the tree
// row of the first hits (each row costs a script's expansion).
void SearchEverything(const MapState& map) {
    for (const char* query : {"e", "\xff", "begin"}) {
        const SearchResult found = FindInMap(map, query);
        MapSearch sliced(map, query);
        while (!sliced.advance(64)) {
        }
        Check(sliced.result().hits == found.hits, "slices find what one go finds");
        for (std::size_t i = 0; i < found.hits.size() && i < 50; ++i) {
            Check(TreePathFor(map, found.hits[i]).size() >= 2, "every hit has a folder and a row");
        }
    }
}

void RunReadOnlyOperations(const MapState& map) {
    Budget budget;
    WalkTheTree(map, budget);
    SearchEverything(map);
    for (const ScriptHeader& script : map.ScriptHeaderCache) {
        const std::size_t most = budget.nextText();
        const std::string text = DecompileScript(map, script, most);
        budget.spent(text);
        Check(text.size() == most || (text.size() >= 2 && text.compare(text.size() - 2, 2, "))") == 0),
              "script text must end with ))");
    }
    for (const GlobalHeader& global : map.GlobalHeaderCache) {
        const std::string line = DecompileGlobal(map, global, budget.nextText());
        budget.spent(line);
        Check(line.size() == kMostText || line.find('\n') == std::string::npos || global.Name.view().find('\n') != std::string::npos,
              "a global's text is one line");
    }
    const auto scripts = static_cast<std::int64_t>(map.ScriptHeaderCache.size());
    const auto globals = static_cast<std::int64_t>(map.GlobalHeaderCache.size());

    LimitedText range(kMostText);
    CheckSize(WriteScriptRange(map, 0, scripts - 1, range), range, ScriptRangeSize(map, 0, scripts - 1),
              "a script range has the size worked out for it");
    Check(ScriptRangeSize(map, 1, scripts + 5) <= ScriptRangeSize(map, 0, scripts - 1), "ranges stay inside the cache");
    LimitedText globalRange(kMostText);
    CheckSize(WriteGlobalRange(map, 0, globals + 3, globalRange), globalRange, GlobalRangeSize(map, 0, globals - 1),
              "a global range has the size worked out for it");

    LimitedText allText(kMostText);
    const ExtractAllResult all = ExtractAll(map, allText);
    CheckSize(all.complete, allText, ExtractAllSize(map), "extract-all has the size worked out for it");
    if (all.complete) {
        std::int64_t walked = 0;
        for (const ScriptHeader& script : map.ScriptHeaderCache) {
            if (const auto walk = WalkOf(map, script)) walked += static_cast<std::int64_t>(walk->walked());
        }
        Check(all.globals == globals && all.scripts == scripts, "extract-all counts every record");
        Check(all.syntaxParts == globals + 2 * scripts + walked, "syntax parts are g + 2s + w");
    } else {
        Check(all.globals <= globals && all.scripts <= scripts, "a stopped run counts what it began");
    }
    (void)all.message();

    LimitedText databaseText(kMostText);
    const CommandDatabaseResult database = WriteCommandDatabase(map.SyntaxCache, databaseText);
    Check(database.processed == static_cast<std::int64_t>(map.SyntaxCache.size()), "every node is processed");
    Check(database.added <= database.processed, "no more commands added than nodes");
    CheckSize(database.complete, databaseText, database.textSize, "the database has the size worked out for it");
    (void)database.message();
}

}  // namespace

// The largest file an input may make.
std::int64_t MostFile() {
    static const std::int64_t most = [] {
        const char* given = std::getenv("QUORIN_FUZZ_MOST_FILE");
        return given && *given ? std::clamp<std::int64_t>(std::atoll(given), 0, kMostSparseFile) : kMostSparseFile;
    }();
    return most;
}

std::int64_t SparseSizeOf(const std::uint8_t* bytes, std::size_t& size) {
    if (size < kSparseTag.size() + 8) return 0;
    const std::size_t tagAt = size - 8 - kSparseTag.size();
    if (std::memcmp(bytes + tagAt, kSparseTag.data(), kSparseTag.size()) != 0) return 0;
    std::uint64_t wanted = 0;
    for (int i = 7; i >= 0; --i) wanted = wanted << 8 | bytes[size - 8 + static_cast<std::size_t>(i)];
    size = tagAt;
    return static_cast<std::int64_t>(std::min<std::uint64_t>(wanted, static_cast<std::uint64_t>(MostFile())));
}

bool LoadAndReadEverything(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
    const std::int64_t sparse = SparseSizeOf(bytes, size);
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes, 1, size, file);
        std::fclose(file);
    }
    // Longer without writing the rest: the holes read as zero bytes.
    if (sparse > static_cast<std::int64_t>(size)) {
        std::error_code ignored;
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(sparse), ignored);
    }
    MapState map;
    const Status loaded = OpenMap(map, path, BuiltInMapNames());
    // A refusal always says why.
    if (!loaded && MessageOf(loaded.error()).empty()) throw std::logic_error("a refusal without a message");
    if (loaded) RunReadOnlyOperations(map);
    return loaded.ok();
}

}  // namespace quorin::fuzzing
