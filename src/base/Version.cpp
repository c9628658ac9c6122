// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Version.h"

#ifndef QUORIN_VERSION
#error "QUORIN_VERSION is set by CMake from the project version"
#endif

namespace quorin {

std::string_view Version() { return QUORIN_VERSION; }

std::string VersionText() {
    std::string text = "quorin " + std::string(Version()) + "\n";
    text += std::string(kCopyright) + "\n";
    text += "Licence " + std::string(kLicenceId) + ": " + std::string(kLicenceName) + " <" + std::string(kLicenceUrl) + ">\n";
    text += "This is free software: you are free to change and redistribute it.\n"
            "There is NO WARRANTY, to the extent permitted by law.\n";
    return text;
}

}  // namespace quorin
