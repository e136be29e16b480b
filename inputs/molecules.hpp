// The molecule numbering of both programs: a line list of database type `h`
// carries HITRAN molecule numbers, and the programs number their gases by
// their own table (1 to 21 as in HITRAN, then their own order). One table
// holds the translation, so that the renumbering of lines and the choice of a
// partition function can never drift apart. The program gas numbers are
// those of tesk's gas names (tesk/run/gas_names.hpp); a test checks every
// entry against them.
#pragma once

#include <array>

namespace inputs {

inline constexpr int kHdo = 49;          // program gas of the deuterated water isotope
inline constexpr int kWater = 1;         // HITRAN molecule and program gas of water
inline constexpr int kHdoIsotope = 4;    // HITRAN isotope number of HDO within water

// One translated molecule. `original` marks the molecules of the original
// HITRAN numbering (up to 36); the others were numbered later and are mapped
// onto program gases where the program has them. Partition functions are
// indexed by the HITRAN number of the original molecules only: a later
// molecule keeps its program number there, as every untranslated gas does.
struct MoleculeMap {
  int hitran;
  int gas;  // 0: the program has no such gas, its lines are skipped
  bool original;
};

inline constexpr std::array<MoleculeMap, 21> kMoleculeMap = {{
    {22, 41, true}, {23, 28, true}, {24, 30, true}, {25, 23, true}, {26, 40, true}, {27, 38, true},
    {28, 0, true},  {29, 36, true}, {30, 50, true}, {31, 47, true}, {32, 46, true}, {33, 22, true},
    {34, 0, true},  {35, 27, true}, {36, 0, true},
    // Without these a modern list would file its C2H4 lines (38) under the
    // program's c2h6 and its CH3Br (40) under c2h2.
    {38, 39, false}, {40, 44, false}, {42, 31, false}, {49, 43, false}, {51, 29, false}, {54, 45, false},
}};

// The program gas of a line of a type-`h` list, or 0 when the line is
// skipped. Water isotope 4 becomes gas kHdo with isotope 1; HITRAN numbers up
// to 21 are kept; any number neither kept nor in the table (a molecule the
// program does not know) gives 0.
constexpr int hitran_to_internal_gas(int molecule, int& isotope) {
  if (molecule == kWater && isotope == kHdoIsotope) {
    isotope = 1;
    return kHdo;
  }
  if (molecule <= 21) return molecule;
  for (const MoleculeMap& m : kMoleculeMap) {
    if (m.hitran == molecule) return m.gas;
  }
  return 0;
}

// The HITRAN number whose partition function a program gas uses: the
// inverse of the original renumbering (kHdo shares water's), every other
// number unchanged, even where it denotes another molecule in the HITRAN
// numbering.
constexpr int partition_index(int gas) {
  if (gas == kHdo) return kWater;
  for (const MoleculeMap& m : kMoleculeMap) {
    if (m.original && m.gas == gas && m.gas != 0) return m.hitran;
  }
  return gas;
}

}  // namespace inputs
