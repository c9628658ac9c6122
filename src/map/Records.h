// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain records mirroring the map's script tables. Integer fields hold the
// sign-extended values read from the file; texts hold the bytes unchanged,
// shared with the buffer the loader read them into.

#include <cstdint>
#include <string>

#include "base/SharedText.h"

namespace quorin {

// The three kinds of record a row, an edit or a search can lead to.
enum class RecordKind { Script, Global, Syntax };

// One entry of the script table.
struct ScriptHeader {
    SharedText Name;
    std::int32_t Type = 0;        // script type code
    std::int32_t ReturnType = 0;  // value type code
    std::int32_t ExpPointer = 0;  // identity of the root syntax node
    std::int32_t Offset = 0;      // file offset of the entry
};

// One entry of the global table.
struct GlobalHeader {
    SharedText Name;
    std::int32_t Type = 0;        // value type code
    std::int32_t ExpPointer = 0;  // identity of the initial-value node
    std::int32_t Offset = 0;      // file offset of the entry
};

// One syntax node.
struct Syntax {
    std::int32_t ExpIdentity = 0;
    std::int32_t EngineIdentity = 0;
    std::int32_t ExpType = 0;
    std::int32_t SibExpPointer = 0;
    std::int32_t ScriptTableOffset = 0;  // absolute: string table start + stored offset
    std::int32_t ScriptValue = 0;        // lower half of the value field
    std::int32_t KidExpPointer = 0;      // upper half of the value field
    std::int32_t offset = 0;             // file offset of the node
    std::int32_t ValueType = 0;
    SharedText Command;                  // the node's text from the string table
};

// The scenario tag: the first entry of the tag index.
struct Tag {
    std::string Class1;
    std::string Class2;
    std::string Class3;
    std::uint32_t ident = 0;
    SharedText Name;
    std::int32_t NameOffset = 0;
    std::int32_t Offset = 0;  // base of every scenario field
};

}  // namespace quorin
