#!/usr/bin/env bash
# Builds both programs and runs the bundled example in build/example-run, on
# synthetic data that the project's own generator writes (a CO fundamental
# line list with interfering gases, a mid-latitude atmosphere, a solar
# spectrum): a line-finding study of CO at 2140-2180 cm-1 with tesk, then
# kormal on its microwindows, then the retrieval plan (plan.json, bands.ctl)
# with the information content of the windows and one line on all of them
# together (degrees of freedom, total column error), then pictures of the
# spectra, the last window, the joint averaging kernels and the degrees of
# freedom and column-error budget per window, and, when tesk recommends
# windows (table81), how their joint degrees of freedom and column error
# grow with their number and where they lie in the spectrum, then the
# study's page, report.html, which holds all of it. Ends with the microwindow
# lists, the interfering gases of each window and where every result lies.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target tesk kormal make_example_data

run=build/example-run
rm -rf "$run"
mkdir -p "$run"
cp examples/co_window/input-vorne examples/co_window/input-kormal "$run/"
build/examples/generator/make_example_data "$run"

echo "=== tesk: line finding for CO, in $run ==="
# The consoles are kept beside the tables: the page names the programs' versions from them.
(cd "$run" && ../tesk/tesk | tee tesk.console)
echo
echo "=== kormal: interfering gases of every microwindow ==="
(cd "$run" && ../kormal/kormal </dev/null | tee kormal.console)
echo

# Debian's interpreter has the numpy and matplotlib that setup.sh installs.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
here=$PWD
echo "=== plan: retrieval bands and information content of the microwindows ==="
# The plan takes its windows from the table kormal rated (kormal.log's first word).
rated=$(awk 'NR == 1 { print $1 }' "$run/kormal.log")
(cd python && "$python" -m linefinding.plan --windows "$rated" "$here/$run" | sed "s|$here/||g")
(cd python && "$python" -c 'import sys; from linefinding.table79 import joint_line, read_table79
print("table79: " + joint_line(read_table79(sys.argv[1])))' "$here/$run/table79")
echo
(cd python && "$python" -m linefinding.tabplot spectrum "$here/$run/table71" --windows "$here/$run/table76" \
   -o "$here/$run/co_windows" --title "CO 2140-2180 cm-1: spectra and microwindows" >/dev/null)
(cd python && "$python" -m linefinding.tabplot kormal "$here/$run/spectra.out" -o "$here/$run/last_window" \
   --title "kormal: transmissions in the last window" >/dev/null)
(cd python && "$python" -m linefinding.tabplot kernels "$here/$run/table80" -o "$here/$run/kernels" \
   --title "CO: averaging kernels of all microwindows together (table80)" >/dev/null)
(cd python && "$python" -m linefinding.tabplot dofs "$here/$run/table79" -o "$here/$run/dofs" \
   --title "CO: degrees of freedom and column errors per microwindow (table79)" >/dev/null)
if [ -f "$run/table81" ]; then
  (cd python && "$python" -m linefinding.tabplot choice "$here/$run/table81" -o "$here/$run/choice" \
     --title "CO: recommended windows 1 to n together (table81)" >/dev/null)
  (cd python && "$python" -m linefinding.tabplot spectrum "$here/$run/table71" --windows "$here/$run/table76" \
     --recommended "$here/$run/table81" -o "$here/$run/co_recommended" \
     --title "CO 2140-2180 cm-1: microwindows (table76) and recommended windows (table81)" >/dev/null)
else
  echo "table81: not written by this tesk: no pictures of recommended windows"
fi

(cd python && "$python" -m linefinding.report "$here/$run" >/dev/null)

echo "=== Microwindows (table76) ==="
cat "$run/table76" | tr -d '\r'
echo
if [ -f "$run/table81" ]; then
  echo "=== Recommended microwindows (table81, without its deck lines) ==="
  nhead=$(awk 'NR == 1 { print $1 }' "$run/table81")
  tail -n +"$((nhead + 3))" "$run/table81" | tr -d '\r'
  echo
fi
echo "=== Interfering gases per window (microwin: window, then the gases by rank) ==="
cat "$run/microwin" | tr -d '\r'
echo
echo "=== Retrieval bands (bands.ctl) ==="
cat "$run/bands.ctl"
echo
echo "=== Where the results are ==="
echo "  working directory     $run"
echo "  deck echo             $run/output (consoles: $run/tesk.console, $run/kormal.console)"
echo "  spectra               $run/table71 (and the target's profile in table70)"
echo "  line finding          $run/table72 .. table76 (table76: the microwindows)"
echo "  recommended windows   $run/table81 (the windows kormal rated and the plan uses)"
echo "  information content   $run/table79 (per window), $run/table80 (kernels of all windows)"
echo "  interference report   $run/output.dat, $run/microwin, $run/spectra.out (last window),"
echo "                        $run/kormal.log (the windows rated and skipped)"
echo "  retrieval plan        $run/plan.json, $run/bands.ctl"
echo "  pictures              $run/co_windows.svg/.png, $run/last_window.svg/.png,"
echo "                        $run/kernels.svg/.png, $run/dofs.svg/.png,"
echo "                        $run/choice.svg/.png, $run/co_recommended.svg/.png"
echo "  the study's page      $run/report.html (all of the above on one page: open it in a browser)"
