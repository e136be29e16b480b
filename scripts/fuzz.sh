#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time, two at a time,
# starting from its committed corpus fuzz/corpus/<target>. New inputs and any
# crash, leak or timeout go to a scratch directory, never into the committed
# corpus. Fails when any target finds something.
#   bash scripts/fuzz.sh [seconds per target, default 30] [tree]
# Without a tree the targets are built in their own tree, build-fuzz. With
# one, it must be a tree configured with -DLF_FUZZ=ON, such as the
# build-sanitize of `scripts/test.sh --sanitize`, which CI fuzzes from so that
# the libraries are built once.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
tree=${2:-}
bash scripts/setup.sh
if [ -z "$tree" ]; then
  tree=build-fuzz
  CXX=clang++ cmake -S . -B "$tree" -DLF_FUZZ=ON -DLF_BUILD_TESTS=OFF -DLF_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
elif ! grep -qx 'LF_FUZZ:BOOL=ON' "$tree/CMakeCache.txt" 2>/dev/null; then
  echo "fuzz.sh: $tree is not a tree configured with -DLF_FUZZ=ON" >&2
  exit 2
fi
targets=()
for src in fuzz/corpus/*/; do targets+=("$(basename "$src")"); done
cmake --build "$tree" -j 2 --target "${targets[@]/#/fuzz_}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/lf-fuzz.XXXXXX")
echo "Fuzzing ${#targets[@]} targets for ${seconds} s each; scratch directory $scratch"

run_target() {
  local t=$1 dir=$scratch/$1
  mkdir -p "$dir/new" "$dir/findings"
  local status=0
  "$tree/fuzz/fuzz_$t" "$dir/new" "$PWD/fuzz/corpus/$t" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -close_fd_mask=1 -artifact_prefix="$dir/findings/" >"$dir/log" 2>&1 || status=$?
  echo "$status" >"$dir/status"
}

# Two at a time: CI has two cores.
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge 2 ]; then
    wait -n || true
    running=$((running - 1))
  fi
  run_target "$t" &
  running=$((running + 1))
done
wait

failed=0
printf '%-20s %12s  %s\n' target executions result
for t in "${targets[@]}"; do
  dir=$scratch/$t
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$dir/log" | tail -1)
  result=clean
  if [ "$(cat "$dir/status")" != 0 ] || [ -n "$(ls -A "$dir/findings")" ] ||
     grep -q 'ERROR: \(libFuzzer\|AddressSanitizer\|LeakSanitizer\)\|runtime error:' "$dir/log"; then
    result="FINDING (see $dir)"
    failed=1
  fi
  printf '%-20s %12s  %s\n' "$t" "${runs:-?}" "$result"
done
if [ "$failed" -ne 0 ]; then
  for t in "${targets[@]}"; do
    dir=$scratch/$t
    if [ "$(cat "$dir/status")" != 0 ] || [ -n "$(ls -A "$dir/findings")" ]; then
      echo "---- $t: end of log"
      tail -40 "$dir/log"
      ls "$dir/findings"
    fi
  done
  exit 1
fi
