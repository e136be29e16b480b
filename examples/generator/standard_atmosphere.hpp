// A mid-latitude standard atmosphere for the example, 0 to 120 km in 1-km
// levels: temperature from the lapse rates of the U.S. Standard Atmosphere
// 1976 (45 N, annual mean), pressure from the hydrostatic equation, and simple
// shapes of the mixing ratios of the example's gases. Synthetic data for
// learning the programs.
#pragma once

#include <array>

namespace example {

inline constexpr int kTopAltitude = 120;  // km; levels at every whole km
inline constexpr int kGasColumns = 52;    // mixing-ratio columns the programs expect

// Kinetic temperature at geometric altitude z (km, 0..120), K.
double standard_temperature(double z_km);

// Pressure at geometric altitude z (km, 0..120), hPa: the closed forms of the
// standard atmosphere to 86 km, then the hydrostatic equation integrated with
// the sea-level mean molar mass (the real atmosphere's lighter mass above
// 86 km is left out).
double standard_pressure(double z_km);

// Volume mixing ratios of the program's gases 1..52 at altitude z (km):
// element g-1 is gas g (1 h2o, 2 co2, 3 o3, 4 n2o, 5 co, 6 ch4, 7 o2, 41 n2);
// the gases the example does not use are 0.
std::array<double, kGasColumns> mixing_ratios(double z_km);

}  // namespace example
