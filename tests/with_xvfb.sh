#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private virtual X server (Xvfb),
# stopped afterwards, so the tests that drive real windows run anywhere.
# Usage: tests/with_xvfb.sh COMMAND [ARGS...]
set -euo pipefail

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "with_xvfb: Xvfb not found; the tests that need a display skip" >&2
  "$@"
  exit
fi

dir=$(mktemp -d)
# The server picks a free display number and writes it to fd 3 once it
# accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$dir"' EXIT

for _ in $(seq 200); do
  [ -s "$dir/display" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$dir/display" ]; then
  echo "with_xvfb: Xvfb did not start" >&2
  cat "$dir/log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$dir/display")"
"$@"
