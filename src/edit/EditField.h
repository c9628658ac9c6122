// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fifteen fields of the editor pages whose changes are written straight
// into the Map file: eleven edit fields and four type popups.

namespace quorin {

enum class EditField {
    ScriptName, ScriptExpPointer, GlobalName, GlobalExpPointer,
    SyntaxExpIdent, SyntaxEngineIdent, SyntaxExpType, SyntaxSibExp, SyntaxScriptTableOffset, SyntaxScriptValue, SyntaxKidExp,
    ScriptType, ScriptReturn, GlobalType, SyntaxType,   // the four popups
};

inline constexpr int kEditFieldCount = 15;

}  // namespace quorin
