// The standard atmosphere of a window: altitude levels and the volume mixing
// ratio of every species, read from a .vmr file with this program's own
// rules, and the isotope pseudo-gases that copy the target's profile.
#pragma once

#include <string>

#include "common/arrays.hpp"
#include "kormal/gas_names.hpp"
#include "kormal/limits.hpp"
#include "kormal/window.hpp"

namespace kormal {

// Mixing ratios below this are raised to it, and levels below the observer
// hold only this much of every gas (fraction).
inline constexpr float kVmrFloor = 1e-29f;

struct Atmosphere {
  int nspeci_file = 0;  // species columns of the file
  int nspeci = 0;       // species of the window, pseudo-gases included
  int nlev = 0;         // levels read, in file order
  rec::Levels<float> alt{kMaxLevels};                  // km
  rec::Table<float> vmr{kMaxLevels, kMaxSpecies};      // (level, species), fraction
};

// Reads the atmosphere file (status OLD) into `atm`: a first record with the
// number of header records (itself included) and of columns (altitude and
// the species), the rest of the header skipped, then up to kMaxLevels levels
// of free-form values (a level may span several lines) until end of file.
// `pseudo_gases` is the number of species the window will add. Throws
// rec::Stop "NSPECI > MSPECI" when the species, the pseudo-gases and one more
// (room for the solar pseudo-gas) exceed kMaxSpecies, and "Increase parameter
// MLEV" when a record follows kMaxLevels levels, each with a detail line of
// the counts and the limit; rec::RecordError for a
// missing or unreadable file, a column count below 1, or a file without levels.
void read_atmosphere(const std::string& path, float observer_alt, int pseudo_gases, Atmosphere& atm);

// For a window with an isotope digit: the target's entry becomes the digit
// followed by the name (cut to 7 characters, "2co2"), and species
// nspeci + 1 .. nspeci + 5 become pseudo-gases "1co2" .. "5co2", each with a
// copy of the target's profile at every level. Touches neither files nor the console.
void add_isotope_pseudo_gases(const WindowRecord& w, int target, GasTable& gases, Atmosphere& atm);

}  // namespace kormal
