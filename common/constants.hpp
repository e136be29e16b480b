// Numerical constants that both programs share, each defined once. A value
// rounded on purpose says so in its name, with the reason: the programs'
// stored runs were computed with it, and the exact value would change their
// digits.
#pragma once

namespace rec {

// pi to four decimals, as the zenith-angle conversions, the field-of-view
// area and the Lorentz weights of the interfering-gas program have always
// used it. Against pi itself it moves the slant factor at 75 degrees by about
// 1.4e-4 of its value, enough to change printed digits of stored runs; so it
// stays, under a name that says it is not pi. In single precision,
// static_cast<float>(kPiFourDecimals) is the float nearest 3.1415.
inline constexpr double kPiFourDecimals = 3.1415;

}  // namespace rec
