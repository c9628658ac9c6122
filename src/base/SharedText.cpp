// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SharedText.h"

#include <algorithm>
#include <cstring>
#include <cstddef>
#include <ostream>
#include <new>
#include <random>

namespace quorin {

namespace {

// A polynomial hash modulo the prime 2^61 - 1 with a base drawn at start:
// the hash of bytes b0 b1 ... is the sum of (bi + 1) * base^i.
constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;
__extension__ using Wide = unsigned __int128;

// The one value in [0, kPrime) equal to value modulo kPrime, so that every
// way of working out a hash gives the same number.
std::uint64_t Reduce(Wide value) {
    const Wide once = (value & kPrime) + (value >> 61);
    auto twice = static_cast<std::uint64_t>((once & kPrime) + (once >> 61));
    return twice >= kPrime ? twice - kPrime : twice;
}

// Drawn at start: base^0 .. base^8 for long texts, and the keys of the
// short texts' hash.
struct Powers {
    std::uint64_t of[9];
    std::uint64_t keys[4];
};

const Powers& BasePowers() {
    static const Powers powers = [] {
        std::random_device device;
        const auto draw = [&device] { return (std::uint64_t{device()} << 32) ^ device(); };
        Powers made{};
        made.of[0] = 1;
        made.of[1] = 256 + draw() % (kPrime - 512);
        for (int i = 2; i <= 8; ++i) made.of[i] = Reduce(static_cast<Wide>(made.of[i - 1]) * made.of[1]);
        for (std::uint64_t& key : made.keys) key = draw() | 1;
        return made;
    }();
    return powers;
}

// Both halves of a full product, folded.
std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

// A text of at most kLongText bytes: eight bytes a step through a keyed
// multiply, quick for the many short names and commands. Its hash is never
// kept, so it only has to agree with itself.
std::uint64_t ShortTextHash(std::string_view text) {
    const std::uint64_t* keys = BasePowers().keys;
    std::uint64_t value = keys[0] ^ text.size();
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        value = Fold(word ^ keys[1], value ^ keys[2]);
    }
    if (at < text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, text.size() - at);
        value = Fold(word ^ keys[3], value ^ keys[2]);
    }
    return Fold(value, keys[1]) % kPrime;
}

}  // namespace

void BackwardTextHash::prepend(std::string_view bytes) {
    const Powers& base = BasePowers();
    const auto* first = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* at = first + bytes.size();
    std::uint64_t value = value_;
    // Up to eight bytes a step: their terms do not depend on each other.
    while (at != first) {
        const auto step = static_cast<int>(std::min<std::ptrdiff_t>(at - first, 8));
        at -= step;
        Wide terms = 0;
        for (int i = 0; i < step; ++i) terms += static_cast<Wide>(at[i] + 1u) * base.of[i];
        value = Reduce(static_cast<Wide>(value) * base.of[step] + Reduce(terms));
    }
    value_ = value;
}

std::uint64_t BackwardTextHash::value() const {
    // A text keeps 32 bits of its hash, and all ones marks none kept.
    const auto folded = static_cast<std::uint32_t>(value_ ^ (value_ >> 32));
    return folded == ~std::uint32_t{0} ? folded - 1 : folded;
}

std::uint64_t TextHash(std::string_view text) {
    if (text.size() <= kLongText) return ShortTextHash(text);
    BackwardTextHash hash;
    hash.prepend(text);
    return hash.value();
}

TextStore::Handle TextStore::make(std::size_t size) {
    void* room = ::operator new(sizeof(TextStore) + size);
    return Handle(new (room) TextStore(size), Handle::Adopt{});
}

TextStore::Handle TextStore::standIn(const TextStore& store, std::size_t size) {
    store.hold();
    return Handle(new TextStore(size, &store), Handle::Adopt{});
}

void TextStore::release() const noexcept {
    if (holders_.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    const TextStore* standsIn = standsIn_;
    this->~TextStore();
    ::operator delete(const_cast<TextStore*>(this));
    if (standsIn) standsIn->release();
}

SharedText::SharedText(std::string_view text) {
    if (text.empty()) return;
    // A store of its own holds the text's size too, however long it is.
    TextStore::Handle store = TextStore::make(text.size());
    std::memcpy(store.writable()->bytes(), text.data(), text.size());
    *this = SharedText(*store.get(), std::string_view(store->bytes(), text.size()),
                       text.size() > kLongText ? TextHash(text) : kHashNotKept);
}

std::ostream& operator<<(std::ostream& out, const SharedText& text) { return out << text.view(); }

}  // namespace quorin
