// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test support: GNU patch applied to texts, as a modder applies a section
// of a map comparison to a record's text.

#include <optional>
#include <string>
#include <vector>

namespace quorin::testing {

struct PatchJob {
    std::string oldText;
    std::string section;
};

// Each section applied to its old text by GNU patch, exactly: no fuzz, and
// a hunk patch has to look for elsewhere than its line numbers say counts
// as a failure. All jobs run in one shell. The text patch wrote for each
// job, or nothing when patch failed, with what patch said in why.
struct PatchOutcome {
    std::optional<std::string> text;
    std::string why;
};
std::vector<PatchOutcome> ApplyWithPatch(const std::vector<PatchJob>& jobs);

}  // namespace quorin::testing
