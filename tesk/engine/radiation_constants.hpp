// The radiation constants of the line-finding program, each defined once.
// Wavenumbers are in cm-1 and temperatures in K. The values keep the few
// digits that every stored spectrum and table was computed with; changing one
// moves results in their printed digits.
#pragma once

#include "tesk/constants.hpp"  // kC2, the constant as the line intensities use it

namespace tesk {

// First radiation constant 2 h c^2 for radiance per wavenumber: 1.191e-8 in
// W m-2 sr-1 (cm-1)-4 from CODATA, here 1.1e-8. With it, planck() gives
// radiances in W m-2 sr-1 (cm-1)-1 (about 4e-3 at 2140 cm-1 and 300 K). The
// radiance tables are labelled mW m-2 sr-1 (cm-1)-1: the label is the
// tables', the number is what this constant gives, and stored files and
// scripts rely on both as they are.
inline constexpr float kPlanckC1 = 1.1e-8f;

// Second radiation constant h c / k (1.4388 cm K from CODATA) as the Planck
// function and its inverse, the brightness temperature, use it.
inline constexpr float kPlanckC2 = 1.43f;

}  // namespace tesk
