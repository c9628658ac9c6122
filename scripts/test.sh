#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Quorin and runs every test: the normal build, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a minute of fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== build and test"
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j2

echo "== build and test under address and undefined-behaviour sanitizers"
bash scripts/build.sh build-asan -DQUORIN_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Qt keeps some allocations for the life of the process; leaks are checked
# in the core tests only.
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure -j2 -L core
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j2 -L ui --no-tests=ignore

echo "== fuzz the map loader for 60 seconds"
bash scripts/fuzz.sh 60
