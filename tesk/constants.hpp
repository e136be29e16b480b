// Numbers that several subsystems of the line-finding program share, each
// defined once here, below every library, so that line finding has the
// physics constant it needs without the spectrum engine.
#pragma once

#include "common/constants.hpp"

namespace tesk {

// Second radiation constant h c / k (1.4388 cm K from CODATA) as the line
// intensities use it: the Boltzmann factor of the lower-state energy, the
// stimulated emission, and the temperature dependence of the line-finding
// tables. Every stored table was computed with these four digits.
inline constexpr double kC2 = 1.439;

// Spectral values, weighting functions and normalisation sums below this
// are stored as 0 (or kept at it): a floor that keeps divisions and
// logarithms finite without changing any printed digit of a real spectrum.
inline constexpr double kZeroFloor = 1.0e-30;

// The shared pi to four decimals in the single precision of the ground
// path's zenith-angle conversion and the field of view's solid angle.
inline constexpr float kPiFourDecimals = static_cast<float>(rec::kPiFourDecimals);
static_assert(kPiFourDecimals == 3.1415f);

}  // namespace tesk
