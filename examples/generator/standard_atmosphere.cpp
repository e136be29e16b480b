// Temperature and pressure: U.S. Standard Atmosphere 1976 (NOAA/NASA/USAF),
// geopotential layers with their lapse rates to 84.852 km' (86 km), the
// isothermal layer to 91 km, the elliptical rise to 110 km and the linear rise
// of 12 K/km above. Mixing ratios: the sizes and shapes of the AFGL
// constituent profiles (Anderson et al. 1986, AFGL-TR-86-0110) reduced to a
// few simple functions; today's CO2 and CH4 levels.
#include "examples/generator/standard_atmosphere.hpp"

#include <cmath>

namespace example {
namespace {

constexpr double kEarthRadius = 6356.766;  // km, the standard's effective radius
constexpr double kG0 = 9.80665;            // m s-2
constexpr double kMolarMass = 0.0289644;   // kg mol-1, sea-level mean
constexpr double kGasConstant = 8.31432;   // J mol-1 K-1, as the standard uses it
constexpr double kSeaLevelPressure = 1013.25;  // hPa
// g0 M / R*, K per geopotential km.
constexpr double kHydrostatic = kG0 * kMolarMass / kGasConstant * 1000.0;

struct Layer {
  double base;   // geopotential km'
  double lapse;  // K per km'
};
constexpr Layer kLayers[] = {{0.0, -6.5}, {11.0, 0.0}, {20.0, 1.0}, {32.0, 2.8},
                             {47.0, 0.0}, {51.0, -2.8}, {71.0, -2.0}};
constexpr double kLayerTop = 84.852;  // km', the top of the layered part (86 km)

double geopotential(double z_km) { return kEarthRadius * z_km / (kEarthRadius + z_km); }

// Temperature and pressure of the layered part at geopotential height h (km').
void layered(double h, double& t, double& p) {
  t = 288.15;
  p = kSeaLevelPressure;
  for (std::size_t i = 0; i < std::size(kLayers); ++i) {
    const double top = i + 1 < std::size(kLayers) ? kLayers[i + 1].base : kLayerTop;
    const double dh = std::fmin(h, top) - kLayers[i].base;
    const double lapse = kLayers[i].lapse;
    const double t_next = t + lapse * dh;
    p = lapse == 0.0 ? p * std::exp(-kHydrostatic * dh / t) : p * std::pow(t / t_next, kHydrostatic / lapse);
    t = t_next;
    if (h <= top) return;
  }
}

double gravity(double z_km) {
  const double r = kEarthRadius / (kEarthRadius + z_km);
  return kG0 * r * r;
}

}  // namespace

double standard_temperature(double z_km) {
  if (z_km <= 86.0) {
    double t = 0.0;
    double p = 0.0;
    layered(geopotential(z_km), t, p);
    return t;
  }
  if (z_km <= 91.0) return 186.8673;
  if (z_km <= 110.0) {
    const double x = (z_km - 91.0) / 19.9429;
    return 263.1905 - 76.3232 * std::sqrt(1.0 - x * x);
  }
  return 240.0 + 12.0 * (z_km - 110.0);
}

double standard_pressure(double z_km) {
  double t = 0.0;
  double p = 0.0;
  layered(geopotential(std::fmin(z_km, 86.0)), t, p);
  if (z_km <= 86.0) return p;
  // d ln p / dz = -g(z) M / (R T(z)), trapezoids of 10 m.
  constexpr double kStep = 0.01;  // km
  const int steps = static_cast<int>(std::lround((z_km - 86.0) / kStep));
  double ln_p = std::log(p);
  auto slope = [](double z) { return gravity(z) * kMolarMass / (kGasConstant * standard_temperature(z)) * 1000.0; };
  for (int i = 0; i < steps; ++i) {
    const double z = 86.0 + i * kStep;
    ln_p -= 0.5 * kStep * (slope(z) + slope(z + kStep));
  }
  return std::exp(ln_p);
}

std::array<double, kGasColumns> mixing_ratios(double z) {
  std::array<double, kGasColumns> v{};
  // Water: about 0.8 % at the ground with a 2.3 km scale height, a 4 ppm
  // hygropause, rising to 6 ppm by methane oxidation near 50 km, drying above 70 km.
  double h2o = std::fmax(7.75e-3 * std::exp(-z / 2.3), 4.0e-6 + 2.0e-6 * std::fmin(std::fmax(z - 15.0, 0.0) / 35.0, 1.0));
  if (z > 70.0) h2o *= std::exp(-(z - 70.0) / 10.0);
  v[0] = h2o;
  // Carbon dioxide well mixed to 80 km, then photolysed.
  v[1] = z <= 80.0 ? 4.15e-4 : 4.15e-4 * std::exp(-(z - 80.0) / 25.0);
  // Ozone: 30 ppb at the ground, the layer's peak of 7.5 ppm near 33 km.
  v[2] = 3.0e-8 + 7.5e-6 * std::exp(-std::pow((z - 33.0) / 9.0, 2));
  // Nitrous oxide: 330 ppb in the troposphere, destroyed in the stratosphere.
  v[3] = z <= 15.0 ? 3.3e-7 : std::fmax(3.3e-7 * std::exp(-(z - 15.0) / 9.0), 1.0e-11);
  // Carbon monoxide: 120 ppb at the ground falling off through the
  // troposphere, a minimum of about 25 ppb near 25 km, and the steep rise of
  // the mesosphere where CO2 is photolysed, capped at 50 ppm.
  v[4] = std::fmin(1.2e-7 * std::exp(-z / 15.0) + 1.0e-8 * std::exp((z - 30.0) / 9.0), 5.0e-5);
  // Methane: 1.9 ppm in the troposphere, oxidised above.
  v[5] = z <= 15.0 ? 1.9e-6 : std::fmax(1.9e-6 * std::exp(-(z - 15.0) / 18.0), 1.0e-9);
  v[6] = 0.2095;   // O2
  v[40] = 0.7808;  // N2
  return v;
}

}  // namespace example
