// Spectra from optical depths: the transmission of a spectrum class along the
// whole air path, or the thermal-emission radiance that an instrument at the
// bottom of the path sees, each layer emitting at its own temperature in
// front of a blackbody background (the sun) at the far end.
#pragma once

#include <cassert>
#include <cstddef>
#include <span>

#include "common/arrays.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/spectrum_setup.hpp"

namespace tesk {

// Read-only optical depths of one spectrum class: row r (a model layer,
// 1-based) holds the grid points 0..npts contiguously, and consecutive rows
// start `stride` values apart. This matches the driver's table of classes x
// levels x points; a test builds one from a plain vector.
struct DepthRows {
  std::span<const double> values;
  std::size_t stride = 0;
  double operator()(int row, int j) const {
    assert(row >= 1 && j >= 0 && static_cast<std::size_t>(j) < stride);
    return values[static_cast<std::size_t>(row - 1) * stride + static_cast<std::size_t>(j)];
  }
};

// The path as the spectrum steps walk it: nseg segments, segment s taking
// the optical depth and temperature (K) of layer segment_layer(geometry,
// levorder, s) (air_path.hpp).
struct LayerPath {
  const rec::Levels<float>& temp;
  const rec::Levels<int>& levorder;
  int nseg = 0;
  Geometry geometry = Geometry::ground;
};

// Fills spec[j], j = 0..g.npts, from the optical depths `ext` of one class
// along `path`:
//  - transmission: exp(-tau) of the total optical depth tau, or exactly 0
//    when tau is 20 or more;
//  - radiance: in the units of planck() (planck.hpp) at nu = g.nu(j) (cm-1)
//    from the layer temperatures and s.background_temp (K).
// Preconditions: path.nseg >= 1, spec holds g.npts + 1 values, ext and the
// temperatures hold every layer the path names. Throws rec::Stop (planck.hpp)
// for a negative temperature of a radiance spectrum. Touches no file or console.
void layer_spectrum(const SpectrumSetup& s, const LayerPath& path, const DepthRows& ext, const IntervalGrid& g,
                    std::span<double> spec);

}  // namespace tesk
