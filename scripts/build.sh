#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds Quorin into build/ (or the folder given). Extra
# arguments go to the configure step. With QUORIN_BUILD_TARGETS set (names
# separated by spaces) only those targets and what they need are built.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for target in ${QUORIN_BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$build_dir" "${targets[@]}"
