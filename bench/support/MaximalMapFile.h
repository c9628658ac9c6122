// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The maximal map written once per benchmark process to a temporary file,
// and loaded once.

#include <string>

#include "map/MapState.h"

namespace quorin::bench {

// The path of the maximal map file (written on first use, removed at exit).
const std::string& MaximalMapPath();

// That file loaded through the load chain, once per process.
const MapState& LoadedMaximalMap();

}  // namespace quorin::bench
