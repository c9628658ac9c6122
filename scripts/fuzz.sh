#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the map fuzzer with clang (address and undefined-behaviour
# sanitizers) and runs it for the given number of seconds (default 60) on a
# seed corpus made with the map builder plus the kept regression inputs, in
# two runs that share the time:
# - small inputs, up to 16 KiB, for three quarters of it: thousands of
#   inputs a second, so the mutations reach far into the loader and every
#   read-only operation (the coverage);
# - large inputs, up to 2 MiB, for the rest: the maps built to hurt fit
#   whole, texts that run on for a megabyte, thousands of scripts walking
#   every node, and a huge table count in a sparse file of 64 MiB (the
#   growth of memory and time with size).
# Memory and time are bounded per input in both: an input that needs more
# than 512 MiB in one allocation, 1 GiB in all or 10 seconds is a finding.
# Each run prints its rate and the coverage it reached at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
small_seconds=$((seconds * 3 / 4))
large_seconds=$((seconds - small_seconds))
small_len=16384
large_len=2097152
build_dir=build-fuzz
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORIN_BUILD_GUI=OFF -DQUORIN_BUILD_BENCH=OFF -DQUORIN_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=all" >/dev/null
cmake --build "$build_dir" --target map_fuzzer make_seeds
seeds="$build_dir/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
"$build_dir/tests/fuzz/make_seeds" "$seeds"
find tests/fuzz/regressions -type f ! -name '*.md' -exec cp {} "$seeds/" \;
# Each run keeps its own corpus between calls; the seeds join both, the small
# run taking those that fit it and make a file no larger.
small="$build_dir/corpus-small"
large="$build_dir/corpus-large"
mkdir -p "$small" "$large" "$build_dir/findings"
for seed in "$seeds"/*; do
  if [ "$(stat -c %s "$seed")" -le "$small_len" ] && ! grep -q quorin-sparse "$seed"; then cp "$seed" "$small/"; fi
done
cp "$seeds"/* "$large/"

# The small run's inputs make no file larger than themselves, however they
# end (the fuzzer learns the sparse tag); the large run's up to 64 MiB.
fuzz() {  # fuzz SECONDS MAX_LEN CORPUS
  echo "== fuzzing inputs up to $2 bytes for $1 seconds"
  local most_file=""
  [ "$2" -le "$small_len" ] && most_file="$2"
  QUORIN_FUZZ_MOST_FILE="$most_file" "$build_dir/tests/fuzz/map_fuzzer" -max_total_time="$1" -max_len="$2" -rss_limit_mb=1024 -malloc_limit_mb=512 \
    -timeout=10 -artifact_prefix="$build_dir/findings/" -print_final_stats=1 "$3"
}
fuzz "$small_seconds" "$small_len" "$small"
fuzz "$large_seconds" "$large_len" "$large"
