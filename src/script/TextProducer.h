// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one producer of script and global texts, under each of the three rule
// sets the tool prints. One walk makes a text and hands it to whoever reads
// it: the bytes (the main window, quorin-cli, the extractions), their count
// (the size of a text too long to keep), or the parts that say which field
// every token renders (see TextParts.h).
//
// A script's body is a walk over consecutive cache positions, not over the
// tree: the links only find the two ends of the walk and decide where
// groups close. Texts are handed on as they are made; a walk ends early once
// its reader is stopped.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "base/TextFormat.h"
#include "base/TextSink.h"
#include "map/MapState.h"
#include "map/Records.h"
#include "script/TextParts.h"

namespace quorin {

// The three texts the tool prints, which differ on purpose:
// - SelectionDisplay, the script text of the main window and `quorin-cli
//   script|global`: "(script TYPE RETURN NAME", the body and "))" with no
//   line end; a global's declaration with no line end. Engine identity -1
//   and expression type 13 print their node's text.
// - RangeExtraction: the header closed by ")" right after the name, the
//   body, "))" and two line ends; the declaration and a line end. No node
//   prints its text for its engine identity or expression type.
// - ExtractAll: the blocks and lines of RangeExtraction, but engine
//   identity -1 prints its node's text.
enum class NodeTextRules { SelectionDisplay, RangeExtraction, ExtractAll };

// The nodes a script's text is built from, as cache positions: the root,
// its first child (printed on a line of its own when it has expression type
// 9) and the walk from the child's sibling up to the position before the
// root (empty when the sibling lies at or after the root). Every end is
// found through the identity lookup with its fallback to position 0, so the
// walk never leaves the cache. Nothing when the cache is empty.
struct ScriptWalk {
    std::size_t root = 0;
    std::size_t child = 0;
    bool childLine = false;
    std::size_t first = 0;  // walked: first .. root - 1

    [[nodiscard]] std::size_t walked() const { return first < root ? root - first : 0; }
};
[[nodiscard]] std::optional<ScriptWalk> WalkOf(const MapContent& map, const ScriptHeader& script);

// Counts the bytes of a text instead of making it. It has TextOutput's
// face, so one function writes a text or finds its size.
class TextCount {
public:
    TextCount& operator+=(std::string_view text) {
        bytes_ += text.size();
        return *this;
    }
    TextCount& operator+=(char) {
        ++bytes_;
        return *this;
    }
    void appendDecimal(std::int64_t value) { bytes_ += DecimalSize(value); }
    // Bytes known to be made without going through here.
    void add(std::uint64_t bytes) { bytes_ += bytes; }
    [[nodiscard]] std::uint64_t appended() const { return bytes_; }
    [[nodiscard]] bool stopped() const { return false; }

private:
    std::uint64_t bytes_ = 0;
};

class TextProducer {
public:
    // NodeByNode renders each node as a walk meets it: for one text.
    // RenderedOnce renders every node's text and closer once, into one
    // buffer in cache order, so a walk, which covers consecutive positions,
    // is one run of that buffer: a map whose every script walks every node
    // costs a copy per script, not a decision per node. Long node texts stay
    // in the map's buffer and are handed on from there. Parts are always
    // made node by node.
    enum class Walks { NodeByNode, RenderedOnce };

    // The map must outlive the producer and stay unchanged meanwhile.
    TextProducer(const MapContent& map, NodeTextRules rules, Walks walks = Walks::NodeByNode);
    ~TextProducer();
    TextProducer(const TextProducer&) = delete;
    TextProducer& operator=(const TextProducer&) = delete;

    // A script's text. Returns the number of positions in its walk (the
    // walk ends early when out stops). The parts form takes the script's
    // cache position (which must lie in the cache): its header tokens carry
    // it. Bytes have no use for it.
    std::int64_t script(TextOutput& out, const ScriptHeader& script) const;
    std::int64_t script(TextCount& out, const ScriptHeader& script) const;
    std::int64_t script(PartSink& out, std::size_t position) const;

    // A global's text. Without any node there is no value: "(global TYPE NAME)".
    // The parts form takes the global's cache position, as above.
    void global(TextOutput& out, const GlobalHeader& global) const;
    void global(TextCount& out, const GlobalHeader& global) const;
    void global(PartSink& out, std::size_t position) const;

    // What the node at position adds to a walk: its text, then the groups
    // it closes.
    void node(PartSink& out, std::size_t position) const;

private:
    struct RenderedNodes;

    template <typename Out>
    std::int64_t writeScript(Out& out, const ScriptHeader& script, std::size_t position) const;
    template <typename Out>
    void writeWalk(Out& out, std::size_t first, std::size_t root) const;
    template <typename Out>
    void writeNode(Out& out, std::size_t position) const;
    template <typename Out>
    void writeGlobal(Out& out, const GlobalHeader& global, std::size_t position) const;

    const MapContent& map_;
    NodeTextRules rules_;
    std::unique_ptr<const RenderedNodes> rendered_;  // RenderedOnce only
};

}  // namespace quorin
