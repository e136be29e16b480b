// The instrument line shape of a Fourier-transform spectrometer: a spectrum
// on the fine grid is transformed into its interferogram, cut at the maximum
// optical path difference (a boxcar, no apodisation), transformed back and,
// for a finite field of view, averaged over the wavenumber spread the
// off-axis rays produce.
#pragma once

#include <span>
#include <string_view>

#include "tesk/engine/cosine_transform.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/spectrum_setup.hpp"

namespace tesk {

inline constexpr std::string_view kConvolutionTooLong =
    " Increase nuber of spectral points mp in Convolution";

// Convolves spec[0..g.npts] of one spectrum class in place on the interval
// grid `g` (npts >= 0, grid > 0) with the line shape of `ils`: its
// resolution is the maximum optical path difference (cm, > 0), its fov_area
// the solid angle of the field of view (sr, 0 = none), under which point j becomes the mean of itself and the next
// points up to nu fovarea / 2 pi above it, so a line moves down in wavenumber
// by half that width. The interval is extended by 1 cm-1 of Gaussian taper at
// both ends (plus the field-of-view width at the top) so that its edges do
// not ring; the ends of every call are tapered separately. Single-precision
// work array. Throws rec::Stop(kConvolutionTooLong) when the transform would
// need more than kMaxConvolutionPoints values. Touches no file or console.
void convolve_spectrum(const Instrument& ils, const IntervalGrid& g, CosineTransform& plans,
                       std::span<double> spec);

// The wavenumber spread (cm-1) over which the field of view of solid angle
// `fov_area` (sr) averages the spectrum at `nu`: nu fov_area / 2 pi.
float field_of_view_spread(float nu, float fov_area);

// The length check of convolve_spectrum alone, so that a run meets it before
// its line pass: throws rec::Stop(kConvolutionTooLong), with a detail line
// giving the length and the deck lines to change, when the transform of the
// interval `g` under `ils` would need more than kMaxConvolutionPoints values.
void check_convolution_length(const Instrument& ils, const IntervalGrid& g);

// The transform length the convolution of the interval `g` under `ils` uses,
// or 0 when check_convolution_length would stop the run. No stop.
long long convolution_points(const Instrument& ils, const IntervalGrid& g);

}  // namespace tesk
