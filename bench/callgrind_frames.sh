#!/bin/bash
# Instructions per stereo frame of the plug-in's processReplacing, counted by
# callgrind, which unlike a stopwatch gives the same figure on a busy machine.
# Each mode is rendered twice, 20 and 220 blocks of 512 frames; the difference
# of the two totals divided by the difference of frames leaves out loading,
# construction and teardown.
#
# usage: bench/callgrind_frames.sh path/to/junkyard-bench-driver
# ($JUNKYARD_PLUGIN selects another module, as for the driver itself.)
set -euo pipefail

driver=${1:?usage: $0 path/to/junkyard-bench-driver}
command -v valgrind >/dev/null || { echo "callgrind_frames.sh: valgrind is not installed" >&2; exit 1; }

small=$((20 * 512))
large=$((220 * 512))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

instructions() {  # mode frames -> total instructions of one run
  local out="$work/callgrind.out"
  if ! valgrind --tool=callgrind --callgrind-out-file="$out" "$driver" "$1" "$2" \
      >"$work/log" 2>&1; then
    cat "$work/log" >&2
    echo "callgrind_frames.sh: the driver failed under callgrind" >&2
    exit 1
  fi
  awk '/^summary:/ { print $2; found = 1; exit } END { if (!found) exit 1 }' "$out"
}

for mode in Line Mic; do
  lower=$(echo "$mode" | tr '[:upper:]' '[:lower:]')
  few=$(instructions "$lower" "$small")
  many=$(instructions "$lower" "$large")
  awk -v mode="$mode" -v few="$few" -v many="$many" -v frames=$((large - small)) \
    'BEGIN { printf "%s: %.1f instructions per stereo frame\n", mode, (many - few) / frames }'
done
