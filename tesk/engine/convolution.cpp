#include "tesk/engine/convolution.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>
#include <vector>

#include "common/nint.hpp"
#include "common/stop.hpp"
#include "tesk/limits.hpp"

namespace tesk {

namespace {

constexpr float kTwoPi = 6.283f;  // the value the field-of-view width has always used

// nb points make 1 cm-1 of taper.
int taper_points(float grid) { return rec::nint(1.0f / grid); }

// Points of the flat field-of-view extension at the end of the interval.
int fov_points(const IntervalGrid& points, float fovarea) {
  const float nu_end = points.vstart + static_cast<float>(points.npts) * points.grid;
  return rec::nint(field_of_view_spread(nu_end, fovarea) / points.grid);
}

// The stop for a transform of `length` points, with what the deck can change.
[[noreturn]] void stop_too_long(long long length) {
  rec::stop(kConvolutionTooLong, " The line shape needs " + std::to_string(length) + " transform points, at most " +
                                     std::to_string(kMaxConvolutionPoints) +
                                     " allowed: coarsen the grid (line 28) or narrow the field of view (line 31).");
}

// The stop for a field-of-view extension beyond the limit by itself.
[[noreturn]] void stop_field_of_view_too_wide() {
  rec::stop(kConvolutionTooLong, " The field of view alone needs more than " + std::to_string(kMaxConvolutionPoints) +
                                     " transform points: narrow it (line 31) or coarsen the grid (line 28).");
}

// True when the field-of-view extension alone reaches the limit; so wide a
// field of view would also overflow the point count.
bool field_of_view_too_wide(const IntervalGrid& points, float fovarea) {
  const float nu_end = points.vstart + static_cast<float>(points.npts) * points.grid;
  return !(std::fabs(field_of_view_spread(nu_end, fovarea) / points.grid) < kMaxConvolutionPoints);
}

// The smallest power of two, at least 2, that holds the interval, both tapers
// and the field-of-view extension (whose width must lie below the limit).
long long transform_length(const IntervalGrid& points, float fovarea) {
  const long long need = 2LL * taper_points(points.grid) + points.npts + fov_points(points, fovarea) + 2;
  long long n_long = 2;
  while (n_long < need) n_long *= 2;
  return n_long;
}

// The transform length N of convolve_spectrum on the grid `points` with the
// field of view `fovarea` (sr). Throws rec::Stop(kConvolutionTooLong) beyond
// kMaxConvolutionPoints.
int convolution_length(const IntervalGrid& points, float fovarea) {
  if (field_of_view_too_wide(points, fovarea)) stop_field_of_view_too_wide();
  const long long n_long = transform_length(points, fovarea);
  if (n_long > kMaxConvolutionPoints) stop_too_long(n_long);
  return static_cast<int>(n_long);
}

}  // namespace

float field_of_view_spread(float nu, float fov_area) { return nu * fov_area / kTwoPi; }

void check_convolution_length(const Instrument& ils, const IntervalGrid& g) { convolution_length(g, ils.fov_area); }

long long convolution_points(const Instrument& ils, const IntervalGrid& g) {
  if (field_of_view_too_wide(g, ils.fov_area)) return 0;
  const long long n = transform_length(g, ils.fov_area);
  return n > kMaxConvolutionPoints ? 0 : n;
}

void convolve_spectrum(const Instrument& ils, const IntervalGrid& points, CosineTransform& plans,
                       std::span<double> spec) {
  const float resol = ils.resolution;
  const float fovarea = ils.fov_area;
  const int npts = points.npts;
  const float vstart = points.vstart, grid = points.grid;
  assert(npts >= 0 && spec.size() > static_cast<std::size_t>(npts));
  // g puts the far end of the taper at exp(-16).
  const int nb = taper_points(grid);
  const float g = 4.0f / static_cast<float>(nb);
  const int nf = fov_points(points, fovarea);
  const int n = convolution_length(points, fovarea);

  // x[i - 1] holds X(i) of the 1-based layout: taper, spectrum, flat
  // field-of-view extension, taper, zeros.
  std::vector<float> x(static_cast<std::size_t>(n), 0.0f);
  auto at = [&x](int i) -> float& { return x[static_cast<std::size_t>(i - 1)]; };
  const float s0 = static_cast<float>(spec[0]);
  const float s1 = static_cast<float>(spec[static_cast<std::size_t>(npts)]);
  for (int i = 1; i <= nb; ++i) {
    const float d = static_cast<float>(nb - i) * g;
    at(i) = s0 * std::exp(-(d * d));
  }
  for (int i = nb + 1; i <= nb + npts + 1; ++i) {
    at(i) = static_cast<float>(spec[static_cast<std::size_t>(i - nb - 1)]);
  }
  for (int i = nb + npts + 2; i <= nb + npts + nf + 2; ++i) at(i) = s1;
  for (int i = nb + npts + nf + 3; i <= 2 * nb + npts + nf + 2; ++i) {
    const float d = static_cast<float>(i - npts - nb - 2 - nf) * g;
    at(i) = s1 * std::exp(-(d * d));
  }

  cosine_transform(plans, x, +1);
  // Coefficient k + 1 belongs to the optical path difference k / (2 N grid)
  // cm: keep the interferogram up to resol.
  // A path difference beyond the transform (1e8 cm on a fine grid passes the
  // int range) keeps every coefficient: m is clamped to n before the loop.
  const int m = std::clamp(rec::nint(2.0f * static_cast<float>(n) * resol * grid), 0, n);
  for (int i = m + 1; i <= n; ++i) at(i) = 0.0f;
  cosine_transform(plans, x, -1);

  if (fovarea == 0.0f) {
    const float scale = 2.0f / static_cast<float>(n);
    for (int j = 0; j <= npts; ++j) spec[static_cast<std::size_t>(j)] = at(j + nb + 1) * scale;
    return;
  }
  for (int j = 0; j <= npts; ++j) {
    const int i = j + nb + 1;
    const float nu = vstart + static_cast<float>(j) * grid;
    const int f = rec::nint(field_of_view_spread(nu, fovarea) / grid);
    float sum = 0.0f;
    for (int k = 0; k <= f && i + k <= n; ++k) sum += at(i + k);
    spec[static_cast<std::size_t>(j)] = 2.0f / (static_cast<float>(f + 1) * static_cast<float>(n)) * sum;
  }
}

}  // namespace tesk
