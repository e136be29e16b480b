// Numbers that several subsystems of the line-finding program share, each
// defined once here, below every library, so that line finding has the
// physics constant it needs without the spectrum engine.
#pragma once

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

// pi to four decimals, as the zenith-angle conversion of the ground path and
// the solid angle of the field of view have always used it: both move
// results in their printed digits, so the rounding stays.
inline constexpr float kPiFourDecimals = 3.1415f;

}  // namespace tesk
