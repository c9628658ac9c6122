// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a script's syntax nodes back into parenthesised source text and a
// global into its one-line declaration. The body is a walk over consecutive
// cache positions, not over the tree: the links only find the two ends of
// the walk and decide where groups close.
//
// Texts are written to a TextOutput as they are made; a walk ends early
// once its output is stopped.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "map/MapState.h"
#include "map/Records.h"
#include "base/TextSink.h"

namespace quorin {

// Which nodes print their text instead of their value. The selection display
// prints the text of engine identity -1 and of expression type 13; the range
// extraction prints neither; the extract-all run prints engine identity -1
// only. The three differ on purpose.
enum class NodeTextRules { SelectionDisplay, RangeExtraction, ExtractAll };

// Nodes are found through the map's identity lookup, with its fallback to
// position 0 for an identity the dictionary lacks.

// The longest script or global text the two functions below return: a
// walk can repeat the map's longest node text once per node, so a hostile
// map could otherwise ask for far more memory than it has bytes.
inline constexpr std::size_t kDecompiledTextLimit = 64 * 1024 * 1024;

// Selection display text: header, child line, walk and "))" with no line
// end; cut after `most` bytes.
std::string DecompileScript(const MapContent& map, const ScriptHeader& script,
                            std::size_t most = kDecompiledTextLimit);
// "(global TYPE NAME VALUE)", no line end. Without any node there is no value:
// "(global TYPE NAME)". Cut after `most` bytes.
std::string DecompileGlobal(const MapContent& map, const GlobalHeader& global,
                            std::size_t most = kDecompiledTextLimit);
// The text DecompileScript makes, written to out whole.
void WriteScriptText(TextOutput& out, const MapContent& map, const ScriptHeader& script);

// The nodes a script's text is built from, as cache positions: the root,
// its first child (printed on a line of its own when it has expression type
// 9) and the walk from the child's sibling up to the position before the
// root (empty when the sibling lies at or after the root). Every end is
// found through the identity lookup with its fallback to position 0.
// Nothing when the cache is empty.
struct ScriptWalk {
    std::size_t root = 0;
    std::size_t child = 0;
    std::size_t first = 0;  // walked: first .. root - 1

    [[nodiscard]] std::size_t walked() const { return first < root ? root - first : 0; }
};
[[nodiscard]] std::optional<ScriptWalk> WalkOf(const MapContent& map, const ScriptHeader& script);
// True when a root's first child gets a line of its own in the text.
[[nodiscard]] bool ChildHasOwnLine(const Syntax& child);

// The pieces, for texts that put them together differently.

// "(script TYPE RETURN NAME"; startup and continuous scripts carry no return type.
void AppendScriptHeader(TextOutput& out, const ScriptHeader& script);
// The child line (when the root's first child has expression type 9) and the
// walk from the child's sibling up to the position before the root. Returns
// the number of positions in the walk (the walk ends early when out stops).
// Appends nothing when the cache is empty.
std::int64_t AppendScriptBody(TextOutput& out, const MapContent& map, const ScriptHeader& script,
                              NodeTextRules rules);
void AppendNodeText(TextOutput& out, const Syntax& node, NodeTextRules rules);
// Closes groups after a node of expression type 9 (at most one closer).
void AppendCloser(TextOutput& out, const Syntax& node);
void AppendGlobalDeclaration(TextOutput& out, const MapContent& map, const GlobalHeader& global);

// Whether a node's text under rules is a space and its Command, rather than
// "(" or its value.
[[nodiscard]] bool TextIsCommand(const Syntax& node, NodeTextRules rules);

}  // namespace quorin
