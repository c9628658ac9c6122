// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of the editor pages: name, kind, page, place and caption.
// Places are window coordinates, also for controls on a page.

#include <array>
#include <optional>

#include "edit/EditField.h"

namespace quorin::ui {

inline constexpr int kWindowWidth = 700;
inline constexpr int kWindowHeight = 722;

struct Place {
    int left, top, width, height;
};

// The list fills the left side and grows with the window's height; the page
// panel keeps its distance to the bottom edge.
inline constexpr Place kListPlace{0, 0, 364, 722};
inline constexpr Place kPagesPlace{376, 0, 324, 702};
inline constexpr int kPageCount = 4;

enum class ControlKind { Label, LineEdit, Popup, TextArea };
enum class Items { None, ScriptTypes, ValueTypes };

struct ControlEntry {
    const char* name;
    ControlKind kind;
    int page;
    Place place;
    const char* caption = "";
    Items items = Items::None;
    // The field or popup an edit of this control writes back.
    std::optional<EditField> field = std::nullopt;
};

inline constexpr ControlEntry kEditorControls[] = {
    // Page 1: script.
    {"StaticText1", ControlKind::Label, 1, {382, 7, 104, 20}, "Script Name"},
    {"FldScriptName", ControlKind::LineEdit, 1, {498, 8, 182, 22}, "", Items::None, EditField::ScriptName},
    {"StaticText22", ControlKind::Label, 1, {382, 42, 104, 20}, "Script Type"},
    {"PopScriptType", ControlKind::Popup, 1, {498, 41, 140, 20}, "", Items::ScriptTypes, EditField::ScriptType},
    {"StaticText3", ControlKind::Label, 1, {382, 73, 104, 20}, "Script Return Type"},
    {"PopScriptReturn", ControlKind::Popup, 1, {498, 72, 140, 20}, "", Items::ValueTypes, EditField::ScriptReturn},
    {"StaticText4", ControlKind::Label, 1, {382, 105, 104, 20}, "Expression Pointer"},
    {"FldScriptExpPointer", ControlKind::LineEdit, 1, {498, 103, 65, 22}, "", Items::None, EditField::ScriptExpPointer},
    {"FldScriptDeComp", ControlKind::TextArea, 1, {382, 137, 298, 517}},
    // Page 2: global.
    {"StaticText5", ControlKind::Label, 2, {382, 9, 104, 20}, "Global Name"},
    {"FldGlobalName", ControlKind::LineEdit, 2, {498, 7, 182, 22}, "", Items::None, EditField::GlobalName},
    {"StaticText6", ControlKind::Label, 2, {382, 41, 104, 20}, "Global Type"},
    {"PopGlobalType", ControlKind::Popup, 2, {498, 40, 140, 20}, "", Items::ValueTypes, EditField::GlobalType},
    {"StaticText8", ControlKind::Label, 2, {382, 75, 104, 20}, "Expression Pointer"},
    {"FldGlobalExpPointer", ControlKind::LineEdit, 2, {498, 73, 65, 22}, "", Items::None, EditField::GlobalExpPointer},
    {"FldGlobalDecomp", ControlKind::TextArea, 2, {382, 107, 298, 66}},
    // Page 3: syntax node.
    {"StaticText11", ControlKind::Label, 3, {382, 8, 104, 20}, "Expression Identity"},
    {"FldSyntaxExpIdent", ControlKind::LineEdit, 3, {498, 6, 65, 22}, "", Items::None, EditField::SyntaxExpIdent},
    {"StaticText12", ControlKind::Label, 3, {382, 43, 104, 20}, "Engine Identity"},
    {"FldSyntaxEngineIdent", ControlKind::LineEdit, 3, {498, 41, 46, 22}, "", Items::None, EditField::SyntaxEngineIdent},
    {"StaticText13", ControlKind::Label, 3, {382, 76, 104, 20}, "Value Type"},
    {"PopSyntaxType", ControlKind::Popup, 3, {498, 75, 140, 20}, "", Items::ValueTypes, EditField::SyntaxType},
    {"StaticText14", ControlKind::Label, 3, {382, 109, 104, 20}, "Expression Type"},
    {"FldSyntaxExpType", ControlKind::LineEdit, 3, {498, 108, 46, 22}, "", Items::None, EditField::SyntaxExpType},
    {"StaticText15", ControlKind::Label, 3, {382, 142, 104, 20}, "Sibling Expression"},
    {"FldSyntaxSibExp", ControlKind::LineEdit, 3, {499, 141, 65, 22}, "", Items::None, EditField::SyntaxSibExp},
    {"StaticText20", ControlKind::Label, 3, {382, 174, 104, 20}, "Script Table Offset"},
    {"FldSyntaxScriptTableOffset", ControlKind::LineEdit, 3, {498, 173, 65, 22}, "", Items::None,
     EditField::SyntaxScriptTableOffset},
    {"StaticText16", ControlKind::Label, 3, {382, 204, 104, 20}, "Script Value"},
    {"FldSyntaxScriptValue", ControlKind::LineEdit, 3, {498, 200, 46, 22}, "", Items::None, EditField::SyntaxScriptValue},
    {"StaticText21", ControlKind::Label, 3, {382, 236, 104, 20}, "Child Expression"},
    {"FldSyntaxKidExp", ControlKind::LineEdit, 3, {498, 233, 65, 22}, "", Items::None, EditField::SyntaxKidExp},
    {"FldSyntaxCommand", ControlKind::TextArea, 3, {382, 268, 298, 66}},
};

}  // namespace quorin::ui
