#!/usr/bin/env bash
# Writes the example's own data into the current directory: a small line list
# of CO lines in the list layout, and a spectrum table to plot, both synthetic.
set -euo pipefail

# Lines of the CO fundamental's R branch near 2140-2150 cm-1: position,
# a smooth intensity envelope, air width 0.06, lower-state energy.
awk 'BEGIN {
  for (j = 0; j < 5; j++) {
    nu = 2143.27 + 3.81 * j - 0.018 * j * j
    s = 4.0e-19 * exp(-(j - 7) * (j - 7) / 40.0)
    e = 1.92 * j * (j + 1)
    printf "%2d%1d%12.6f%10.3E%10s%5.3f%5.3f%10.4f%4.2f%8.5f%3d%3d%27s\n", 5, 1, nu, s, "", 0.060, 0.070, e, 0.73, -0.002, 0, 0, ""
  }
}' > lines.hit

# A transmission spectrum with three header lines, five columns as the
# spectrum tables have them: wavenumber, target, other gases, all gases, difference.
awk 'BEGIN {
  print "Synthetic CO transmission"; print ""; print " wavenumber   target   other   all   diff"
  for (i = 0; i <= 2000; i++) {
    nu = 2140.0 + 0.005 * i; tau = 0.0
    for (j = 0; j < 3; j++) { c = 2143.27 + 3.81 * j; g = 0.06; tau += 1.5 * g * g / ((nu - c) ^ 2 + g * g) }
    t = exp(-tau); o = exp(-0.02); printf "%10.4f %11.5e %11.5e %11.5e %11.5e\n", nu, t, o, t * o, 0.0
  }
}' > spectrum.dat
