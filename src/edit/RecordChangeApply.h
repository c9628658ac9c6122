// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place a write's effect on the records and the dictionaries is
// made: a forward write, and the same write taken back or made again.

#include "edit/WriteStep.h"
#include "map/MapState.h"

namespace quorin {

// The change as it was first made: the record field becomes after, and a
// name or identity gets its dictionary entry. Before that, the change notes
// what the dictionary gave for the new key.
void ApplyForward(MapState& map, RecordChange& change);

// Taking the change back is a forward write of before: the field becomes
// before and before's key leads to the record. The key the write had added
// stays (a forward write never removes one, and a row may still show it),
// except that a key the write had taken from another record goes back to
// that record, whose own row shows it.
void ApplyBack(MapState& map, const RecordChange& change);

}  // namespace quorin
