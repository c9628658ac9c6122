// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A query looked for as a substring of map texts. ASCII letters match in
// either case, as the stock map names do; every other byte matches only
// itself. The scan is linear in the text's length whatever its bytes, so a
// long hostile text cannot make a search crawl.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin {

class CaselessQuery {
public:
    explicit CaselessQuery(std::string_view query);

    // True when the query occurs in text. The empty query occurs nowhere:
    // it would make every record a hit.
    [[nodiscard]] bool foundIn(std::string_view text) const;
    // Where the last occurrence in text starts; nullopt when there is none.
    [[nodiscard]] std::optional<std::size_t> lastIn(std::string_view text) const;
    [[nodiscard]] std::size_t size() const { return folded_.size(); }
    [[nodiscard]] bool empty() const { return folded_.empty(); }

private:
    std::string folded_;
    // For each length of matched prefix, the longest proper prefix of the
    // query that is also its suffix: where a failed comparison resumes.
    std::vector<std::size_t> resume_;
};

}  // namespace quorin
