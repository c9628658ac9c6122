// SPDX-License-Identifier: GPL-3.0-or-later
#include "script/Decompiler.h"

#include "base/LimitedText.h"

namespace quorin {

namespace {

// Pieces no longer than the limit, so a walk ends soon after it.
std::size_t PieceSizeFor(std::size_t most) { return most < TextOutput::kPieceSize ? most + 1 : TextOutput::kPieceSize; }

template <typename Write>
std::string Whole(std::size_t most, Write write) {
    LimitedText text(most);
    TextOutput out(text, PieceSizeFor(most));
    write(out);
    out.flush();
    return std::move(text.text());
}

}  // namespace

void WriteScriptText(TextOutput& out, const MapContent& map, const ScriptHeader& script) {
    TextProducer(map, NodeTextRules::SelectionDisplay).script(out, script);
}

void AppendGlobalDeclaration(TextOutput& out, const MapContent& map, const GlobalHeader& global) {
    TextProducer(map, NodeTextRules::SelectionDisplay).global(out, global);
}

std::string DecompileScript(const MapContent& map, const ScriptHeader& script, std::size_t most) {
    return Whole(most, [&](TextOutput& out) { WriteScriptText(out, map, script); });
}

std::string DecompileGlobal(const MapContent& map, const GlobalHeader& global, std::size_t most) {
    return Whole(most, [&](TextOutput& out) { AppendGlobalDeclaration(out, map, global); });
}

PartedText ScriptTextParts(const MapContent& map, std::size_t position, std::size_t most) {
    PartedText text(most);
    TextProducer(map, NodeTextRules::SelectionDisplay).script(text, position);
    return text;
}

PartedText GlobalTextParts(const MapContent& map, std::size_t position, std::size_t most) {
    PartedText text(most);
    TextProducer(map, NodeTextRules::SelectionDisplay).global(text, position);
    return text;
}

}  // namespace quorin
