#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the map fuzzer with clang (address and undefined-behaviour
# sanitizers) and runs it for the given number of seconds (default 60) on a
# seed corpus made with the map builder plus the kept regression inputs.
# Inputs go up to 2 MiB, so maps built to hurt fit whole: texts that run on
# for a megabyte, thousands of scripts walking every node. Memory and time
# are bounded per input: an input that needs more than 512 MiB in one
# allocation, 1 GiB in all or 10 seconds is a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build_dir=build-fuzz
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORIN_BUILD_GUI=OFF -DQUORIN_BUILD_BENCH=OFF -DQUORIN_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=all" >/dev/null
cmake --build "$build_dir" --target map_fuzzer make_seeds
corpus="$build_dir/corpus"
mkdir -p "$corpus"
"$build_dir/tests/fuzz/make_seeds" "$corpus"
find tests/fuzz/regressions -type f ! -name '*.md' -exec cp {} "$corpus/" \;
mkdir -p "$build_dir/findings"
"$build_dir/tests/fuzz/map_fuzzer" -max_total_time="$seconds" -max_len=2097152 -rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=10 \
  -artifact_prefix="$build_dir/findings/" -print_final_stats=1 "$corpus"
