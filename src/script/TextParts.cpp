// SPDX-License-Identifier: GPL-3.0-or-later
#include "script/TextParts.h"

namespace quorin {

void PartedText::take(PartKind kind, std::string_view bytes, std::size_t position) {
    if (stopped()) return;
    bytes = bytes.substr(0, most_ - text_.size());
    if (kind == PartKind::Fixed && !parts_.empty() && parts_.back().kind == PartKind::Fixed) {
        parts_.back().size += bytes.size();
    } else {
        parts_.push_back({kind, kind == PartKind::Fixed ? 0 : position, text_.size(), bytes.size()});
    }
    text_ += bytes;
}

std::optional<PartField> FieldOfPart(const MapContent& map, const TextPart& part) {
    namespace L = layout;
    auto script = [&](const L::Field& field) {
        return PartField{map.ScriptHeaderCache[part.position].Offset + std::int64_t{field.offset}, field};
    };
    auto global = [&](const L::Field& field) {
        return PartField{map.GlobalHeaderCache[part.position].Offset + std::int64_t{field.offset}, field};
    };
    auto node = [&](const L::Field& field) {
        return PartField{map.SyntaxCache[part.position].offset + std::int64_t{field.offset}, field};
    };
    switch (part.kind) {
    case PartKind::Fixed: return std::nullopt;
    case PartKind::ScriptType: return script(L::scriptEntry::Type);
    case PartKind::ReturnType: return script(L::scriptEntry::ReturnType);
    case PartKind::ScriptName: return script(L::scriptEntry::Name);
    case PartKind::GlobalType: return global(L::globalEntry::Type);
    case PartKind::GlobalName: return global(L::globalEntry::Name);
    case PartKind::NodeText: return node(L::node::StringOffset);
    case PartKind::NodeNumber:
    case PartKind::NodeTruth:
    case PartKind::GlobalValue: return node(L::node::ScriptValue);
    }
    return std::nullopt;
}

}  // namespace quorin
