// The Planck function of a blackbody in wavenumber units and its inverse, the
// brightness temperature of a radiance spectrum. Wavenumber in cm-1,
// temperature in K; radiance in the unit the constants of
// radiation_constants.hpp give (the tables call it mW m-2 sr-1 (cm-1)-1).
// Both directions use the same constants, so one inverts the other.
#pragma once

#include <span>
#include <string_view>

#include "tesk/engine/interval_grid.hpp"

namespace tesk {

inline constexpr std::string_view kNegativeTemperature = "Blackbody temperature is negative";

// Blackbody radiance at wavenumber `nu` (cm-1, > 0) and temperature `t` (K).
// 0 for t = 0 (no division). The exponent c2 nu / t is capped at 200, so a
// very small temperature gives a tiny but finite radiance instead of an
// overflow. Double-precision arithmetic on the single-precision arguments and
// constants. Throws rec::Stop(kNegativeTemperature) for a negative
// temperature. Touches no file or console.
double planck(float nu, float t);

// The inverse Planck function in two steps, so that callers can guard the
// logarithm's argument their own way: the argument 1 + c1 nu^3 / radiance,
// and the temperature c2 nu / ln(argument) in K. Double arithmetic; `nu` is
// a single-precision wavenumber widened to double.
double inverse_planck_argument(double nu, double radiance);
double inverse_planck(double nu, double argument);

// Replaces every radiance spec[j], j = 0..g.npts, of one spectrum class by its
// brightness temperature in K at nu = g.nu(j) (cm-1, single precision): 1.43 nu / ln(1 + 1.1e-8 nu^3 / spec[j]). A result below 1e-30
// is stored as 0, and so is any value that is zero, negative or not a number
// on entry (no temperature belongs to it). Precondition: spec holds at least
// g.npts + 1 values. Touches no file or console.
void brightness_temperature(std::span<double> spec, const IntervalGrid& g);

}  // namespace tesk
