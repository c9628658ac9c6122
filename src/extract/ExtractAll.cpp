#include "extract/ExtractAll.h"

#include "extract/RangeExtraction.h"
#include "map/TextFormat.h"
#include "map/TickCounter.h"

namespace quorin {

namespace {

// Close to the final size for a map whose scripts walk their own nodes, so a
// large map builds without repeated regrowth.
std::size_t EstimatedSize(const MapContent& snapshot) {
    std::size_t size = 8;
    for (const GlobalHeader& global : snapshot.GlobalHeaderCache) size += global.Name.size() + 40;
    for (const ScriptHeader& script : snapshot.ScriptHeaderCache) size += script.Name.size() + 64;
    for (const Syntax& node : snapshot.SyntaxCache) size += node.Command.size() + 8;
    return size;
}

}  // namespace

ExtractAllResult ExtractAll(const MapContent& map) {
    ExtractAllResult result;
    const std::int64_t start = Ticks();
    std::string& text = result.text;
    text.reserve(EstimatedSize(map));

    for (const GlobalHeader& global : map.GlobalHeaderCache) {
        ++result.globals;
        ++result.syntaxParts;
        AppendGlobalLine(text, map, global);
    }
    for (int i = 0; i < 5; ++i) text += kLineEnd;
    for (const ScriptHeader& script : map.ScriptHeaderCache) {
        ++result.scripts;
        result.syntaxParts += 2 + AppendScriptBlock(text, map, script, NodeTextRules::ExtractAll);
    }
    result.ticks = Ticks() - start;
    return result;
}

std::string ExtractAllResult::message() const {
    std::string text = "The extraction is done.";
    text += kLineEnd;
    AppendDecimal(text, globals);
    text += " globals were extracted, ";
    AppendDecimal(text, scripts);
    text += " scripts were extracted, and ";
    AppendDecimal(text, syntaxParts);
    text += " syntax parts extracted.";
    text += kLineEnd;
    text += "This proccess took ";
    text += SecondsFromTicks(ticks);
    text += " seconds.";
    return text;
}

}  // namespace quorin
