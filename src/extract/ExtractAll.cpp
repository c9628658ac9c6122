// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/ExtractAll.h"

#include "extract/RangeExtraction.h"
#include "base/TextFormat.h"
#include "base/TickCounter.h"

namespace quorin {

namespace {

constexpr int kSeparatingLineEnds = 5;

}  // namespace

ExtractAllResult ExtractAll(const MapContent& map, TextSink& sink) {
    ExtractAllResult result;
    const std::int64_t start = Ticks();
    const ScriptTexts texts(map, NodeTextRules::ExtractAll);
    TextOutput out(sink);
    for (const GlobalHeader& global : map.GlobalHeaderCache) {
        if (out.stopped()) break;
        ++result.globals;
        ++result.syntaxParts;
        AppendGlobalLine(out, map, global);
    }
    for (int i = 0; i < kSeparatingLineEnds; ++i) out += kLineEnd;
    for (const ScriptHeader& script : map.ScriptHeaderCache) {
        if (out.stopped()) break;
        ++result.scripts;
        result.syntaxParts += 2 + AppendScriptBlock(out, texts, script);
    }
    result.complete = out.flush();
    result.ticks = Ticks() - start;
    return result;
}

std::int64_t ExtractAllSize(const MapContent& map) {
    const ScriptTexts texts(map, NodeTextRules::ExtractAll);
    std::int64_t size = kSeparatingLineEnds * static_cast<std::int64_t>(kLineEnd.size());
    for (const GlobalHeader& global : map.GlobalHeaderCache) size += GlobalLineSize(texts, global);
    for (const ScriptHeader& script : map.ScriptHeaderCache) size += ScriptBlockSize(texts, script);
    return size;
}

std::string ExtractAllResult::message() const {
    std::string text = complete ? "The extraction is done." : "The extraction was stopped before the end.";
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
