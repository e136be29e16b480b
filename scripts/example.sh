#!/usr/bin/env bash
# Builds both programs and runs the bundled example in build/example-run: a
# complete run of the line-finding program over the CO fundamental near
# 2140-2160 cm-1 on the example's own synthetic data, with the spectrum of all
# gases plotted on the console, then the interfering-gas program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target tesk kormal make_example_data

run=build/example-run
rm -rf "$run"
mkdir -p "$run"
cp examples/co_window/input-vorne "$run/"
build/examples/generator/make_example_data "$run"

echo "=== tesk, in $run ==="
(cd "$run" && ../tesk/tesk)
echo
echo "Tables written: $(cd "$run" && ls table* | tr '\n' ' ')"
echo
echo "=== kormal ==="
(cd "$run" && ../kormal/kormal)
echo
