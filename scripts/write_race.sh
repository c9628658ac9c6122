#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# write_race.sh QUORIN_CLI WRITE_MAXIMAL_MAP [RUNS]: races other programs
# against quorin-cli's writes on the maximal map, RUNS times each: a touch, a
# same-size rewrite and a cut of the map at a random moment after protect
# loaded it, and two sets (with --backup) of one script's name at once.
# Prints the counts and exits 1 when a cut map ended longer than it was cut,
# when both sets succeeded (the second one wrote into a map it had not
# loaded), or when protect wrote after a change and still said the map was
# protected in more than 1 + RUNS/50 runs. Those few are a change that came
# within the microseconds between a write's check and the write, or between
# the write and the look at what it did: nothing that only looks at the file
# can tell such a change from its own write. Without the checks before every
# write it is most runs.
set -u
cli=${1:?usage: write_race.sh QUORIN_CLI WRITE_MAXIMAL_MAP [RUNS]}
make_map=${2:?usage: write_race.sh QUORIN_CLI WRITE_MAXIMAL_MAP [RUNS]}
runs=${3:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make_map" "$work/original.map" || exit 1
map="$work/map"
touched_at=1000000000
# Inside the node table, which protect writes first (and far below the end).
cut_to=700000
# The tables and the nodes lie in the first 2 MiB; the rewrite changes them all.
cp "$work/original.map" "$work/rewritten.map"
head -c 2097152 /dev/urandom >"$work/rewrite"
dd if="$work/rewrite" of="$work/rewritten.map" conv=notrunc status=none
mkfifo "$work/err"
failures=0

# protect_race DISTURBANCE: protect a fresh copy, disturb it at once or a
# random 0.5-2 ms after the load (protect then writes for a few ms); sets
# code and err.
protect_race() {
    cp "$work/original.map" "$map"
    "$cli" protect "$map" 2>"$work/err" &
    local pid=$!
    exec 3<"$work/err"
    local first
    read -r first <&3
    local pauses=(0 0.0005 0.001 0.002)
    local pause=${pauses[RANDOM % 4]}
    [ "$pause" != 0 ] && sleep "$pause"
    "$@"
    err="$first$(cat <&3)"
    exec 3<&-
    wait "$pid"
    code=$?
}

# change_race WHAT UNCHANGED_SINCE CHANGE...: RUNS protect races against
# CHANGE; UNCHANGED_SINCE succeeds when nothing was written after it.
change_race() {
    local what=$1 unchanged_since=$2
    shift 2
    local clean=0 stopped=0 slipped=0 wrong=0
    for ((i = 0; i < runs; i++)); do
        protect_race "$@"
        if "$unchanged_since"; then
            if [ "$code" -eq 0 ]; then clean=$((clean + 1)); else stopped=$((stopped + 1)); fi
        elif [ "$code" -eq 0 ]; then wrong=$((wrong + 1))
        else slipped=$((slipped + 1)); fi
    done
    echo "$what during protect: $runs runs; after the last write $clean, stopped by it $stopped," \
        "a write between the check and it $slipped, wrote after it and said protected $wrong"
    [ "$wrong" -gt $((1 + runs / 50)) ] && failures=$((failures + wrong))
}

# A touch gives the map a time of its own; a write after it gives a new one.
untouched_since() { [ "$(stat -c %Y "$map")" = "$touched_at" ]; }
change_race "a touch" untouched_since touch -d "@$touched_at" "$map"
# The rewrite is one write call, so the kernel puts it between two of
# protect's writes, never into one.
rewrite_kept() { cmp -s "$map" "$work/rewritten.map"; }
change_race "a same-size rewrite" rewrite_kept dd if="$work/rewrite" of="$map" conv=notrunc status=none

clean=0 stopped=0 taken_back=0 longer=0
for ((i = 0; i < runs; i++)); do
    protect_race truncate -s "$cut_to" "$map"
    if [ "$(stat -c %s "$map")" -gt "$cut_to" ]; then longer=$((longer + 1))
    elif [[ $err == *"cut back"* ]]; then taken_back=$((taken_back + 1))
    elif [ "$code" -eq 0 ]; then clean=$((clean + 1))
    else stopped=$((stopped + 1)); fi
done
echo "cut during protect: $runs runs; cut after the last write $clean, stopped at the cut $stopped," \
    "grown by a write and cut back $taken_back, left longer than cut $longer"
failures=$((failures + longer))

one=0 both=0 neither=0
for ((i = 0; i < runs; i++)); do
    cp "$work/original.map" "$map"
    # The backup makes the time between a set's check and its write long.
    "$cli" --backup set "$map" script maximal_script_0 Name race_a 2>/dev/null &
    first=$!
    "$cli" --backup set "$map" script maximal_script_0 Name race_b 2>/dev/null &
    second=$!
    wait "$first"
    a=$?
    wait "$second"
    b=$?
    if [ "$a" -eq 0 ] && [ "$b" -eq 0 ]; then both=$((both + 1))
    elif [ "$a" -eq 0 ] || [ "$b" -eq 0 ]; then one=$((one + 1))
    else neither=$((neither + 1)); fi
done
echo "two sets of one name at once: $runs runs; one succeeded $one, both succeeded $both, neither $neither"
failures=$((failures + both + neither))

[ "$failures" -eq 0 ]
