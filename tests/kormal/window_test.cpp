// Window rows, the gas-name table and the isotope pseudo-gases.
#include "kormal/window.hpp"

#include <gtest/gtest.h>

#include "kormal/atmosphere.hpp"
#include "kormal/gas_names.hpp"

namespace {

using kormal::GasTable;
using kormal::WindowRecord;

TEST(GasTable, EntriesKeepTheirTexts) {
  struct Case {
    int gas;
    const char* name;
  } cases[] = {{1, "h2o    "}, {16, "hb     "}, {38, "c2h6   "}, {45, "ch3I   "}, {48, "chfcl2 "},
               {49, "hdo    "}, {52, "clcn   "}, {53, "f142b  "}, {54, "gas    "}, {120, "gas    "}};
  GasTable t;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gas);
    EXPECT_EQ(t.name(c.gas), c.name);
  }
}

TEST(GasTable, LookupTakesTheLastEqualEntry) {
  struct Case {
    const char* name;
    int gas;
  } cases[] = {{"co2", 2},  {"hb", 16},  {"hbr", 0}, {"ch3I", 45}, {"ch3i", 0},
               {"gas", 120}, {"ch3ccl3", 34}, {"6co2", 0}, {"", 0}};
  GasTable t;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(t.find(c.name), c.gas);
  }
  t.set(2, "2co2");
  EXPECT_EQ(t.find("co2"), 0);
  t.reset();
  EXPECT_EQ(t.find("co2"), 2);
}

TEST(WindowRow, DecodesDigitNameCentreAndWidth) {
  struct Case {
    const char* row;
    int isotope;
    const char* name;
    float centre;
    double width;
  } cases[] = {
      {"2co2     2300.10   0.40", 2, "co2    ", 2300.10f, 0.40},
      {"5ch3ccl31000.00   1.00", 5, "ch3ccl3", 1000.0f, 1.0},
      {"co2      2300.10   0.40", 0, "co2    ", 2300.10f, 0.40},
      {"6co2     2300.10   0.40", 0, "6co2   ", 2300.10f, 0.40},  // 6 to 9 belong to the name
      {"0h2o     2300.10   0.40", 0, "0h2o   ", 2300.10f, 0.40},
      {"ch4      2950.00  12.5", 0, "ch4    ", 2950.0f, 12.5},      // short row, free-form values
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    WindowRecord w = kormal::decode_window(c.row, {"table76", 2});
    EXPECT_EQ(w.isotope, c.isotope);
    EXPECT_EQ(w.gasname, c.name);
    EXPECT_EQ(w.centre, c.centre);
    EXPECT_EQ(w.width, c.width);
    EXPECT_EQ(w.fmin, static_cast<double>(c.centre) - c.width / 2.0);
    EXPECT_EQ(w.fmax, static_cast<double>(c.centre) + c.width / 2.0);
    EXPECT_EQ(w.lo, w.fmin - 5.0);
    EXPECT_EQ(w.k, 1000);
    EXPECT_EQ(w.row.size(), 23u);
  }
  WindowRecord w = kormal::decode_window("co2      2300.10   0.40", {"table76", 2});
  EXPECT_EQ(w.n, 2080);  // 10.4 cm-1 at 0.005 cm-1
  EXPECT_EQ(kormal::row_text(w), "co2      2300.10   0.40");
}

TEST(WindowRow, MissingOrWrongNumbersAreReported) {
  EXPECT_THROW(kormal::decode_window("co2      2300.10", {"table76", 3}), rec::RecordError);
  EXPECT_THROW(kormal::decode_window("co2", {"table76", 3}), rec::RecordError);
  EXPECT_THROW(kormal::decode_window("co2      2300.1x   0.40", {"table76", 3}), rec::RecordError);
}

TEST(WindowRow, TooWideAWindowCountsAboveTheGridLimit) {
  EXPECT_EQ(kormal::decode_window("co2      2000.00  65.00", {"t", 2}).n, 15000);
  EXPECT_GT(kormal::decode_window("co2      2000.00  66.00", {"t", 2}).n, kormal::kMaxGridPoints);
  EXPECT_GT(kormal::decode_window("co2      2000.00   1e30", {"t", 2}).n, kormal::kMaxGridPoints);
}

TEST(IsotopePseudoGases, NamesAndProfiles) {
  struct Case {
    const char* row;
    int target;
    const char* entry;
    const char* first;
    const char* fifth;
  } cases[] = {
      {"2co2     2300.10   0.40", 2, "2co2   ", "1co2   ", "5co2   "},
      {"3ch3ccl32300.10   0.40", 34, "3ch3ccl", "1ch3ccl", "5ch3ccl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    kormal::Atmosphere atm;
    atm.nspeci = atm.nspeci_file = 40;
    atm.nlev = 3;
    for (int k = 1; k <= kormal::kMaxLevels; ++k) atm.vmr(k, c.target) = 1e-6f * static_cast<float>(k);
    GasTable t;
    WindowRecord w = kormal::decode_window(c.row, {"t", 2});
    kormal::add_isotope_pseudo_gases(w, c.target, t, atm);
    EXPECT_EQ(atm.nspeci, 45);
    EXPECT_EQ(t.name(c.target), c.entry);
    EXPECT_EQ(t.name(41), c.first);
    EXPECT_EQ(t.name(45), c.fifth);
    for (int g = 41; g <= 45; ++g) {
      for (int k = 1; k <= kormal::kMaxLevels; ++k) ASSERT_EQ(atm.vmr(k, g), atm.vmr(k, c.target));
    }
  }
}

}  // namespace
