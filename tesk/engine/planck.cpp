#include "tesk/engine/planck.hpp"

#include <cassert>
#include <cmath>

#include "common/stop.hpp"

namespace tesk {

namespace {

// First and second radiation constants for wavenumber in cm-1 and radiance in
// mW m-2 sr-1 (cm-1)-1: c1 = 2 h c^2 and c2 = h c / k, to the digits the
// stored spectra were computed with. Single-precision values, used in double
// arithmetic.
constexpr float kC1 = 1.1e-8f;
constexpr float kC2 = 1.43f;
constexpr double kMaxExponent = 200.0;  // exp(200) is still finite in double
constexpr float kZeroFloor = 1.0e-30f;

}  // namespace

double planck(float nu, float t) {
  if (t == 0.0f) return 0.0;
  const double v = nu;
  double x = static_cast<double>(kC2) * v / static_cast<double>(t);
  if (x > kMaxExponent) x = kMaxExponent;
  const double b = static_cast<double>(kC1) * v * v * v / (std::exp(x) - 1.0);
  if (b < 0.0) rec::stop(kNegativeTemperature);
  return b;
}

void brightness_temperature(std::span<double> spec, const IntervalGrid& g) {
  assert(g.npts < 0 || spec.size() > static_cast<std::size_t>(g.npts));
  for (int j = 0; j <= g.npts; ++j) {
    double& s = spec[static_cast<std::size_t>(j)];
    if (!(s > 0.0)) {
      s = 0.0;
      continue;
    }
    const double v = g.nu(j);
    double tb = static_cast<double>(kC2) * v / std::log(1.0 + static_cast<double>(kC1) * v * v * v / s);
    if (tb < static_cast<double>(kZeroFloor)) tb = 0.0;
    s = tb;
  }
}

}  // namespace tesk
