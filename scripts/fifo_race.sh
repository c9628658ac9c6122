#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# fifo_race.sh QUORIN_CLI [RUNS]: swaps a FIFO and a regular file at one path
# while quorin-cli opens that path, RUNS times each for a map, a names file
# and demo's output. Each run has a time limit; a run that reaches it is a
# hang. Prints the counts and exits 1 when anything hung.
set -u
cli=${1:?usage: fifo_race.sh QUORIN_CLI [RUNS]}
runs=${2:-1000}
limit=10
work=$(mktemp -d)
swapper=
cleanup() {
    [ -n "$swapper" ] && kill "$swapper" 2>/dev/null && wait "$swapper" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
"$cli" demo "$work/demo.map" || exit 1
"$cli" --help >/dev/null || exit 1
printf '%s\n' emberreach saltmarsh ironcauseway hollowspire tidewatch cindervault greywater sunkenchoir \
    ashfall lastlantern ui >"$work/names.txt"
mkfifo "$work/fifo"

# Puts the FIFO and then the regular file at target, each by an atomic
# rename of a fresh hard link, until killed.
swap() {
    local target=$1 regular=$2
    while :; do
        ln -f "$work/fifo" "$target.next" && mv -fT "$target.next" "$target"
        ln -f "$regular" "$target.next" && mv -fT "$target.next" "$target"
    done
}

# race NAME TARGET REGULAR COMMAND...: runs COMMAND RUNS times while TARGET swaps.
race() {
    local name=$1 target=$2 regular=$3
    shift 3
    swap "$target" "$regular" &
    swapper=$!
    local hangs=0 succeeded=0 refused=0 code
    for ((i = 0; i < runs; i++)); do
        timeout "$limit" "$@" >/dev/null 2>&1
        code=$?
        if [ "$code" -eq 124 ] || [ "$code" -ge 128 ]; then hangs=$((hangs + 1))
        elif [ "$code" -eq 0 ]; then succeeded=$((succeeded + 1))
        else refused=$((refused + 1)); fi
    done
    kill "$swapper" 2>/dev/null
    wait "$swapper" 2>/dev/null
    swapper=
    echo "$name: $runs runs, $hangs hung, $succeeded succeeded, $refused refused"
    total_hangs=$((total_hangs + hangs))
}

total_hangs=0
cp "$work/demo.map" "$work/map.regular"
race "info MAP" "$work/map" "$work/map.regular" "$cli" info "$work/map"
race "--map-names FILE" "$work/names" "$work/names.txt" "$cli" --map-names "$work/names" info "$work/demo.map"
cp "$work/demo.map" "$work/out.regular"
race "demo OUT --force" "$work/out" "$work/out.regular" "$cli" demo "$work/out" --force
[ "$total_hangs" -eq 0 ]
