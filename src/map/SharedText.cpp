#include "map/SharedText.h"

#include <ostream>
#include <random>

namespace quorin {

namespace {

// A polynomial hash modulo the prime 2^61 - 1 with a base drawn at start.
constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;
__extension__ using Wide = unsigned __int128;

std::uint64_t Reduce(Wide value) {
    const std::uint64_t folded = static_cast<std::uint64_t>(value & kPrime) + static_cast<std::uint64_t>(value >> 61);
    return folded >= kPrime ? folded - kPrime : folded;
}

std::uint64_t Base() {
    static const std::uint64_t base = [] {
        std::random_device device;
        const std::uint64_t drawn = (std::uint64_t{device()} << 32) ^ device();
        return 256 + drawn % (kPrime - 512);
    }();
    return base;
}

}  // namespace

void BackwardTextHash::prepend(unsigned char byte) {
    value_ = Reduce(static_cast<Wide>(value_) * Base() + byte + 1);
}

std::uint64_t TextHash(std::string_view text) {
    BackwardTextHash hash;
    for (auto at = text.rbegin(); at != text.rend(); ++at) hash.prepend(static_cast<unsigned char>(*at));
    return hash.value();
}

SharedText::SharedText(std::string text) {
    if (text.empty()) return;
    auto owned = std::make_shared<const std::string>(std::move(text));
    view_ = *owned;
    hash_ = TextHash(view_);
    owner_ = std::move(owned);
}

std::ostream& operator<<(std::ostream& out, const SharedText& text) { return out << text.view(); }

}  // namespace quorin
