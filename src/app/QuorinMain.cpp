// SPDX-License-Identifier: GPL-3.0-or-later
// quorin: the desktop tool.

#include "app/Startup.h"
#include "file/SystemFile.h"

int main(int argc, char** argv) {
    // Before anything is opened: a map opened on a closed descriptor 2
    // would take the toolkit's warnings.
    quorin::OpenClosedStandardDescriptors();
    quorin::HandleEndingSignals();
    return quorin::app::RunQuorin(argc, argv);
}
