#include "tesk/engine/planck.hpp"

#include <cassert>
#include <cmath>

#include "common/stop.hpp"
#include "tesk/engine/radiation_constants.hpp"

namespace tesk {

namespace {

constexpr double kMaxExponent = 200.0;  // exp(200) is still finite in double
// Brightness temperatures are held to the floor as a single-precision value.
constexpr double kTemperatureFloor = static_cast<double>(static_cast<float>(kZeroFloor));
static_assert(static_cast<float>(kZeroFloor) == 1.0e-30f);

}  // namespace

double planck(float nu, float t) {
  if (t == 0.0f) return 0.0;
  const double v = nu;
  // Single-precision constants, used in double arithmetic.
  double x = static_cast<double>(kPlanckC2) * v / static_cast<double>(t);
  if (x > kMaxExponent) x = kMaxExponent;
  const double b = static_cast<double>(kPlanckC1) * v * v * v / (std::exp(x) - 1.0);
  if (b < 0.0) rec::stop(kNegativeTemperature);
  return b;
}

double inverse_planck_argument(double nu, double radiance) {
  return 1.0 + static_cast<double>(kPlanckC1) * nu * nu * nu / radiance;
}

double inverse_planck(double nu, double argument) { return static_cast<double>(kPlanckC2) * nu / std::log(argument); }

void brightness_temperature(std::span<double> spec, const IntervalGrid& g) {
  assert(g.npts < 0 || spec.size() > static_cast<std::size_t>(g.npts));
  for (int j = 0; j <= g.npts; ++j) {
    double& s = spec[static_cast<std::size_t>(j)];
    if (!(s > 0.0)) {
      s = 0.0;
      continue;
    }
    const double v = g.nu(j);
    double tb = inverse_planck(v, inverse_planck_argument(v, s));
    if (tb < kTemperatureFloor) tb = 0.0;
    s = tb;
  }
}

}  // namespace tesk
