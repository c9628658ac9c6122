// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The maximal map written once per benchmark process to a temporary file.

#include <string>

namespace quorin::bench {

// The path of the maximal map file (written on first use, removed at exit).
const std::string& MaximalMapPath();

}  // namespace quorin::bench
