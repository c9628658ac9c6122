// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes one edited field or popup choice of the loaded record straight into
// the Map file, then into the record. Every field goes through one path,
// driven by its row in FieldRules().

#include <cstdint>
#include <string_view>

#include "edit/EditField.h"
#include "edit/FieldNumber.h"  // ParseFieldNumber, the edit fields' number rule
#include "edit/WriteHistory.h"
#include "map/MapState.h"
#include "base/Result.h"

namespace quorin {

// Return/Enter in an edit field: text is the field's text. Error = message to show; nothing written then.
// The file is opened (OpenLoadedMap), written and closed; the record is
// changed only after all of that succeeded. A name longer than 31 bytes, or
// holding a control byte (below 32, or 127), is refused. With a history, the
// write becomes its last step.
[[nodiscard]] Status CommitField(MapState& map, EditField field, std::string_view text,
                                 WriteHistory* history = nullptr);

// A popup's chosen item index (the type code). Index -1 writes nothing (and is not an error).
// An index past the popup's items is refused.
[[nodiscard]] Status CommitPopup(MapState& map, EditField popup, int index, WriteHistory* history = nullptr);

// The keys an edit field tells apart when deciding whether to write.
enum class FieldKey { Return, KeypadEnter, Other };

// Return and the keypad's Enter write an edit field, and nothing else does.
// Held with Control, Alt or Meta (shortcut) a key is a shortcut, which keeps
// its own meaning and never writes: Ctrl+M types a carriage return and
// Ctrl+C the character 3 on some platforms, so no character can stand for
// a commit key.
[[nodiscard]] bool IsCommitKey(FieldKey key, bool shortcut);

}  // namespace quorin
