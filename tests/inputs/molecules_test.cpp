#include "inputs/molecules.hpp"

#include <gtest/gtest.h>

namespace {

using inputs::partition_index;

TEST(PartitionIndex, MapsProgramGasesToHitranMolecules) {
  struct Case {
    int gas;
    int k;
  };
  const Case cases[] = {
      {49, 1},  {41, 22}, {28, 23}, {30, 24}, {23, 25}, {40, 26}, {38, 27}, {36, 29},
      {50, 30}, {47, 31}, {46, 32}, {22, 33}, {27, 35},
      // Unlisted numbers keep their own, even where HITRAN means another molecule.
      {1, 1},   {2, 2},   {21, 21}, {24, 24}, {33, 33}, {34, 34}, {52, 52}, {120, 120},
      // The rules test the incoming number only: 23 -> 25, but 25 stays 25.
      {25, 25}, {26, 26}, {29, 29}, {31, 31}, {32, 32}, {35, 35},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gas);
    EXPECT_EQ(partition_index(c.gas), c.k);
  }
}

// Lines renumbered from the original HITRAN table must find the partition
// function of the molecule they came from, whichever direction changes.
TEST(MoleculeMap, PartitionIndexInvertsTheOriginalRenumbering) {
  for (int molecule = 1; molecule <= 36; ++molecule) {
    SCOPED_TRACE(molecule);
    int isotope = 1;
    const int gas = inputs::hitran_to_internal_gas(molecule, isotope);
    if (gas != 0) {
      EXPECT_EQ(partition_index(gas), molecule);
    }
  }
  int isotope = inputs::kHdoIsotope;
  EXPECT_EQ(partition_index(inputs::hitran_to_internal_gas(inputs::kWater, isotope)), inputs::kWater);
  static_assert(partition_index(inputs::kHdo) == inputs::kWater);
}

}  // namespace
