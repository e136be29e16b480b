// Reading the atmosphere file with this program's rules, and the slant
// columns and mean widths computed from it.
#include "kormal/atmosphere.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "kormal/columns.hpp"
#include "program_run.hpp"

namespace {

using kormal::Atmosphere;
using testing_support::WorkDir;

// A header of `nhead` records declaring `ncol` columns, then `levels` levels
// at 0, 1, 2 ... km with 1e-6 of every species, six values a line.
std::string vmr_file(int nhead, int ncol, int levels) {
  std::string s = std::to_string(nhead) + " " + std::to_string(ncol) + "\n";
  for (int h = 2; h <= nhead; ++h) s += "header line " + std::to_string(h) + "\n";
  for (int k = 0; k < levels; ++k) {
    s += std::to_string(k) + ".0";
    for (int g = 1; g < ncol; ++g) s += g % 6 == 0 ? "\n 1e-6" : " 1e-6";
    s += "\n";
  }
  return s;
}

std::string read_message(const std::string& text, int pseudo = 0) {
  WorkDir dir;
  dir.write("a.vmr", text);
  Atmosphere atm;
  try {
    kormal::read_atmosphere((dir.path() / "a.vmr").string(), 0.0f, pseudo, atm);
  } catch (const rec::Stop& s) {
    return s.what();
  }
  return "no stop";
}

TEST(AtmosphereFile, FloorObserverAndWrappedLevels) {
  WorkDir dir;
  // Three species wrapped over two lines; zero and negative ratios are raised
  // to the floor, and the level below the observer (1.5 km) is emptied.
  dir.write("a.vmr", "3 4\nh\nh\n0.0 1e-6 0.0\n -2e-6\n1.0 2e-6 3e-30 4e-6\n2.0 5e-6\n 6e-6 7e-6\n");
  Atmosphere atm;
  kormal::read_atmosphere((dir.path() / "a.vmr").string(), 1.0f, 0, atm);
  EXPECT_EQ(atm.nspeci, 3);
  EXPECT_EQ(atm.nspeci_file, 3);
  ASSERT_EQ(atm.nlev, 3);
  const float expected[3][3] = {{1e-29f, 1e-29f, 1e-29f}, {2e-6f, 1e-29f, 4e-6f}, {5e-6f, 6e-6f, 7e-6f}};
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(atm.alt(k), static_cast<float>(k - 1));
    for (int g = 1; g <= 3; ++g) EXPECT_EQ(atm.vmr(k, g), expected[k - 1][g - 1]) << k << " " << g;
  }
}

