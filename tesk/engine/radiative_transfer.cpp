#include "tesk/engine/radiative_transfer.hpp"

#include <cmath>

#include "tesk/engine/air_path.hpp"
#include "tesk/engine/planck.hpp"

namespace tesk {

namespace {

// Above this optical depth a path or a segment counts as opaque: its
// transmission is stored as exactly 0 instead of an exponential that only
// spreads rounding noise through the spectrum.
constexpr double kOpaqueDepth = 20.0;

void transmission(std::span<double> spec, const DepthRows& ext, int npts, const LayerPath& path) {
  for (int j = 0; j <= npts; ++j) {
    double tau = 0.0;
    for (int s = 1; s <= path.nseg; ++s) tau += ext(segment_layer(path.geometry, path.levorder, s), j);
    spec[static_cast<std::size_t>(j)] = tau < kOpaqueDepth ? std::exp(-tau) : 0.0;
  }
}

// Segment 1 lies next to the instrument; t is the transmission from the
// instrument to the far side of the segments passed so far, so segment s
// contributes its Planck radiance times the absorption it adds, t_prev - t.
// The opaque test looks at the optical depth of the segment whose attenuation
// is being applied: testing any other segment would zero the transmission
// behind a transparent segment, or let an opaque one through.
void radiance(std::span<double> spec, const DepthRows& ext, const IntervalGrid& g, const LayerPath& path,
              float tback) {
  const rec::Levels<float>& temp = path.temp;
  const int first = segment_layer(path.geometry, path.levorder, 1);
  for (int j = 0; j <= g.npts; ++j) {
    const float nu = g.nu(j);
    const double depth1 = ext(first, j);
    double t = std::exp(-depth1);
    double r = 0.0;
    for (int s = 2; s <= path.nseg; ++s) {
      const int layer = segment_layer(path.geometry, path.levorder, s);
      const double depth = ext(layer, j);
      const double t_prev = t;
      t = depth < kOpaqueDepth ? t * std::exp(-depth) : 0.0;
      r += planck(nu, temp(layer)) * (t_prev - t);
    }
    r += planck(nu, temp(first)) * (1.0 - std::exp(-depth1)) + planck(nu, tback) * t;
    spec[static_cast<std::size_t>(j)] = r;
  }
}

}  // namespace

void layer_spectrum(const SpectrumSetup& s, const LayerPath& path, const DepthRows& ext, const IntervalGrid& g,
                    std::span<double> spec) {
  assert(g.npts < 0 || spec.size() > static_cast<std::size_t>(g.npts));
  if (s.quantity == Quantity::transmission) {
    transmission(spec, ext, g.npts, path);
  } else {
    radiance(spec, ext, g, path, s.background_temp);
  }
}

}  // namespace tesk
