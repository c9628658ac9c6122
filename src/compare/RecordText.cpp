// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/RecordText.h"

namespace quorin {

std::unique_ptr<TextProducer> RecordTextProducer(const MapContent& map) {
    return std::make_unique<TextProducer>(map, NodeTextRules::SelectionDisplay, TextProducer::Walks::RenderedOnce);
}

void WriteRecordText(TextOutput& out, const MapContent& map, const TextProducer& producer, RecordKind kind,
                     std::size_t position) {
    if (kind == RecordKind::Script) {
        producer.script(out, map.ScriptHeaderCache[position]);
    } else {
        producer.global(out, map.GlobalHeaderCache[position]);
    }
}

}  // namespace quorin
