// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the windows beside the main one reach the open map: its state,
// asked for at the moment it is needed (a later load replaces the caches).

#include <functional>

#include "map/MapState.h"

namespace quorin::ui {

using MapSource = std::function<const MapState&()>;

}  // namespace quorin::ui