TEST(AtmosphereFile, LimitsOfLevelsAndSpecies) {
  EXPECT_EQ(read_message(vmr_file(2, 3, 150)), "no stop");
  EXPECT_EQ(read_message(vmr_file(2, 3, 151)), "Increase parameter MLEV");
  EXPECT_EQ(read_message(vmr_file(1, 120, 1)), "no stop");  // 119 species and the solar pseudo-gas
  EXPECT_EQ(read_message(vmr_file(1, 121, 1)), "NSPECI > MSPECI");
  EXPECT_EQ(read_message(vmr_file(1, 115, 1), 5), "no stop");
  EXPECT_EQ(read_message(vmr_file(1, 116, 1), 5), "NSPECI > MSPECI");

  WorkDir dir;
  Atmosphere atm;
  dir.write("empty.vmr", "");
  dir.write("header.vmr", "3 4\nh\n");
  dir.write("zero.vmr", "1 0\n0.0\n");
  dir.write("huge_header.vmr", "2000000000 4\nh\n");  // the skip ends at the end of the file
  for (const char* name : {"empty.vmr", "header.vmr", "zero.vmr", "missing.vmr", "huge_header.vmr"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(kormal::read_atmosphere((dir.path() / name).string(), 0.0f, 0, atm), rec::RecordError);
  }
}

TEST(Columns, SlantColumnAndMeanWidthByHand) {
  Atmosphere atm;
  atm.nspeci = 2;
  atm.nlev = 3;
  const float alt[3] = {0.0f, 7.0f, 30.0f};
  for (int k = 1; k <= 3; ++k) {
    atm.alt(k) = alt[k - 1];
    atm.vmr(k, 1) = 1e-6f;
    atm.vmr(k, 2) = k == 1 ? 1e-29f : 2e-6f;
  }
  auto species = std::make_unique<kormal::SpeciesData>();
  species->od.row(1)[17] = 5.0;
  kormal::compute_columns(atm, *species);

  // 1/cos(75 deg), the angle formed with 3.1415 for pi.
  EXPECT_FLOAT_EQ(kormal::slant_factor(kormal::kDefaultZenithAngle), 3.86314678f);
  // Pressures 1.024, 1.024/e and 1.024 exp(-30/7) = 0.0140941 atm; the last
  // counts as 0.1 atm in the width. The levels stand for 7 km (the whole
  // distance to the one neighbour), (30 - 0) / 2 = 15 km and 30 - 7 = 23 km.
  const double p[3] = {1.024, 0.37670855, 0.01409412};
  const double pw[3] = {1.024, 0.37670855, 0.1};
  const double dz[3] = {7.0, 15.0, 23.0};
  const double path = dz[0] * p[0] + dz[1] * p[1] + dz[2] * p[2];
  EXPECT_NEAR(species->col(1), 2.676e24 * 3.8631467 * path * 1e-6, 2e-6 * 1.36e20);
  auto width = [&](int from) {
    double s1 = 0.0;
    double s2 = 0.0;
    for (int k = from; k < 3; ++k) {
      s1 += dz[k] * pw[k] * pw[k];
      s2 += dz[k] * pw[k];
    }
    return 0.1 * s1 / s2;
  };
  EXPECT_NEAR(species->gl(1), width(0), 1e-7);
  EXPECT_NEAR(species->gl(1), 0.0641505, 1e-7);
  // Without the ground level the width is that of the two upper levels.
  EXPECT_NEAR(species->gl(2), width(1), 1e-7);
  EXPECT_EQ(species->od.row(1)[17], 0.0);  // the line spectra are cleared
}

// An N2O-like profile: 320 ppb up to 15 km, falling off with an 8 km scale
// height above, on levels from 0 to 60 km every `step` km.
void n2o_like(int step, Atmosphere& atm) {
  atm.nspeci = 1;
  atm.nlev = 0;
  for (int z = 0; z <= 60; z += step) {
    const int k = ++atm.nlev;
    atm.alt(k) = static_cast<float>(z);
    atm.vmr(k, 1) = static_cast<float>(z < 15 ? 3.2e-7 : 3.2e-7 * std::exp(-(z - 15) / 8.0));
  }
}

// The same atmosphere on 2 km levels (every second level of the 1 km file)
// holds about the same column and width. Not exactly: the ground level
// stands for a slab reaching half a spacing below it, 1 km against 0.5 km,
// and that half km of surface air is some 0.5/7 of the column (7 km scale
// height), so the 2 km column comes out 7.5 % larger and the width 6.5 %.
// Read as 1 km slabs, the 2 km file held only 54 % of the column.
TEST(Columns, TwoKilometreLevelsHoldTheColumnOfOneKilometreLevels) {
  auto fine = std::make_unique<kormal::SpeciesData>();
  auto coarse = std::make_unique<kormal::SpeciesData>();
  Atmosphere atm;
  n2o_like(1, atm);
  kormal::compute_columns(atm, *fine);
  n2o_like(2, atm);
  kormal::compute_columns(atm, *coarse);
  EXPECT_NEAR(coarse->col(1) / fine->col(1), 1.0, 0.10);
  EXPECT_GT(coarse->col(1), fine->col(1));  // the deeper ground slab
  EXPECT_NEAR(coarse->gl(1) / fine->gl(1), 1.0, 0.10);
}

// On 1 km levels every level, the top and the ground included, is a 1 km
// slab: the column is the plain sum of the levels, to the last bit.
TEST(Columns, OneKilometreLevelsAreOneKilometreSlabs) {
  auto species = std::make_unique<kormal::SpeciesData>();
  Atmosphere atm;
  n2o_like(1, atm);
  kormal::compute_columns(atm, *species);
  float col = 0.0f;
  for (int k = 1; k <= atm.nlev; ++k) {
    const double p = 1.024 * std::exp(-static_cast<double>(atm.alt(k)) / 7.0);
    col += static_cast<float>(p * 2.676e24) * kormal::slant_factor(species->zenith_angle) * atm.vmr(k, 1);
  }
  EXPECT_EQ(species->col(1), col);
}

}  // namespace
