#include "script/SyntaxView.h"

namespace quorin {

std::size_t SyntaxView::positionOf(std::int32_t identity) const {
    const auto found = SyntaxByIdentity.find(identity);
    if (found == SyntaxByIdentity.end() || found->second < 0) return 0;
    const auto position = static_cast<std::size_t>(found->second);
    return position < SyntaxCache.size() ? position : 0;
}

const Syntax* SyntaxView::nodeOf(std::int32_t identity) const {
    if (SyntaxCache.empty()) return nullptr;
    return &SyntaxCache[positionOf(identity)];
}

}  // namespace quorin
