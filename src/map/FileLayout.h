// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte layout of a Map file, as far as Quorin reads and writes it: every
// field's offset, width, signedness and kind, and the codes the format gives
// a meaning. The loader, the map builder, the edit field rules, protection
// and quorin-cli all take their numbers from here; no other file spells out
// an offset or a width.

#include <cstdint>
#include <string_view>

namespace quorin::layout {

enum class Kind {
    Integer,              // little-endian, signed unless the field says otherwise
    Bytes,                // raw bytes: the header tag, a class code (stored reversed)
    ZeroEndedText,        // read up to the first zero byte, with no length limit
    NameField,            // a 32-byte field holding a zero-ended name; written whole
    Address,              // an int32 memory address; minus magic it is a file offset
    StringTableRelative,  // an int32 counted from the start of the string table
    Unread,               // bytes no operation reads; the map builder fills them
};

struct Field {
    std::int32_t offset;  // from the start of the structure the field belongs to
    std::int32_t width;   // bytes; 0 for a zero-ended text, which has no fixed width
    bool isSigned;
    Kind kind;
};

namespace detail {
constexpr Field Int16(std::int32_t at) { return {at, 2, true, Kind::Integer}; }
constexpr Field Int32(std::int32_t at) { return {at, 4, true, Kind::Integer}; }
constexpr Field Address(std::int32_t at) { return {at, 4, true, Kind::Address}; }
constexpr Field Unread(std::int32_t at) { return {at, 2, false, Kind::Unread}; }
}  // namespace detail

// File header, at offset 0.
namespace header {
inline constexpr Field Tag{0, 4, false, Kind::Bytes};
inline constexpr Field Version = detail::Int32(4);
// The tag index's offset when the header tag is "daeh".
inline constexpr Field IndexOffset = detail::Int32(16);
// The map's name, checked against the stock map names when the tag is "daeh".
inline constexpr Field MapName{32, 0, false, Kind::ZeroEndedText};
// The tag index's offset for any other header tag.
inline constexpr Field OtherIndexOffset = detail::Int32(1516);
}  // namespace header

// Tag index, at the index offset I.
namespace tagIndex {
// With I it fixes magic: magic = this address - (I + FirstEntry).
inline constexpr Field FirstEntryAddress = detail::Address(0);
inline constexpr std::int32_t kFirstEntry = 40;
}  // namespace tagIndex

// The first tag entry, taken as the scenario tag.
namespace tagEntry {
inline constexpr Field Class1{0, 4, false, Kind::Bytes};
inline constexpr Field Class2{4, 4, false, Kind::Bytes};
inline constexpr Field Class3{8, 4, false, Kind::Bytes};
inline constexpr Field Ident{12, 4, false, Kind::Integer};
inline constexpr Field NameAddress = detail::Address(16);
inline constexpr Field DataAddress = detail::Address(20);
// The bytes of the entry that are read.
inline constexpr std::int32_t kReadSize = 24;
}  // namespace tagEntry

// Scenario tag data, at the scenario's data offset S.
namespace scenario {
inline constexpr Field SyntaxBlock = detail::Address(1152);
inline constexpr Field StringTable = detail::Address(1172);
inline constexpr Field ScriptCount = detail::Int32(1180);
inline constexpr Field ScriptTable = detail::Address(1184);
inline constexpr Field GlobalCount = detail::Int32(1192);
inline constexpr Field GlobalTable = detail::Address(1196);
// Every field above lies in [kFieldsFrom, kFieldsEnd), so one read takes them all.
inline constexpr std::int32_t kFieldsFrom = 1152;
inline constexpr std::int32_t kFieldsEnd = 1200;
}  // namespace scenario

// The 32-byte name field of a script or global entry.
inline constexpr std::int32_t kNameFieldSize = 32;
// The longest name that leaves a zero byte in its field.
inline constexpr std::int32_t kLongestName = kNameFieldSize - 1;

// One entry of the script table.
namespace scriptEntry {
inline constexpr std::int32_t kSize = 92;
inline constexpr Field Name{0, kNameFieldSize, false, Kind::NameField};
inline constexpr Field Type = detail::Int16(32);
inline constexpr Field ReturnType = detail::Int16(34);
inline constexpr Field LinkPad = detail::Unread(36);  // in front of the root link
inline constexpr Field ExpPointer = detail::Int16(38);
}  // namespace scriptEntry

// One entry of the global table.
namespace globalEntry {
inline constexpr std::int32_t kSize = 92;
inline constexpr Field Name{0, kNameFieldSize, false, Kind::NameField};
inline constexpr Field Type = detail::Int16(32);
inline constexpr Field LinkPad = detail::Unread(40);  // in front of the value link
inline constexpr Field ExpPointer = detail::Int16(42);
}  // namespace globalEntry

// The syntax data block, at Y.
namespace syntaxBlock {
inline constexpr std::int32_t kFirstNode = 36;
// The node count shares its bytes with node 0's sibling field.
inline constexpr Field Count = detail::Int16(46);
}  // namespace syntaxBlock

// One syntax node.
namespace node {
inline constexpr std::int32_t kSize = 20;
inline constexpr Field ExpIdentity = detail::Int16(0);
inline constexpr Field EngineIdentity = detail::Int16(2);
inline constexpr Field ValueType = detail::Int16(4);
inline constexpr Field ExpType = detail::Int16(6);
inline constexpr Field LinkPad = detail::Unread(8);  // in front of the sibling link
inline constexpr Field SibExpPointer = detail::Int16(10);
inline constexpr Field StringOffset{12, 4, true, Kind::StringTableRelative};
// The 4-byte value field: its lower half is the node's value, its upper
// half the identity of its first child.
inline constexpr Field ValueField = detail::Int32(16);
inline constexpr Field ScriptValue = detail::Int16(16);
inline constexpr Field KidExpPointer = detail::Int16(18);
}  // namespace node

// Where entry i of a table, or node i of the syntax block, starts.
constexpr std::int64_t ScriptEntryAt(std::int64_t table, std::int64_t i) { return table + scriptEntry::kSize * i; }
constexpr std::int64_t GlobalEntryAt(std::int64_t table, std::int64_t i) { return table + globalEntry::kSize * i; }
constexpr std::int64_t NodeAt(std::int64_t block, std::int64_t i) {
    return block + syntaxBlock::kFirstNode + node::kSize * i;
}

// Codes the format gives a meaning.
inline constexpr std::string_view kHeaderTag = "daeh";  // compared ignoring letter case
inline constexpr std::int32_t kRefusedVersion = 609;
inline constexpr std::int32_t kNoLink = -1;  // a sibling or child identity that leads nowhere

namespace scriptType {
inline constexpr std::int32_t kStartup = 0;
inline constexpr std::int32_t kContinuous = 2;
}  // namespace scriptType

// Whether a script of this type returns a value, so that its text shows the
// return type: startup and continuous scripts return nothing, whatever
// their return type field holds.
constexpr bool ScriptTypeReturnsValue(std::int32_t type) {
    return type != scriptType::kStartup && type != scriptType::kContinuous;
}

namespace expType {
inline constexpr std::int32_t kGroup = 8;      // opens a parenthesised group
inline constexpr std::int32_t kCommand = 9;    // names a command or holds a constant; closes groups
inline constexpr std::int32_t kVariable = 13;  // a variable reference
}  // namespace expType

namespace valueType {
inline constexpr std::int32_t kFunctionName = 2;
inline constexpr std::int32_t kBoolean = 5;
inline constexpr std::int32_t kReal = 6;
inline constexpr std::int32_t kShort = 7;
inline constexpr std::int32_t kLong = 8;
}  // namespace valueType

// The values a boolean node stores for true and false.
inline constexpr std::int32_t kTrue = -255;   // 0xFF01
inline constexpr std::int32_t kFalse = -256;  // 0xFF00
// A node with this engine identity prints its text even where it would open a group.
inline constexpr std::int32_t kTextEngineIdentity = -1;

}  // namespace quorin::layout
