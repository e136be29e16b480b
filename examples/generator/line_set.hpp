// The example's line list: the CO fundamental (12CO and 13CO) with the lines
// of three interfering gases (N2O, O3, H2O) between 2095 and 2205 cm-1,
// written as 100-character records. All of it is synthetic data for learning
// the programs: band physics with published constants, not a line database.
#pragma once

#include <string>
#include <vector>

#include "examples/generator/linear_band.hpp"

namespace example {

// Spectral range covered by the example list, cm-1.
inline constexpr double kListStart = 2095.0;
inline constexpr double kListEnd = 2205.0;

// HITRAN molecule numbers of the gases in the list.
inline constexpr int kH2O = 1;
inline constexpr int kO3 = 3;
inline constexpr int kN2O = 4;
inline constexpr int kCO = 5;

// The 12C16O 1-0 band, whose lines the list holds with those of 13C16O and
// of N2O nu3, all from molecular constants; the solar lines reuse it.
LinearBand co_fundamental();

// Every line of the example in [lo, hi] cm-1, sorted by position (ties keep
// the order CO, 13CO, N2O, O3, H2O). Deterministic: the same on every machine.
std::vector<ExampleLine> example_lines(double lo = kListStart, double hi = kListEnd);

// Length of a record of the list without its line feed.
inline constexpr int kRecordLength = 100;

// One record of exactly 100 characters (no terminator): molecule, isotope,
// position, intensity, 10 blanks where the Einstein A would stand, air and
// self width, E'', temperature exponent, shift, two zero quantum indices,
// blanks to column 100. Throws rec::RecordError for a value too wide for its
// field.
std::string line_record(const ExampleLine& line);

}  // namespace example
