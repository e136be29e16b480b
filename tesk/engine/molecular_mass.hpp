// Molecular masses of the program's gases, in atomic mass units (whole
// numbers of the most abundant isotopologue), for the Doppler width. Row g
// is the gas that tesk/run/gas_names.hpp names g (row 53 is kormal's f142b);
// a test checks each row against its formula.
#pragma once

#include <array>
#include <cassert>

namespace tesk {

inline constexpr int kMassTableGases = 53;  // gases 1..53 have a tabulated mass

// Entry gas - 1 belongs to program gas number `gas`.
inline constexpr std::array<float, kMassTableGases> kMolecularMass = {
    18.0f,  44.0f, 48.0f,  44.0f, 28.0f,  16.0f,  32.0f,  30.0f,  64.0f,  46.0f,   // 1-10
    17.0f,  63.0f, 17.0f,  20.0f, 36.0f,  80.0f,  128.0f, 51.0f,  60.0f,  30.0f,   // 11-20
    52.0f,  33.0f, 34.0f,  47.0f, 79.0f,  108.0f, 97.0f,  27.0f,  34.0f,  50.0f,   // 21-30
    88.0f,  121.0f, 137.0f, 133.0f, 154.0f, 66.0f, 82.0f, 30.0f,  28.0f,  26.0f,   // 31-40
    28.0f,  86.0f, 98.0f,  94.0f, 142.0f, 46.0f,  34.0f,  103.0f, 19.0f,  146.0f,  // 41-50
    187.0f, 62.0f, 101.0f,                                                        // 51-53
};

// Mass in amu of program gas `gas`. Precondition: 1 <= gas <= kMassTableGases.
constexpr float molecular_mass(int gas) {
  assert(gas >= 1 && gas <= kMassTableGases);
  return kMolecularMass[static_cast<std::size_t>(gas - 1)];
}

}  // namespace tesk
