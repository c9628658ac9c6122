// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/JsonWriter.h"

#include "base/TextFormat.h"

namespace quorin::cli {

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) out_ << ',';
        empty_.back() = false;
    }
}

void JsonWriter::beginObject() {
    beforeValue();
    out_ << '{';
    empty_.push_back(true);
}

void JsonWriter::endObject() {
    out_ << '}';
    empty_.pop_back();
}

void JsonWriter::beginArray() {
    beforeValue();
    out_ << '[';
    empty_.push_back(true);
}

void JsonWriter::endArray() {
    out_ << ']';
    empty_.pop_back();
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    quoted(name);
    out_ << ':';
    afterKey_ = true;
}

void JsonWriter::text(std::string_view latin1) {
    beforeValue();
    quoted(latin1);
}

void JsonWriter::number(std::int64_t value) {
    beforeValue();
    out_ << Decimal(value);
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    out_ << (value ? "true" : "false");
}

void JsonWriter::quoted(std::string_view latin1) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(latin1.size() + 2);
    text += '"';
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            text += '\\';
            text += c;
        } else if (byte == '\n') {
            text += "\\n";
        } else if (byte == '\r') {
            text += "\\r";
        } else if (byte == '\t') {
            text += "\\t";
        } else if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
            text += "\\u00";
            text += kDigits[byte >> 4];
            text += kDigits[byte & 15];
        } else if (byte < 0x80) {
            text += c;
        } else {
            // U+00A0..U+00FF in UTF-8.
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    text += '"';
    out_ << text;
}

}  // namespace quorin::cli
