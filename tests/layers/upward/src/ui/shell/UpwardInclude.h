// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Planted for the include check's own test: the shell must not include a
// window feature.

#include "ui/main/MainWindow.h"
