// The example's solar spectrum: the continuum (1.0) with the CO fundamental
// absorbed in the solar photosphere, whose lines sit at the same positions as
// the telluric CO lines but are much hotter. Synthetic data for learning the
// programs.
#pragma once

#include <vector>

namespace example {

inline constexpr double kSolarStart = 2090.0;  // cm-1
inline constexpr double kSolarEnd = 2210.0;    // cm-1
inline constexpr double kSolarStep = 0.005;    // cm-1, as the measured solar atlases are sampled

struct SolarLine {
  double position = 0.0;  // cm-1
  double depth = 0.0;     // fraction of the continuum absorbed at the centre
};

// The solar CO lines in the range: depths from the populations at a
// photospheric temperature of 4500 K, scaled so that the deepest absorbs 30 %.
std::vector<SolarLine> solar_lines();

// The relative solar value (1 = continuum) at wavenumber nu (cm-1): Gaussian
// lines of 0.03 cm-1 full width (Doppler width at 4500 K with photospheric
// turbulence), multiplied.
double solar_value(const std::vector<SolarLine>& lines, double nu);

}  // namespace example
