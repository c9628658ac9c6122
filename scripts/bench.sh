#!/usr/bin/env bash
# Builds Quorin and measures it on the maximal map (32767 nodes, 2000
# scripts, 2000 globals, 64 MiB): the load chain against one plain read of
# the same bytes, the extract-all text, the command database, the search,
# the Find window's longest stall while typing (its thread's own processor
# time, which a machine shared with other work does not inflate), the undo of
# Protect Map, the backup against a plain copy, one field write, and the peak
# memory of whole quorin-cli runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build >/dev/null

median() {  # median() BENCH FILTER -> the median real time in ms
  "./build/bench/$1" --benchmark_filter="^$2/" --benchmark_format=csv 2>/dev/null |
    awk -F, -v name="\"$2/" 'index($1, name) == 1 && $1 ~ /_median"$/ {
      t = $3; u = $5; if (u == "us") t /= 1000; if (u == "ns") t /= 1000000; printf "%.3f", t }'
}

load=$(median load_bench LoadChain)
floor=$(median load_bench ReadWholeFileOnce)
all=$(median text_bench ExtractAllText)
database=$(median text_bench CommandDatabase)
find_common=$(median search_bench FindCommonCommand)
find_rare=$(median search_bench FindRareCommand)
typing_stall=$(median ui/find_window_bench LongestStallTypingCommonCommand)
undo_protect=$(median write_bench UndoProtectMap)
backup=$(median write_bench BackupOfMap)
plain_copy=$(median write_bench PlainCopyOfMap)
field_write=$(median write_bench FieldWrite)

map=$(mktemp --suffix=.map)
trap 'rm -f "$map"' EXIT
./build/bench/write_maximal_map "$map"
peak_kib() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
info_kib=$(peak_kib ./build/quorin-cli info "$map")
all_kib=$(peak_kib ./build/quorin-cli extract-all "$map")

printf 'maximal map: %s bytes\n' "$(stat -c %s "$map")"
printf '%-40s %10s ms  (target <= 5x the floor: %.1fx)\n' "load chain, median" "$load" "$(awk -v a="$load" -v b="$floor" 'BEGIN { print a / b }')"
printf '%-40s %10s ms\n' "one plain read of the file, median" "$floor"
printf '%-40s %10s ms  (target <= 10 ms)\n' "extract-all text, median" "$all"
printf '%-40s %10s ms  (target <= 5 ms)\n' "command database, median" "$database"
printf '%-40s %10s ms  (target <= 20 ms)\n' "find a common command, median" "$find_common"
printf '%-40s %10s ms\n' "find a rare command, median" "$find_rare"
printf '%-40s %10s ms  (target <= 16 ms)\n' "Find window typing, longest stall" "$typing_stall"
printf '%-40s %10s ms  (target <= 100 ms)\n' "undo of Protect Map, median" "$undo_protect"
printf '%-40s %10s ms  (target <= 2x a plain copy: %.1fx)\n' "backup of the map, median" "$backup" "$(awk -v a="$backup" -v b="$plain_copy" 'BEGIN { print a / b }')"
printf '%-40s %10s ms\n' "plain copy of the map, median" "$plain_copy"
printf '%-40s %10s ms  (target <= 2 ms)\n' "field write with identity check, median" "$field_write"
printf '%-40s %10s MiB (target <= 40 MiB)\n' "peak memory, quorin-cli info" "$(awk -v k="$info_kib" 'BEGIN { printf "%.1f", k / 1024 }')"
printf '%-40s %10s MiB (target <= 40 MiB)\n' "peak memory, quorin-cli extract-all" "$(awk -v k="$all_kib" 'BEGIN { printf "%.1f", k / 1024 }')"
