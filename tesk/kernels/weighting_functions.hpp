// Weighting functions of the target gas: the negative derivative of the
// normalised spectrum at every point of the single interval of a
// weighting-function study with respect to the target's mixing ratio in
// every path segment.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "common/arrays.hpp"
#include "common/records.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/spectra.hpp"

namespace tesk {

inline constexpr std::string_view kTooManyKernelPoints = " Decrease spectral size or grid for AVK-calculation";

// What the weighting functions read of one path segment k = 1..L: its
// layer's target optical depths come from ext row `layer`, and the
// temperature (K), target mixing ratio and altitude (km) are the layer's.
struct Segment {
  int layer = 0;
  float temp = 0.0f;
  float target_vmr = 0.0f;
  float alt = 0.0f;
};

// The weighting-function matrix: K(i + 1, k) belongs to point i and segment k.
using WeightingMatrix = rec::Table<double>;
WeightingMatrix make_weighting_matrix();  // kMaxKernelPoints x kMaxLevels

// The normalisation factor: with norm 'n', npts divided by the sum of the
// all-gases spectrum over points 0..npts, a sum kept at 1.0E-30 or more
// (shown on the console); with 'f', 1.
double normalisation_factor(const Spectra& spec, int npts, char norm, rec::Console& console);

// Fills K for the points of `g` and the given segments, in transmission
// (transrad 'a') or radiance ('r') form, each value kept away from zero by
// the 1.0E-30 floor; converts K to brightness temperature when radunits is
// 'b'; then says on the console that it is done. `tback` (K) is the
// background blackbody. Throws rec::Stop(kTooManyKernelPoints) for more than
// kMaxKernelPoints points.
void compute_weighting_functions(WeightingMatrix& k, const Spectra& spec, const Extinction& ext,
                                 std::span<const Segment> segments, double f, char transrad,
                                 char radunits, const IntervalGrid& g, float tback, rec::Console& console);

// The same values for the `count` points first..first + count - 1 of `g`
// (count at most kMaxKernelPoints, the points within 0..g.npts): point
// first + r - 1 fills row r of K. A longer stretch of spectrum is taken
// piece by piece this way. Touches no file or console.
void weighting_function_rows(WeightingMatrix& k, const Spectra& spec, const Extinction& ext,
                             std::span<const Segment> segments, double f, char transrad, char radunits,
                             const IntervalGrid& g, int first, int count, float tback);

}  // namespace tesk
