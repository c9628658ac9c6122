// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An immutable text that shares its bytes instead of copying them. The loader
// reads every text of a map into one buffer, and each record's name or node
// text is a view into it that keeps the buffer alive; copying a record (or a
// whole map for an extraction snapshot) copies no text. A text made from a
// std::string (an edited name, a record built by hand) owns its own bytes.
//
// A long text carries a hash of its whole content, worked out once when it
// is made, so dictionaries keyed by long texts do not read them at every
// insert or lookup; a short text is hashed when asked, which costs little.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace quorin {

// Texts longer than this keep their hash.
inline constexpr std::size_t kLongText = 64;

// The content hash of a text: the same bytes give the same number within
// one process (its keys are drawn at start, so a map cannot be built to make
// distinct texts collide). A long text's hash is a polynomial over its bytes,
// so the hashes of all the suffixes of a run come from one backward pass.
[[nodiscard]] std::uint64_t TextHash(std::string_view text);

// Builds the TextHash of long texts from the last byte backwards, so that
// every suffix of a run gets its hash in one pass over the run (the value is
// TextHash's only for texts longer than kLongText).
class BackwardTextHash {
public:
    // The hash of bytes followed by what was hashed so far.
    void prepend(std::string_view bytes);
    void reset() { value_ = 0; }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 0;
};

class SharedText {
public:
    SharedText() = default;
    SharedText(std::string text);  // NOLINT: a std::string is a text
    SharedText(std::string_view text) : SharedText(std::string(text)) {}
    SharedText(const char* text) : SharedText(std::string(text)) {}
    // Marks a hash not worked out yet.
    static constexpr std::uint64_t kHashNotKept = ~std::uint64_t{0};

    // A view into bytes that owner keeps alive; hash is TextHash(view), or
    // kHashNotKept for a text of at most kLongText bytes.
    SharedText(std::shared_ptr<const void> owner, std::string_view view, std::uint64_t hash)
        : owner_(std::move(owner)), view_(view), hash_(hash) {}

    std::string_view view() const noexcept { return view_; }
    operator std::string_view() const noexcept { return view_; }  // NOLINT: reads like a string
    std::string str() const { return std::string(view_); }
    const char* data() const noexcept { return view_.data(); }
    std::size_t size() const noexcept { return view_.size(); }
    bool empty() const noexcept { return view_.empty(); }
    std::uint64_t hash() const noexcept { return hash_ != kHashNotKept ? hash_ : TextHash(view_); }

    // Texts that share their bytes compare without reading them.
    friend bool operator==(const SharedText& a, const SharedText& b) noexcept {
        if (a.size() != b.size()) return false;
        if (a.data() == b.data()) return true;
        if (a.hash_ != kHashNotKept && b.hash_ != kHashNotKept && a.hash_ != b.hash_) return false;
        return a.view_ == b.view_;
    }
    friend bool operator==(const SharedText& a, std::string_view b) noexcept { return a.view_ == b; }
    friend bool operator==(const SharedText& a, const std::string& b) noexcept { return a.view_ == b; }
    friend bool operator==(const SharedText& a, const char* b) noexcept { return a.view_ == b; }
    friend std::strong_ordering operator<=>(const SharedText& a, const SharedText& b) noexcept {
        return a.view_ <=> b.view_;
    }

    // Joining a text to a std::string makes a std::string, as joining two would.
    friend std::string operator+(std::string a, const SharedText& b) { return a.append(b.view_); }
    friend std::string operator+(const char* a, const SharedText& b) { return std::string(a).append(b.view_); }
    friend std::string operator+(const SharedText& a, std::string_view b) { return a.str().append(b); }
    friend std::string operator+(const SharedText& a, const char* b) { return a.str().append(b); }

private:
    std::shared_ptr<const void> owner_;
    std::string_view view_;
    std::uint64_t hash_ = kHashNotKept;
};

std::ostream& operator<<(std::ostream& out, const SharedText& text);

// Hash and equality for dictionaries keyed by SharedText that are searched
// with any string_view.
struct SharedTextHash {
    using is_transparent = void;
    std::size_t operator()(const SharedText& text) const noexcept { return text.hash(); }
    std::size_t operator()(std::string_view text) const noexcept { return TextHash(text); }
};

struct SharedTextEqual {
    using is_transparent = void;
    bool operator()(const SharedText& a, const SharedText& b) const noexcept { return a == b; }
    bool operator()(const SharedText& a, std::string_view b) const noexcept { return a == b; }
    bool operator()(std::string_view a, const SharedText& b) const noexcept { return b == a; }
};

}  // namespace quorin
