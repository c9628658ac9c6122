// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of many scripts of one map under one rule set, for the runs that
// write them all (extract-all, a script range). Every node's text and closer
// is made once, into one buffer in cache order, so a script's walk, which
// covers consecutive positions, is one piece of that buffer: a map whose
// every script walks every node costs a copy per script, not a decision per
// node. Long command texts stay in their shared buffer and are handed on
// from there. The same tables give each text's size without making it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "map/MapState.h"
#include "base/TextSink.h"
#include "script/Decompiler.h"

namespace quorin {

class ScriptTexts {
public:
    ScriptTexts(const MapContent& map, NodeTextRules rules);

    // What AppendScriptBody appends for script under these rules.
    std::int64_t appendBody(TextOutput& out, const ScriptHeader& script) const;

    // Sizes in bytes, found without making the texts.
    static std::int64_t headerSize(const ScriptHeader& script);
    std::int64_t bodySize(const ScriptHeader& script) const;
    std::int64_t globalDeclarationSize(const GlobalHeader& global) const;

private:
    void appendWalk(TextOutput& out, std::size_t first, std::size_t root) const;

    const MapContent& map_;
    // Node p's text and closer are rendered_[renderedAt_[p], renderedAt_[p + 1]);
    // for a node in longTexts_ that is the space before its command and the
    // closer after it, without the command.
    std::string rendered_;
    std::vector<std::size_t> renderedAt_;
    std::vector<std::size_t> longTexts_;
    // The bytes the nodes before position p add to a walk, long texts included.
    std::vector<std::int64_t> walkedBefore_;
};

}  // namespace quorin
