// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes one JSON document, compact, in UTF-8. Map texts are bytes read as
// Latin-1: each byte becomes the character of the same code, and every
// control character (C0, DEL and C1) is written as an escape, so a document
// never carries a raw control byte.

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace quorin::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next value in the object being written.
    void key(std::string_view name);
    void text(std::string_view latin1);
    void number(std::int64_t value);
    void boolean(bool value);

private:
    void beforeValue();
    void quoted(std::string_view latin1);

    std::ostream& out_;
    std::vector<bool> empty_;  // per open object or array: nothing in it yet
    bool afterKey_ = false;
};

}  // namespace quorin::cli
