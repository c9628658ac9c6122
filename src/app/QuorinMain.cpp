// SPDX-License-Identifier: GPL-3.0-or-later
// quorin: the desktop tool.

#include "app/Startup.h"

int main(int argc, char** argv) { return quorin::app::RunQuorin(argc, argv); }
