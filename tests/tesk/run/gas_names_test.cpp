// The gas tables of the line-finding program tied to its gas names: the
// HITRAN renumbering, the partition rows and the molecular masses each
// belong to the gas that tesk's table names at that number.
#include "tesk/run/gas_names.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <regex>
#include <string>

#include "inputs/molecules.hpp"
#include "tesk/engine/molecular_mass.hpp"
#include "tesk/partition/partition_table.hpp"

namespace {

// HITRAN's molecule numbers of the gases that tesk knows, from HITRAN's own
// list of molecules (formulas in lower case, as the deck writes them).
const std::map<int, std::string> kHitranMolecules = {
    {1, "h2o"},    {2, "co2"},    {3, "o3"},    {4, "n2o"},    {5, "co"},     {6, "ch4"},   {7, "o2"},
    {8, "no"},     {9, "so2"},    {10, "no2"},  {11, "nh3"},   {12, "hno3"},  {13, "oh"},   {14, "hf"},
    {15, "hcl"},   {16, "hbr"},   {17, "hi"},   {18, "clo"},   {19, "ocs"},   {20, "h2co"}, {21, "hocl"},
    {22, "n2"},    {23, "hcn"},   {24, "ch3cl"}, {25, "h2o2"}, {26, "c2h2"},  {27, "c2h6"}, {29, "cof2"},
    {30, "sf6"},   {31, "h2s"},   {32, "hcooh"}, {33, "ho2"},  {35, "clno3"}, {38, "c2h4"}, {40, "ch3br"},
    {42, "cf4"},   {49, "cocl2"}, {51, "ch3f"},  {54, "ch3i"}};

TEST(GasTables, HitranRenumberingNamesTheSameMolecule) {
  for (const auto& [hitran, name] : kHitranMolecules) {
    SCOPED_TRACE(name);
    int isotope = 1;
    EXPECT_EQ(inputs::hitran_to_internal_gas(hitran, isotope), tesk::gas_number(name));
  }
  int isotope = inputs::kHdoIsotope;
  EXPECT_EQ(inputs::hitran_to_internal_gas(inputs::kWater, isotope), tesk::gas_number("hdo"));
  EXPECT_EQ(inputs::kHdo, tesk::gas_number("hdo"));
  EXPECT_EQ(inputs::kWater, tesk::gas_number("h2o"));
}

// A partition row is found by HITRAN number: every original HITRAN molecule
// of tesk's table finds its own row, and HDO finds water's.
TEST(GasTables, PartitionRowOfEveryGasIsItsHitranMolecule) {
  for (const auto& [hitran, name] : kHitranMolecules) {
    if (hitran > tesk::kPartitionMolecules) continue;
    SCOPED_TRACE(name);
    EXPECT_EQ(inputs::partition_index(tesk::gas_number(name)), hitran);
  }
  EXPECT_EQ(inputs::partition_index(tesk::gas_number("hdo")), inputs::kWater);
}

// Mass of a lower-case formula from standard atomic weights (IUPAC), with
// deuterium for "hdo" and the formula of the chlorofluorocarbon "f113".
double formula_mass(std::string name) {
  if (name == "f113") name = "c2cl3f3";
  static const std::map<std::string, double> kAtomic = {{"h", 1.008},  {"d", 2.014},   {"c", 12.011},
                                                        {"n", 14.007}, {"o", 15.999},  {"f", 18.998},
                                                        {"s", 32.06},  {"cl", 35.45},  {"br", 79.904},
                                                        {"i", 126.904}};
  static const std::regex kAtom("(cl|br|[hdcnofsi])([0-9]*)");
  double mass = 0.0;
  std::size_t parsed = 0;
  for (std::sregex_iterator it(name.begin(), name.end(), kAtom), end; it != end; ++it) {
    EXPECT_EQ(static_cast<std::size_t>(it->position()), parsed) << name;
    const int count = (*it)[2].length() > 0 ? std::stoi((*it)[2]) : 1;
    mass += kAtomic.at((*it)[1]) * count;
    parsed += static_cast<std::size_t>(it->length());
  }
  EXPECT_EQ(parsed, name.size()) << name;
  return mass;
}

// The masses are whole numbers, some of the most abundant isotopologue and
// some of the mean atomic weights: within 1 amu of the formula's mass, where
// the gases next to each other in the table differ by far more.
TEST(GasTables, MassRowOfEveryGasIsItsFormulasMass) {
  ASSERT_GE(tesk::kMassTableGases, static_cast<int>(tesk::kGasNames.size()));
  for (std::size_t i = 0; i < tesk::kGasNames.size(); ++i) {
    const std::string name(tesk::kGasNames[i]);
    SCOPED_TRACE(name);
    EXPECT_NEAR(tesk::molecular_mass(static_cast<int>(i) + 1), formula_mass(name), 1.0);
  }
}

}  // namespace
