// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/ExtractAll.h"

#include "base/TextFormat.h"
#include "base/TickCounter.h"
#include "script/TextProducer.h"

namespace quorin {

namespace {

constexpr int kSeparatingLineEnds = 5;

// Text is a TextOutput to make the text or a TextCount to size it.
template <typename Text>
ExtractAllResult WriteAll(Text& out, const MapContent& map) {
    ExtractAllResult result;
    const TextProducer producer(map, NodeTextRules::ExtractAll, TextProducer::Walks::RenderedOnce);
    for (const GlobalHeader& global : map.GlobalHeaderCache) {
        if (out.stopped()) break;
        ++result.globals;
        ++result.syntaxParts;
        producer.global(out, global);
    }
    for (int i = 0; i < kSeparatingLineEnds; ++i) out += kLineEnd;
    for (const ScriptHeader& script : map.ScriptHeaderCache) {
        if (out.stopped()) break;
        ++result.scripts;
        result.syntaxParts += 2 + producer.script(out, script);
    }
    return result;
}

}  // namespace

ExtractAllResult ExtractAll(const MapContent& map, TextSink& sink) {
    const std::int64_t start = Ticks();
    TextOutput out(sink);
    ExtractAllResult result = WriteAll(out, map);
    result.complete = out.flush();
    result.ticks = Ticks() - start;
    return result;
}

std::int64_t ExtractAllSize(const MapContent& map) {
    TextCount count;
    (void)WriteAll(count, map);
    return static_cast<std::int64_t>(count.appended());
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
