// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A script's or global's text as the main window and `quorin-cli
// script|global` show it (the SelectionDisplay rules of TextProducer), one
// record at a time: whole in memory up to a limit, streamed to a
// TextOutput, or with its parts.

#include <cstddef>
#include <string>

#include "base/TextSink.h"
#include "map/MapState.h"
#include "map/Records.h"
#include "script/TextParts.h"
#include "script/TextProducer.h"

namespace quorin {

// "(script TYPE RETURN NAME", the child line, the walk and "))" with no line
// end; cut after `most` bytes.
std::string DecompileScript(const MapContent& map, const ScriptHeader& script,
                            std::size_t most = kDecompiledTextLimit);
// "(global TYPE NAME VALUE)", no line end; cut after `most` bytes.
std::string DecompileGlobal(const MapContent& map, const GlobalHeader& global,
                            std::size_t most = kDecompiledTextLimit);
// The same texts written to out whole.
void WriteScriptText(TextOutput& out, const MapContent& map, const ScriptHeader& script);
void AppendGlobalDeclaration(TextOutput& out, const MapContent& map, const GlobalHeader& global);

// The same texts with their parts, for the script or global at a cache
// position; cut after `most` bytes.
PartedText ScriptTextParts(const MapContent& map, std::size_t position, std::size_t most = kDecompiledTextLimit);
PartedText GlobalTextParts(const MapContent& map, std::size_t position, std::size_t most = kDecompiledTextLimit);

}  // namespace quorin
