// Build-time limits and fixed constants of the interfering-gas program. Each
// limit bounds an array that is sized once at start; reaching one stops the
// run with the message named here.
#pragma once

namespace kormal {

inline constexpr int kMaxSpecies = 120;     // MSPECI: gas-name entries, vmr columns, per-species arrays
inline constexpr int kMaxLevels = 150;      // MLEV: altitude levels of the atmosphere file
inline constexpr int kMaxGridPoints = 15000;  // mp: grid points of one window with its margins, 0..mp

inline constexpr int kIsotopePseudoGases = 5;  // one pseudo-gas per isotope digit 1 to 5
inline constexpr int kNameLength = 7;          // characters of a gas-name entry
// A path answer of the deck (line list, window table, prefixes) is read from a
// field this wide and ends at its first blank; one without a blank is taken
// whole, so no path is too long for the deck.
inline constexpr int kPathFieldWidth = 200;

// The grid spacing is the 32-bit value 0.005 widened, so that the grid of
// every window lies where the stored runs put it (0.004999999888241291 cm-1).
inline constexpr double kSpacing = static_cast<double>(0.005f);
inline constexpr double kMargin = 5.0;  // cm-1 of lines taken in on both sides of a window

}  // namespace kormal
