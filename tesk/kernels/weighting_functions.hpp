// Weighting functions of the target gas: the negative derivative of the
// normalised spectrum at every point of the single interval of a
// weighting-function study with respect to the target's mixing ratio in
// every path segment.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "common/arrays.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/engine/spectrum_setup.hpp"

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

// The normalisation factor: with Normalisation::normalised, npts divided by
// the sum of the all-gases spectrum over points 0..npts, a sum kept at the
// zero floor (1.0E-30) or more; with unit_factor, 1. Touches no file or console.
double normalisation_factor(const Spectra& spec, int npts, Normalisation norm);

// Points first..first + count - 1 of an interval grid.
struct PointRange {
  int first = 0;
  int count = 0;
};

// Fills K for the points of `g` and the given segments, in the transmission
// or radiance form of s.quantity, each value kept away from zero by the
// 1.0E-30 floor; converts K to brightness temperature for
// Units::brightness_temperature. s.background_temp (K) is the background
// blackbody; `f` the normalisation factor. Throws
// rec::Stop(kTooManyKernelPoints) for more than kMaxKernelPoints points.
// Touches no file or console.
void compute_weighting_functions(const SpectrumSetup& s, const IntervalGrid& g, const Spectra& spec,
                                 const Extinction& ext, std::span<const Segment> segments, double f,
                                 WeightingMatrix& k);

// The same values for the points `r` of `g` (count at most
// kMaxKernelPoints, the points within 0..g.npts): point r.first + i - 1
// fills row i of K. A longer stretch of spectrum is taken piece by piece
// this way. Touches no file or console.
void weighting_function_rows(const SpectrumSetup& s, const IntervalGrid& g, const Spectra& spec,
                             const Extinction& ext, std::span<const Segment> segments, double f, PointRange r,
                             WeightingMatrix& k);

}  // namespace tesk
