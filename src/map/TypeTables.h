// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two type vocabularies: a code stored in the map is the position of its
// name. Codes outside a table print as their decimal number everywhere.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorin {

inline constexpr std::array<std::string_view, 49> kValueTypeNames = {
    "unparsed",         "special form",        "function name",     "passthrough",
    "void",             "boolean",             "real",              "short",
    "long",             "string",              "script",            "trigger_volume",
    "cutscene_flag",    "cutscene_camera_point", "cutscene_title",  "cutscene_recording",
    "device_group",     "ai",                  "ai_command_list",   "starting_profile",
    "conversation",     "navpoint",            "hud_message",       "object_list",
    "sound",            "effect",              "damage",            "looping_sound",
    "animation_graph",  "actor_variant",       "damage_effect",     "object_definition",
    "game_difficulty",  "team",                "ai_default_state",  "actor_type",
    "hud_corner",       "object",              "unit",              "vehicle",
    "weapon",           "device",              "scenery",           "object_name",
    "unit_name",        "vehicle_name",        "weapon_name",       "device_name",
    "scenery_name",
};

inline constexpr std::array<std::string_view, 5> kScriptTypeNames = {
    "startup", "dormant", "continuous", "static", "stub",
};

// The name of a value type code, or the code in decimal when it has none.
std::string ValueTypeName(std::int32_t code);
// The name of a script type code, or the code in decimal when it has none.
std::string ScriptTypeName(std::int32_t code);

}  // namespace quorin
