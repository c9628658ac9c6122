#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli's bash completion, loaded the way bash-completion loads it (by
# the command's name from a completions folder) and driven through the
# function that `complete -p quorin-cli` names, with the COMP_* words bash
# would set for each line.
#   completion_test.sh BUILT_COMPLETION_FILE
set -uo pipefail

built=$1
main=/usr/share/bash-completion/bash_completion
if [ ! -r "$main" ]; then
  echo "bash-completion is not installed ($main; scripts/setup.sh installs it)"
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/user/completions" "$work/files/folder"
cp "$built" "$work/user/completions/quorin-cli"
touch "$work/files/demo.map" "$work/files/notes.txt"
cd "$work/files" || exit 1

export BASH_COMPLETION_USER_DIR="$work/user"
# shellcheck source=/dev/null
. "$main"
__load_completion quorin-cli
function=$(complete -p quorin-cli 2>/dev/null | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
if [ -z "$function" ]; then
  echo "bash-completion did not load a completion for quorin-cli from $BASH_COMPLETION_USER_DIR"
  exit 1
fi

# The sorted candidates for the word the line ends in (empty after a blank).
candidates() {
  local line=$1
  # Words split at blanks, as bash splits them: an escaped blank stays in its word.
  read -r -a COMP_WORDS <<<"${line//\\ /$'\x01'}"
  COMP_WORDS=("${COMP_WORDS[@]//$'\x01'/\\ }")
  [[ $line == *' ' ]] && COMP_WORDS+=("")
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  "$function" quorin-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' ' -
}

# line | what it completes to, sorted
cases=(
  'quorin-cli s|script set'
  'quorin-cli --j|--json'
  'quorin-cli --json |database diff find global info list script'
  'quorin-cli --map-names names.txt e|extract-all extract-globals extract-scripts'
  'quorin-cli --map-names |demo.map folder notes.txt'
  'quorin-cli info |demo.map folder'
  'quorin-cli -- info d|demo.map'
  'quorin-cli set demo.map |global node script'
  'quorin-cli set demo.map script patrol_loop |ExpPointer Name ReturnType Type'
  'quorin-cli set demo.map node 131 Exp|ExpIdentity ExpType'
  'quorin-cli set demo.map script patrol_loop Type d|dormant'
  'quorin-cli set demo.map global vault_open type bo|boolean'
  'quorin-cli set demo.map node 131 valuetype speci|special\ form'
  'quorin-cli set demo.map node 131 ValueType special\ f|special\ form'
  'quorin-cli set demo.map script patrol_loop Name |'
  'quorin-cli script demo.map |'
  'quorin-cli demo |demo.map folder notes.txt'
  'quorin-cli demo out.map |--force'
  'quorin-cli demo out.map --force |'
  'quorin-cli demo -- -|'
  'quorin-cli list demo.map -|'
)

failures=0
for case in "${cases[@]}"; do
  line=${case%|*}
  expected=${case##*|}
  got=$(candidates "$line")
  if [[ $got != "$expected" ]]; then
    echo "\"$line\": expected \"$expected\", got \"$got\""
    failures=$((failures + 1))
  fi
done
echo "${#cases[@]} lines completed, $failures wrong"
[ "$failures" -eq 0 ]
