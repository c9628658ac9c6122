// SPDX-License-Identifier: GPL-3.0-or-later
// Every command of quorin-cli in one table, in the order the usage text
// lists them: the writes, the searches, the facts, then the texts. The
// parser, the usage text, --json and the shell completion all read it.

#include "app/cli/CliCommand.h"
#include "app/cli/CommandRuns.h"

namespace quorin::cli {

const std::vector<CliCommandInfo>& CommandTable() {
    static const std::vector<CliCommandInfo> table = {
        {"set", "set MAP script|global|node NAME|IDENTITY FIELD VALUE", 5, 5, Set},
        {"protect", "protect MAP", 1, 1, Protect},
        {"apply", "apply MAP script|global NAME FILE [--dry-run]", 4, 4, Apply, {std::string(kDryRunFlag)}},
        {"find", "find MAP QUERY", 2, 2, Find, {}, FindJson},
        {"diff", "diff OLD NEW [--stat]", 2, 2, Diff, {std::string(kStatFlag)}, DiffJson},
        {"info", "info MAP", 1, 1, Info, {}, InfoJson},
        {"list", "list MAP", 1, 1, List, {}, ListJson},
        // The demo map is built in: neither a map nor the stock names are read.
        {"demo", "demo OUT [--force]", 1, 1, Demo, {std::string(kForceFlag)}, nullptr, false},
        {"script", "script MAP NAME", 2, 2, Script, {}, ScriptJson},
        {"global", "global MAP NAME", 2, 2, Global, {}, GlobalJson},
        {"extract-scripts", "extract-scripts MAP FIRST LAST", 3, 3, ExtractScripts},
        {"extract-globals", "extract-globals MAP FIRST LAST", 3, 3, ExtractGlobals},
        {"extract-all", "extract-all MAP", 1, 1, ExtractEverything},
        {"database", "database MAP", 1, 1, Database, {}, DatabaseJson},
    };
    return table;
}

}  // namespace quorin::cli
