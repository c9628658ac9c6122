// SPDX-License-Identifier: GPL-3.0-or-later
// info, list and demo: what a map holds, and the built-in demo map.

#include <ostream>

#include "app/cli/CliCommand.h"
#include "app/cli/CommandRuns.h"
#include "app/cli/MapFacts.h"
#include "browse/RowText.h"
#include "builder/DemoMap.h"
#include "file/SystemFile.h"
#include "base/TextFormat.h"

namespace quorin::cli {

int Info(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    for (const MapFact& fact : InfoFacts(*state)) {
        context.out << fact.label << ": ";
        switch (fact.shown) {
            case MapFact::Shown::Decimal: context.out << Decimal(fact.number); break;
            case MapFact::Shown::Hexadecimal:
                context.out << "0x" << Hexadecimal(static_cast<std::int32_t>(fact.number));
                break;
            case MapFact::Shown::Text: context.out << fact.text; break;
        }
        context.out << '\n';
    }
    return kSuccess;
}

int List(CliContext& context) {
    auto state = LoadForCommand(context, context.args[0]);
    if (!state) return kRefused;
    // The rows the tree shows under the two folders.
    for (const ScriptHeader& script : state->ScriptHeaderCache) context.out << ScriptRowText(script.Name) << '\n';
    for (const GlobalHeader& global : state->GlobalHeaderCache) context.out << GlobalRowText(global.Name) << '\n';
    return kSuccess;
}

int Demo(CliContext& context) {
    const std::string& path = context.args[0];
    auto target = FileReplacement::prepare(path);
    if (!target) {
        context.err << MessageOf(target.error()) << '\n';
        return kRefused;
    }
    const bool force = context.hasFlag(kForceFlag);
    if (target->replacesExisting() && !force) {
        context.err << "\"" << path << "\" exists already; give --force to replace it.\n";
        return kRefused;
    }
    if (auto written = target->commit(DemoMap().build(), force); !written) {
        context.err << MessageOf(written.error()) << '\n';
        return kRefused;
    }
    return kSuccess;
}

}  // namespace quorin::cli
