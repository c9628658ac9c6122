// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run of each quorin-cli command, defined in the file named beside it;
// the command table (CommandTable.cpp) lists them with their names, usage
// and arguments.

#include <string_view>

#include "app/cli/CliCommand.h"

namespace quorin::cli {

// The commands' own options.
inline constexpr std::string_view kForceFlag = "--force";  // demo: replace OUT
inline constexpr std::string_view kStatFlag = "--stat";    // diff: the counts only
inline constexpr std::string_view kDryRunFlag = "--dry-run";  // apply: the plan only, nothing written

// EditCommands.cpp
int Set(CliContext& context);
int Protect(CliContext& context);

// ApplyCommand.cpp
int Apply(CliContext& context);
int ScriptJson(CliContext& context);
int GlobalJson(CliContext& context);

// FindCommand.cpp
int Find(CliContext& context);
int FindJson(CliContext& context);

// DiffCommand.cpp
int Diff(CliContext& context);
int DiffJson(CliContext& context);

// MapCommands.cpp
int Info(CliContext& context);
int List(CliContext& context);
int Demo(CliContext& context);

// JsonCommands.cpp
int InfoJson(CliContext& context);
int ListJson(CliContext& context);
int DatabaseJson(CliContext& context);

// TextCommands.cpp
int Script(CliContext& context);
int Global(CliContext& context);
int ExtractScripts(CliContext& context);
int ExtractGlobals(CliContext& context);
int ExtractEverything(CliContext& context);
int Database(CliContext& context);

}  // namespace quorin::cli
