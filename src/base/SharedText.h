// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An immutable text that shares its bytes instead of copying them. The loader
// reads every text of a map into one buffer, and each record's name or node
// text is a view into it that keeps the buffer alive; copying a record (or a
// whole map for an extraction snapshot) copies no text. A text made from a
// string (an edited name, a record built by hand) has a store of its own.
//
// A long text carries a hash of its whole content, worked out once when it
// is made, so dictionaries keyed by long texts do not read them at every
// insert or lookup; a short text is hashed when asked, which costs little.

#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace quorin {

// Texts longer than this keep their hash.
inline constexpr std::size_t kLongText = 64;

// The content hash of a text: the same bytes give the same number within
// one process (its keys are drawn at start, so a map cannot be built to make
// distinct texts collide). A long text's hash is a polynomial over its bytes,
// so the hashes of all the suffixes of a run come from one backward pass; it
// is folded to 32 bits, which is what a text keeps of it.
[[nodiscard]] std::uint64_t TextHash(std::string_view text);

// Builds the TextHash of long texts from the last byte backwards, so that
// every suffix of a run gets its hash in one pass over the run (the value is
// TextHash's only for texts longer than kLongText).
class BackwardTextHash {
public:
    // The hash of bytes followed by what was hashed so far.
    void prepend(std::string_view bytes);
    void reset() { value_ = 0; }
    std::uint64_t value() const;

private:
    std::uint64_t value_ = 0;
};

// Bytes that texts share: made once with room for its bytes, and freed when
// the last text (or other holder) lets go of it. The count is the only thing
// a copy of a text touches.
class TextStore {
public:
    // A store of size bytes, not yet filled, held once by the handle.
    class Handle;
    [[nodiscard]] static Handle make(std::size_t size);
    // A store of no bytes of its own standing for a text of size bytes in
    // store (one too long for the count a text keeps; see SharedText).
    [[nodiscard]] static Handle standIn(const TextStore& store, std::size_t size);

    char* bytes() noexcept { return reinterpret_cast<char*>(this + 1); }
    const char* bytes() const noexcept { return reinterpret_cast<const char*>(this + 1); }
    std::size_t size() const noexcept { return size_; }

    void hold() const noexcept { holders_.fetch_add(1, std::memory_order_relaxed); }
    void release() const noexcept;

private:
    explicit TextStore(std::size_t size, const TextStore* standsIn = nullptr) : size_(size), standsIn_(standsIn) {}

    mutable std::atomic<std::size_t> holders_{1};
    std::size_t size_;
    const TextStore* standsIn_;
};

// Holds a store for as long as it lives.
class TextStore::Handle {
public:
    Handle() = default;
    explicit Handle(const TextStore* store) noexcept : store_(store) {
        if (store_) store_->hold();
    }
    Handle(const Handle& other) noexcept : Handle(other.store_) {}
    Handle(Handle&& other) noexcept : store_(std::exchange(other.store_, nullptr)) {}
    Handle& operator=(Handle other) noexcept {
        std::swap(store_, other.store_);
        return *this;
    }
    ~Handle() {
        if (store_) store_->release();
    }
    const TextStore* get() const noexcept { return store_; }
    TextStore* writable() const noexcept { return const_cast<TextStore*>(store_); }
    const TextStore* operator->() const noexcept { return store_; }

private:
    friend class TextStore;
    struct Adopt {};
    Handle(const TextStore* store, Adopt) noexcept : store_(store) {}

    const TextStore* store_ = nullptr;
};

// Three words: a table of millions of names holds one per record. The count
// and the kept hash take 32 bits each; a text of 4 GiB or more (only a file
// larger than that can hold one) counts its bytes in a store standing in for
// it.
class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string_view text);  // NOLINT: a string is a text
    SharedText(const std::string& text) : SharedText(std::string_view(text)) {}  // NOLINT
    SharedText(const char* text) : SharedText(std::string_view(text)) {}  // NOLINT
    // Marks a hash not worked out yet.
    static constexpr std::uint64_t kHashNotKept = ~std::uint64_t{0};
    // A count this large says the store holds the text's size.
    static constexpr std::uint32_t kSizeInStore = ~std::uint32_t{0};

    // A view into bytes of store; hash is TextHash(view), or kHashNotKept for
    // a text of at most kLongText bytes. A text of kSizeInStore bytes or more
    // takes a store standing in for it (TextStore::standIn) with its size.
    SharedText(const TextStore& store, std::string_view view, std::uint64_t hash) noexcept
        : store_(&store),
          data_(view.data()),
          size_(view.size() < kSizeInStore ? static_cast<std::uint32_t>(view.size()) : kSizeInStore),
          hash_(static_cast<std::uint32_t>(hash)) {
        store.hold();
    }

    SharedText(const SharedText& other) noexcept
        : store_(other.store_), data_(other.data_), size_(other.size_), hash_(other.hash_) {
        if (store_) store_->hold();
    }
    SharedText(SharedText&& other) noexcept
        : store_(std::exchange(other.store_, nullptr)),
          data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          hash_(std::exchange(other.hash_, kNotKept)) {}
    SharedText& operator=(SharedText other) noexcept {
        std::swap(store_, other.store_);
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(hash_, other.hash_);
        return *this;
    }
    ~SharedText() {
        if (store_) store_->release();
    }

    std::string_view view() const noexcept { return {data_, size()}; }
    operator std::string_view() const noexcept { return view(); }  // NOLINT: reads like a string
    std::string str() const { return std::string(view()); }
    const char* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_ != kSizeInStore ? size_ : store_->size(); }
    bool empty() const noexcept { return size_ == 0; }
    std::uint64_t hash() const noexcept { return hash_ != kNotKept ? hash_ : TextHash(view()); }

    // Texts that share their bytes compare without reading them.
    friend bool operator==(const SharedText& a, const SharedText& b) noexcept {
        if (a.size() != b.size()) return false;
        if (a.data() == b.data()) return true;
        if (a.hash_ != kNotKept && b.hash_ != kNotKept && a.hash_ != b.hash_) return false;
        return a.view() == b.view();
    }
    friend bool operator==(const SharedText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const SharedText& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator==(const SharedText& a, const char* b) noexcept { return a.view() == b; }
    friend std::strong_ordering operator<=>(const SharedText& a, const SharedText& b) noexcept {
        return a.view() <=> b.view();
    }

    // Joining a text to a std::string makes a std::string, as joining two would.
    friend std::string operator+(std::string a, const SharedText& b) { return a.append(b.view()); }
    friend std::string operator+(const char* a, const SharedText& b) { return std::string(a).append(b.view()); }
    friend std::string operator+(const SharedText& a, std::string_view b) { return a.str().append(b); }
    friend std::string operator+(const SharedText& a, const char* b) { return a.str().append(b); }

private:
    static constexpr std::uint32_t kNotKept = static_cast<std::uint32_t>(kHashNotKept);

    const TextStore* store_ = nullptr;
    const char* data_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t hash_ = kNotKept;
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
