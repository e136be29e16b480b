// Multiplies the all-gases transmission spectra of an interval by a measured
// solar spectrum: the samples of "solar.dat" that fall into the cell of a grid
// point are averaged, and the point's transmission is multiplied by that mean.
// Spectra of the target gas alone and of the other gases stay atmospheric.
#pragma once

#include <span>
#include <string_view>

#include "tesk/engine/interval_grid.hpp"

namespace tesk {

// Opens "solar.dat" on `inpath` (inputs/solar_file.hpp) and reads it from the
// start: one record that is discarded,
// then records of a wavenumber (cm-1, ascending) and a relative solar value
// (1 = continuum). Sample w0 stands for [w0 - h, w0 + h] with h half the
// spacing to the next sample; the cell of grid point j (j = 0..g.npts, at
// g.nu(j)) is [vstart + (j - 0.5) grid, vstart + (j + 0.5) grid].
// Every sample that overlaps a cell adds to the cell's average, and a point is
// multiplied once the cell's last overlapping sample is passed; points whose
// cell lies below the next sample get no factor. A file that ends early
// leaves the remaining points untouched and drops a partly filled average.
// Wavenumbers, solar values, cell limits and averages are single precision.
// `all_gases` and `all_scaled` (classes 3 and 4) each hold g.npts + 1 values or
// are empty (not multiplied). Throws rec::RecordError for a missing or
// unreadable file. Reads the file; writes nothing.
void apply_solar_spectrum(std::span<double> all_gases, std::span<double> all_scaled,
                          std::string_view inpath, const IntervalGrid& g);

}  // namespace tesk
