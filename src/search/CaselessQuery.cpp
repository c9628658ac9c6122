// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/CaselessQuery.h"

#include "base/TextFormat.h"

namespace quorin {

CaselessQuery::CaselessQuery(std::string_view query) : folded_(query.size(), '\0'), resume_(query.size() + 1, 0) {
    for (std::size_t i = 0; i < query.size(); ++i) folded_[i] = FoldAsciiCase(query[i]);
    std::size_t matched = 0;
    for (std::size_t i = 1; i < folded_.size(); ++i) {
        while (matched > 0 && folded_[i] != folded_[matched]) matched = resume_[matched];
        if (folded_[i] == folded_[matched]) ++matched;
        resume_[i + 1] = matched;
    }
}

bool CaselessQuery::foundIn(std::string_view text) const {
    if (folded_.empty() || text.size() < folded_.size()) return false;
    std::size_t matched = 0;
    for (const char byte : text) {
        const char c = FoldAsciiCase(byte);
        while (matched > 0 && c != folded_[matched]) matched = resume_[matched];
        if (c == folded_[matched] && ++matched == folded_.size()) return true;
    }
    return false;
}

std::optional<std::size_t> CaselessQuery::lastIn(std::string_view text) const {
    if (folded_.empty() || text.size() < folded_.size()) return std::nullopt;
    std::optional<std::size_t> last;
    std::size_t matched = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = FoldAsciiCase(text[i]);
        while (matched > 0 && c != folded_[matched]) matched = resume_[matched];
        if (c == folded_[matched] && ++matched == folded_.size()) {
            last = i + 1 - folded_.size();
            matched = resume_[matched];
        }
    }
    return last;
}

}  // namespace quorin
