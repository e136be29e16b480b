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

// Fills spec[j], j = 0..g.npts, from the optical depths `ext` of one class along
// the nseg path segments; segment s takes the optical depth and temperature of
// layer segment_layer(geom, levorder, s) (air_path.hpp).
//  - transrad 'a': transmission exp(-tau) of the total optical depth tau, or
//    exactly 0 when tau is 20 or more;
//  - transrad 'r': radiance in the units of planck() (planck.hpp) at
//    nu = g.nu(j) (cm-1) from the layer temperatures `temp` (K) and the
//    background temperature `tback` (K).
// Preconditions: transrad is 'a' or 'r' (the deck admits no other), nseg >= 1,
// spec holds g.npts + 1 values, ext and temp hold
// every layer the path names. Throws rec::Stop (planck.hpp) for a negative
// temperature. Touches no file or console.
void layer_spectrum(std::span<double> spec, char transrad, const DepthRows& ext, const IntervalGrid& g,
                    const rec::Levels<float>& temp, float tback, int nseg, const rec::Levels<int>& levorder,
                    char geom);

// Whether layer_spectrum with these arguments can stop the run: a radiance
// spectrum with a negative temperature in a path segment or behind the path.
// Lets a caller compute classes in parallel only when none can stop.
bool layer_spectrum_can_stop(char transrad, const rec::Levels<float>& temp, float tback, int nseg,
                             const rec::Levels<int>& levorder, char geom);

}  // namespace tesk
