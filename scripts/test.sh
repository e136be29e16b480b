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

# The Python readers, on hand-made tables and on tables the programs just
# built write. Debian's interpreter, which has the packages setup.sh installs.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
status=0
LF_TESK_BIN="$PWD/$build/tesk/tesk" LF_KORMAL_BIN="$PWD/$build/kormal/kormal" \
  LF_EXAMPLE_DATA_BIN="$PWD/$build/examples/generator/make_example_data" \
  "$python" -m pytest -q -p no:cacheprovider python/tests || status=$?
if [ "$status" -eq 5 ]; then
  echo "pytest collected no test in python/tests" >&2
  status=0
fi
exit "$status"
