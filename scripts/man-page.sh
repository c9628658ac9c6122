#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the manual page of PROGRAM from its own --help and --version with
# help2man, adding the sections of INCLUDE (NAME, DESCRIPTION, EXIT STATUS,
# ENVIRONMENT, FILES), and writes it to OUTPUT.
#   man-page.sh PROGRAM INCLUDE OUTPUT
#
# help2man takes the synopsis from a line that begins "Usage:" and makes an
# OPTIONS section of a paragraph headed "Options:". Quorin's programs print
# "usage:" and "options:" (their usage errors print the same text), so the
# help text reaches help2man through a filter that capitalises those two
# words and sets each line of the command list apart, which keeps one command
# a line on the page. Nothing else of the text changes.
set -euo pipefail

program=$1 include=$2 output=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

filtered="$work/$(basename "$program")"
cat > "$filtered" <<WRAPPER
#!/usr/bin/env bash
set -euo pipefail
if [ "\$*" = --help ]; then
  "$program" --help | sed -e '1s/^usage:/Usage:/' -e 's/^options:\$/\nOptions:/' -e '/^commands:\$/,/^[^ ]/{/^  /G}'
else
  exec "$program" "\$@"
fi
WRAPPER
chmod +x "$filtered"
help2man --no-info --section=1 --include="$include" --output="$output.tmp" "$filtered"
mv "$output.tmp" "$output"
