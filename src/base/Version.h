// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who this is: the version both executables and the About box show, and the
// licence the project is under. The version is the CMake project's, the one
// the package and the software-centre entry carry.

#include <string>
#include <string_view>

namespace quorin {

// "0.2.0"
std::string_view Version();

// What `--version` prints on both executables: "quorin VERSION", then the
// copyright, the licence and the absence of warranty, one line each.
std::string VersionText();

// What Quorin does, in one line.
inline constexpr std::string_view kSummary = "Browse and edit the scripts of Vexa maps";
inline constexpr std::string_view kCopyright = "Copyright (C) 2026 Quorin developers";
inline constexpr std::string_view kLicenceId = "GPL-3.0-or-later";
inline constexpr std::string_view kLicenceName = "GNU General Public License, version 3 or later";
inline constexpr std::string_view kLicenceUrl = "https://www.gnu.org/licenses/gpl-3.0.html";

}  // namespace quorin
