// Multiplies the all-gases transmission spectra of an interval by a measured
// solar spectrum: the samples of "solar.dat" that fall into the cell of a grid
// point are averaged, and the point's transmission is multiplied by that mean.
// Spectra of the target gas alone and of the other gases stay atmospheric.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "tesk/engine/interval_grid.hpp"

namespace tesk {

// One sample of the solar spectrum.
struct SolarSample {
  float w = 0.0f;  // cm-1
  float f = 0.0f;  // relative solar value, 1 = continuum
};

// The samples of the solar spectrum, by increasing wavenumber: taken from
// their source only as far as a spectrum needs them, and kept for the next
// interval, so that the file is read once per run and a run stops at the
// same sample as a reading of the file from its start would.
class SolarSpectrum {
 public:
  // Gives the next sample, false at the end of the samples; it may throw
  // (a missing or unreadable file).
  using Source = std::function<bool(SolarSample&)>;
  explicit SolarSpectrum(Source next) : next_(std::move(next)) {}

  // Sample i (0-based) into `s`; false when the samples end before it.
  bool sample(std::size_t i, SolarSample& s);

 private:
  Source next_;
  std::vector<SolarSample> read_;
  bool ended_ = false;
};

// Sample w0 stands for [w0 - h, w0 + h] with h half the spacing to the next
// sample; the cell of grid point j (j = 0..g.npts, at g.nu(j)) is
// [vstart + (j - 0.5) grid, vstart + (j + 0.5) grid]. Every sample that
// overlaps a cell adds to the cell's average, and a point is multiplied once
// the cell's last overlapping sample is passed; points whose cell lies below
// the next sample get no factor. Samples that end early leave the remaining
// points untouched and drop a partly filled average; fewer than two samples
// change nothing. Wavenumbers, solar values, cell limits and averages are
// single precision. `all_gases` and `all_scaled` (classes 3 and 4) each hold
// g.npts + 1 values or are empty (not multiplied). Throws what the source
// throws. Touches no file or console itself.
void apply_solar_spectrum(SolarSpectrum& sun, std::span<double> all_gases, std::span<double> all_scaled,
                          const IntervalGrid& g);

}  // namespace tesk
