// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text a comparison reads for one record: the script text as the main
// window shows it (and `quorin-cli script` prints it), or the global's
// declaration, both without a line end after them. The one place the
// comparison asks the decompiler for a text.

#include <cstddef>

#include "base/TextSink.h"
#include "map/MapState.h"
#include "map/Records.h"

namespace quorin {

// kind is RecordKind::Script or RecordKind::Global; position is the
// record's place in its cache.
void WriteRecordText(TextOutput& out, const MapContent& map, RecordKind kind, std::size_t position);

}  // namespace quorin
