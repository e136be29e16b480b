#!/usr/bin/env bash
# Builds both programs and runs the bundled example in build/example-run:
# a display run of the line-finding program on the example's own data, then
# the interfering-gas program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DLF_BUILD_TESTS=OFF >/dev/null
cmake --build build -j "$(nproc)" --target tesk kormal

run=build/example-run
rm -rf "$run"
mkdir -p "$run"
cp examples/display/input-vorne "$run/"
(cd "$run" && bash ../../examples/display/make_data.sh)

echo "=== tesk in $run ==="
(cd "$run" && ../tesk/tesk)
echo
echo "=== kormal ==="
(cd "$run" && ../kormal/kormal)
echo
