// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in demo map: scripts of all five types and globals of several
// value types, whose nodes show every way a node can be rendered.

#include "builder/MapBuilder.h"

namespace quorin {

MapBuilder DemoMap();

}  // namespace quorin
