#!/usr/bin/env bash
# Builds and runs the tests; prints the seconds each step took.
#   bash scripts/test.sh             tree build: a release build of everything,
#                                    the benchmarks compiled (not run), every
#                                    C++ test, every Python test.
#   bash scripts/test.sh --sanitize  tree build-sanitize: clang at -O1 -g under
#                                    AddressSanitizer and UndefinedBehaviorSanitizer,
#                                    with the fuzz targets (scripts/fuzz.sh can run
#                                    them from this tree); every C++ test, corpus
#                                    replays included, then the Python tests that
#                                    run the programs (test_program_tables.py).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
mode=release
[ "${1:-}" = "--sanitize" ] && mode=sanitize
jobs=$(nproc)

step() {  # step NAME COMMAND...: runs the command and prints its time
  local name=$1 start=$SECONDS status=0
  shift
  "$@" || status=$?
  echo "[test.sh $mode] $name: $((SECONDS - start)) s" >&2
  return "$status"
}

if [ "$mode" = sanitize ]; then
  build=build-sanitize
  # The fuzz targets share this tree: the libraries are built once, with the
  # fuzzer's coverage hooks, which the tests leave unused.
  configure=(-DLF_BUILD_TESTS=ON -DLF_BUILD_BENCH=OFF -DLF_SANITIZE=ON -DLF_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug)
  export CXX=clang++
  # The Python tests that run tesk and kormal on the example data: the other
  # Python tests read hand-made tables or drive snakemake, and run the
  # programs, if at all, on decks the C++ end-to-end tests already cover.
  pytests=(python/tests/test_program_tables.py)
else
  build=build
  # The benchmarks are compiled here, so that a change that breaks them fails,
  # but not run: their timings mean nothing on a shared machine.
  configure=(-DLF_BUILD_TESTS=ON -DLF_BUILD_BENCH=ON)
  pytests=(python/tests)
fi
step configure cmake -S . -B "$build" "${configure[@]}" >/dev/null
step build cmake --build "$build" -j "$jobs"
step ctest ctest --test-dir "$build" -j "$jobs" --output-on-failure

# The Python readers, on hand-made tables and on tables the programs just
# built write. Debian's interpreter, which has the packages setup.sh installs.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
status=0
# The browser test's screenshot of the study page is kept in the tree.
LF_TESK_BIN="$PWD/$build/tesk/tesk" LF_KORMAL_BIN="$PWD/$build/kormal/kormal" \
  LF_EXAMPLE_DATA_BIN="$PWD/$build/examples/generator/make_example_data" \
  LF_TEST_ARTEFACTS="${LF_TEST_ARTEFACTS:-$PWD/$build/test-artefacts}" \
  step pytest "$python" -m pytest -q -p no:cacheprovider "${pytests[@]}" || status=$?
if [ "$status" -eq 5 ]; then
  echo "pytest collected no test in ${pytests[*]}" >&2
  status=0
fi
exit "$status"
