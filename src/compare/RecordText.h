// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text a comparison reads for one record: the script text as the main
// window shows it (and `quorin-cli script` prints it), or the global's
// declaration, both without a line end after them. The one place the
// comparison asks the text producer for a text.

#include <cstddef>
#include <memory>

#include "base/TextSink.h"
#include "map/MapState.h"
#include "map/Records.h"
#include "script/TextProducer.h"

namespace quorin {

// The producer of a comparison's texts: the script text's rules, every
// node rendered once, so a map whose scripts all walk every node costs a
// copy per record.
[[nodiscard]] std::unique_ptr<TextProducer> RecordTextProducer(const MapContent& map);

// kind is RecordKind::Script or RecordKind::Global; position is the
// record's place in its cache of the producer's map.
void WriteRecordText(TextOutput& out, const MapContent& map, const TextProducer& producer, RecordKind kind,
                     std::size_t position);

}  // namespace quorin
