#!/usr/bin/env bash
# Writes the example's own input data into the current directory, all of it
# synthetic but shaped like the real thing:
#   lines.hit    the CO fundamental near 2140-2160 cm-1 with weak water and
#                ozone lines beside it, in the 100-character list layout;
#   midlat.mod   pressure and temperature of a standard-like atmosphere, 0-120 km;
#   midlat.vmr   mixing ratios of the program's 52 gases on the same levels.
set -euo pipefail

# Fixed-point field without the zero before the point, as the list layout has it.
lines=$(awk '
function fix(v, w, d,   s) { s = sprintf("%." d "f", v); sub(/^0\./, ".", s); sub(/^-0\./, "-.", s); return sprintf("%" w "s", s) }
function record(mol, iso, nu, s, width, elow, n) {
  return sprintf("%2d%1d%12.6f%10.3E%10s%s%s%10.4f%s%s%3d%3d%27s", mol, iso, nu, s, "", fix(width, 5, 4), fix(0.07, 5, 4), elow, fix(n, 4, 2), fix(-0.002, 8, 6), 0, 0, "")
}
function lcg() { seed = (seed * 1103515245 + 12345) % 2147483648; return seed / 2147483648 }
BEGIN {
  seed = 7; c2 = 1.4388; b = 1.9225
  # CO 1-0: R branch m = J + 1, P branch m = -J, J the lower rotational level.
  for (m = -12; m <= 12; m++) {
    if (m == 0) continue
    j = (m > 0) ? m - 1 : -m
    nu = 2143.2711 + 3.8033 * m - 0.0175 * m * m
    e = b * j * (j + 1)
    s = 1.6e-20 * (m < 0 ? -m : m) * exp(-c2 * e / 296.0)
    out[n++] = sprintf("%012.6f %s", nu, record(5, 1, nu, s, 0.060 - 0.0006 * j, e, 0.73))
    # the 13CO isotopologue, 1 % as strong and shifted down
    nu2 = nu - 47.6 - 0.1 * m
    out[n++] = sprintf("%012.6f %s", nu2, record(5, 2, nu2, 0.011 * s, 0.060 - 0.0006 * j, e, 0.73))
  }
  for (i = 0; i < 60; i++) {
    nu = 2130.0 + 40.0 * lcg()
    out[n++] = sprintf("%012.6f %s", nu, record(3, 1, nu, 2e-22 * lcg(), 0.07, 300 * lcg(), 0.75))
  }
  for (i = 0; i < 12; i++) {
    nu = 2130.0 + 40.0 * lcg()
    out[n++] = sprintf("%012.6f %s", nu, record(1, 1, nu, 5e-24 * lcg(), 0.09, 1500 * lcg(), 0.69))
  }
  for (i = 0; i < n; i++) print out[i]
}')
printf '%s\n' "$lines" | sort -k1,1 | cut -c14- > lines.hit

# Temperature: 288 K at the ground, the standard lapse rates up to 86 km,
# then constant; pressure from the hydrostatic equation in 100 m steps.
awk 'BEGIN {
  print 4; print "Synthetic mid-latitude atmosphere for the example"; print "columns: pressure [hPa]  temperature [K]  altitude [m]"; print "121 levels, 0 to 120 km"
  p = 1013.25; z = 0; t = 288.15
  for (k = 0; k <= 120; k++) {
    printf " %.6e  %7.3f  %8.1f\n", p, t, k * 1000
    for (s = 0; s < 10; s++) {
      zm = k + 0.1 * s + 0.05
      if (zm < 11) tm = 288.15 - 6.5 * zm; else if (zm < 20) tm = 216.65; else if (zm < 32) tm = 216.65 + (zm - 20)
      else if (zm < 47) tm = 228.65 + 2.8 * (zm - 32); else if (zm < 51) tm = 270.65; else if (zm < 71) tm = 270.65 - 2.8 * (zm - 51)
      else if (zm < 86) tm = 214.65 - 2.0 * (zm - 71); else tm = 184.65
      p = p * exp(-0.1 * 34.1632 / tm)
    }
    zz = k + 1
    if (zz < 11) t = 288.15 - 6.5 * zz; else if (zz < 20) t = 216.65; else if (zz < 32) t = 216.65 + (zz - 20)
    else if (zz < 47) t = 228.65 + 2.8 * (zz - 32); else if (zz < 51) t = 270.65; else if (zz < 71) t = 270.65 - 2.8 * (zz - 51)
    else if (zz < 86) t = 214.65 - 2.0 * (zz - 71); else t = 184.65
  }
}' > midlat.mod

# Mixing ratios (volume fractions): water falling off with a 2 km scale
# height, an ozone layer near 25 km, CO and N2O falling off in the
# stratosphere, well-mixed CO2, CH4, O2 and N2, 1e-11 for every other gas.
awk 'BEGIN {
  print 3, 53; print "Synthetic mixing ratios for the example"; print "altitude [km], then gases 1..52, six values a line after the first"
  for (k = 0; k <= 120; k++) {
    for (g = 1; g <= 52; g++) v[g] = 1e-11
    v[1] = 1.0e-2 * exp(-k / 2.0); if (v[1] < 4e-6) v[1] = 4e-6
    v[2] = 3.9e-4
    v[3] = 3e-8 + 7e-6 * exp(-((k - 25) / 8.0) ^ 2)
    v[4] = (k < 15) ? 3.2e-7 : 3.2e-7 * exp(-(k - 15) / 10.0)
    v[5] = (k < 10) ? 1.2e-7 - 6e-9 * k : 6e-8 * exp(-(k - 10) / 12.0) + 1e-8
    v[6] = (k < 15) ? 1.8e-6 : 1.8e-6 * exp(-(k - 15) / 30.0)
    v[7] = 0.2095; v[41] = 0.7808
    line = sprintf("%7.3f", k)
    for (g = 1; g <= 52; g++) {
      line = line sprintf("  %.4e", v[g])
      if (g % 6 == 0 || g == 52) { print line; line = "       " }
    }
  }
}' > midlat.vmr
