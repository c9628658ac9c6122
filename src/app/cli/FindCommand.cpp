// find: where a text occurs in a map (script and global names, and the
// nodes of every script's text), one tab-separated line per hit.

#include <ostream>

#include "app/cli/CliCommand.h"
#include "search/HitLines.h"
#include "search/MapSearch.h"

namespace quorin::cli {

namespace {

// As grep: nothing found is not a failure worth a message, only a status.
constexpr int kNothingFound = 1;

int Find(CliContext& context) {
    const std::string& query = context.args[1];
    if (query.empty()) {
        context.err << "quorin-cli: QUERY must not be empty (it would match everything)\n";
        return kUsage;
    }
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    const SearchResult result = FindInMap(*state, query);
    WriteHitLines(context.out, result.hits);
    if (!result.complete) {
        context.err << "the search stopped after " << result.hits.size()
                    << " hits: the map's scripts walk the same nodes over and over\n";
    }
    return result.hits.empty() ? kNothingFound : kSuccess;
}

const CommandRegistration find({"find", "find MAP QUERY", 2, 2, Find});

}  // namespace

}  // namespace quorin::cli
