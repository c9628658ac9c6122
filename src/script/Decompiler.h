#pragma once
// Turns a script's syntax nodes back into parenthesised source text and a
// global into its one-line declaration. The body is a walk over consecutive
// cache positions, not over the tree: the links only find the two ends of
// the walk and decide where groups close.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "map/MapState.h"
#include "map/Records.h"

namespace quorin {

// Which nodes print their text instead of their value. The selection display
// prints the text of engine identity -1 and of expression type 13; the range
// extraction prints neither; the extract-all run prints engine identity -1
// only. The three differ on purpose.
enum class NodeTextRules { SelectionDisplay, RangeExtraction, ExtractAll };

// Nodes are found through the map's identity lookup, with its fallback to
// position 0 for an identity the dictionary lacks.

// Selection display text: header, child line, walk and "))" with no line end.
std::string DecompileScript(const MapContent& map, const ScriptHeader& script);
// "(global TYPE NAME VALUE)", no line end. Without any node there is no value:
// "(global TYPE NAME)".
std::string DecompileGlobal(const MapContent& map, const GlobalHeader& global);

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
void AppendScriptHeader(std::string& out, const ScriptHeader& script);
// The child line (when the root's first child has expression type 9) and the
// walk from the child's sibling up to the position before the root. Returns
// the number of positions walked. Appends nothing when the cache is empty.
std::int64_t AppendScriptBody(std::string& out, const MapContent& map, const ScriptHeader& script,
                              NodeTextRules rules);
void AppendNodeText(std::string& out, const Syntax& node, NodeTextRules rules);
// Closes groups after a node of expression type 9 (at most one closer).
void AppendCloser(std::string& out, const Syntax& node);
void AppendGlobalDeclaration(std::string& out, const MapContent& map, const GlobalHeader& global);

}  // namespace quorin
