#!/usr/bin/env bash
# Builds everything and runs every test. With --sanitize, builds a second tree
# under AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests there.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  flags=(-DLF_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DLF_BUILD_BENCH=OFF)
fi
jobs=$(nproc)
cmake -S . -B "$build" -DLF_BUILD_TESTS=ON -DLF_BUILD_BENCH=ON "${flags[@]}" >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" -j "$jobs" --output-on-failure
