// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/RecordText.h"

#include "script/Decompiler.h"

namespace quorin {

void WriteRecordText(TextOutput& out, const MapContent& map, RecordKind kind, std::size_t position) {
    if (kind == RecordKind::Script) {
        WriteScriptText(out, map, map.ScriptHeaderCache[position]);
    } else {
        AppendGlobalDeclaration(out, map, map.GlobalHeaderCache[position]);
    }
}

}  // namespace quorin
