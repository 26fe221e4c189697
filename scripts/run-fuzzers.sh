#!/usr/bin/env bash
# Runs each libFuzzer target for the given number of seconds (default 60),
# starting from the seed corpus in fuzz/corpus/<target>/. New inputs go to a
# scratch corpus in the build tree; crashes are saved there as well and fail
# the run. Builds the `fuzz` preset first unless it is already built.
#
# Usage: scripts/run-fuzzers.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(meta_fuzz string_fuzz container_fuzz)
fi

build=build/fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset fuzz
fi
cmake --build "$build" --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  work="$build/fuzz-runs/$target"
  mkdir -p "$work/corpus" "$work/artifacts"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$work/artifacts/")
  if [ -f "fuzz/$target.dict" ]; then
    options+=(-dict="fuzz/$target.dict")
  fi
  echo "::: $target for ${seconds}s"
  if ! "$build/fuzz/$target" "${options[@]}" "$work/corpus" "fuzz/corpus/$target" \
      > "$work/log.txt" 2>&1; then
    status=1
    echo "!!! $target failed; the log is $work/log.txt and the input is in $work/artifacts/"
    grep -E "check failed|ERROR|SUMMARY" "$work/log.txt" | head -n 5 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt" | tail -n 1)
  echo "    $target: ${runs:-?} executions"
done
exit $status
