#!/bin/bash
# Runs every fuzz target of a build for SECONDS each, on a copy of its seed
# corpus (the committed corpus never grows), and says for each target how many
# inputs it ran and whether it found anything.
#   tests/fuzz/run_fuzzers.sh BUILD_DIR SECONDS
# Inputs that crash or trip a sanitizer are kept in FUZZ_ARTIFACTS (default:
# a new folder under /tmp), named after their target. Exit status 1 when any
# target found something.
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build_dir=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
targets=(fuzz_set_chunk fuzz_process_events fuzz_dispatcher fuzz_preset_file)

if [ -n "${FUZZ_ARTIFACTS:-}" ]; then
  artifacts=$FUZZ_ARTIFACTS
  mkdir -p "$artifacts"
  own_artifacts=0
else
  artifacts=$(mktemp -d /tmp/junkyard-fuzz-artifacts.XXXXXX)
  own_artifacts=1
fi
work=$(mktemp -d /tmp/junkyard-fuzz-work.XXXXXX)
trap 'rm -rf "$work"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

failed=0
summary=()
for target in "${targets[@]}"; do
  binary=$build_dir/tests/fuzz/$target
  if [ ! -x "$binary" ]; then
    echo "$target: not built ($binary)" >&2
    summary+=("$(printf '%-22s %12s  %s' "$target" "-" "NOT BUILT")")
    failed=1
    continue
  fi
  corpus=$work/$target
  mkdir -p "$corpus"
  if [ -d "$here/corpus/$target" ]; then cp "$here/corpus/$target/"* "$corpus/" 2>/dev/null || true; fi
  log=$work/$target.log
  echo "== $target: ${seconds}s"
  # -timeout: one input runs a few blocks of audio, far below a second;
  # -rss_limit_mb: an input may resize the delay lines, never by gigabytes.
  "$binary" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/$target-" "$corpus" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  runs=${runs:-?}
  if [ $status -eq 0 ]; then
    verdict="nothing found"
  else
    verdict="FOUND SOMETHING (exit $status)"
    failed=1
    # The report itself: everything from the first sanitizer or check line on.
    grep -v -E '^(#[0-9]+|INFO:|MS:)' "$log" | head -n 60 >&2
    cp "$log" "$artifacts/$target.log"
    echo "$target: log and reproducer in $artifacts" >&2
  fi
  summary+=("$(printf '%-22s %12s  %s' "$target" "$runs" "$verdict")")
done

echo
printf '%-22s %12s  %s\n' "target" "executions" "result"
printf '%s\n' "${summary[@]}"
if [ $failed -ne 0 ]; then
  echo "Findings kept in $artifacts"
  exit 1
fi
if [ $own_artifacts -eq 1 ]; then rmdir "$artifacts" 2>/dev/null || true; fi
exit 0
