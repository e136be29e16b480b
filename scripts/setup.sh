#!/usr/bin/env bash
# Installs, only when missing, the Debian packages the build, the fuzz targets
# (clang, its sanitizer and fuzzer runtimes, and its OpenMP), the Python
# package (python/) and the sweep workflow (workflow/, Snakemake) need, and
# what the tests of the report page use: a strict HTML parser (html5lib) and
# a headless browser (chromium, for that test alone).
set -euo pipefail

packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libeigen3-dev
          python3-numpy python3-matplotlib python3-pytest snakemake clang libclang-rt-dev libomp-dev
          python3-html5lib chromium)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  # Quiet: a browser brings many packages, each of which dpkg would name.
  log=$(mktemp)
  if ! DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" </dev/null >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
fi
