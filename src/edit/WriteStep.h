// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One step of the write history: one field, one popup choice, one whole
// Protect Map or one apply of an edited text. It holds the bytes before and
// after at every offset it wrote, and the record fields it set, so it can be
// taken back and made again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "edit/RecordMember.h"
#include "map/MapWriter.h"

namespace quorin {

using RecordValue = std::variant<SharedText, std::int32_t>;

// The record field a field write set, before and after.
struct RecordChange {
    RecordMember member;
    std::size_t position = 0;  // in the member's cache
    RecordValue before;
    RecordValue after;
    // Names and identities: the write added the dictionary entry for after.
    bool addsDictionaryEntry = false;
    // Before the write, the position the dictionary gave for after's key
    // (nothing when the key was absent).
    std::optional<std::int32_t> afterKeyBefore;
};

struct WriteStep {
    std::string what;                    // the control or command, for messages
    std::vector<BytePatch> patches;      // in the order they were written
    std::vector<RecordChange> changes;   // in the order they were made
};

}  // namespace quorin
