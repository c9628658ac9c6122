#include "extract/ExtractAll.h"

#include "extract/RangeExtraction.h"
#include "map/TextFormat.h"
#include "map/TickCounter.h"

namespace quorin {

namespace {

// Close to the final size for a map whose scripts walk their own nodes, so a
// large map builds without repeated regrowth.
std::size_t EstimatedSize(const ExtractionSnapshot& snapshot) {
    std::size_t size = 8;
    for (const GlobalHeader& global : snapshot.GlobalHeaderCache) size += global.Name.size() + 40;
    for (const ScriptHeader& script : snapshot.ScriptHeaderCache) size += script.Name.size() + 64;
    for (const Syntax& node : snapshot.SyntaxCache) size += node.Command.size() + 8;
    return size;
}

}  // namespace

ExtractionSnapshot ExtractionSnapshot::of(const MapState& map) {
    return {map.GlobalHeaderCache, map.ScriptHeaderCache, map.SyntaxCache, map.SyntaxByIdentity};
}

ExtractAllResult ExtractAll(const ExtractionSnapshot& snapshot) {
    ExtractAllResult result;
    const std::int64_t start = Ticks();
    const SyntaxView syntax{snapshot.SyntaxCache, snapshot.SyntaxByIdentity};
    std::string& text = result.text;
    text.reserve(EstimatedSize(snapshot));

    for (const GlobalHeader& global : snapshot.GlobalHeaderCache) {
        ++result.globals;
        ++result.syntaxParts;
        AppendGlobalLine(text, syntax, global);
    }
    for (int i = 0; i < 5; ++i) text += kLineEnd;
    for (const ScriptHeader& script : snapshot.ScriptHeaderCache) {
        ++result.scripts;
        result.syntaxParts += 2 + AppendScriptBlock(text, syntax, script, NodeTextRules::ExtractAll);
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
