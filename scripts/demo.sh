#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the two executables, writes the built-in demo map and opens it in
# the desktop tool. Without a display it says so and lists the demo map
# instead. The tests and benchmarks are left to scripts/test.sh, which
# builds everything in the same folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
QUORIN_BUILD_TARGETS="quorin quorin-cli" bash scripts/build.sh build
./build/quorin-cli demo build/demo.map --force
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset), so Quorin cannot open a window."
  echo "The demo map build/demo.map holds:"
  ./build/quorin-cli list build/demo.map
  exit 0
fi
./build/quorin-cli info build/demo.map
exec ./build/quorin build/demo.map
