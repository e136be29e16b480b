// Reading rules of the two standard-atmosphere files: headers, free-form
// records, the zero floor and target scaling, the limits and the refusals.

#include "tesk/atmosphere/profile_files.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/stop.hpp"
#include "tesk/atmosphere/test_files.hpp"

namespace tesk {
namespace {

using atmtest::stop_message;
using atmtest::TempDir;

TEST(VmrFile, ReadsWrappedRecordsAfterTheHeader) {
  TempDir dir;
  const std::vector<double> alts{0.0, 2.5, 7.0};
  dir.write("a.vmr", atmtest::vmr_text(9, alts, atmtest::sample_vmr));
  VmrProfile prof;
  read_vmr_profile(dir.file("a.vmr"), 0, 1.0f, prof);
  EXPECT_EQ(prof.ngas, 9);
  ASSERT_EQ(prof.nlev, 3);
  for (int i = 1; i <= 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(prof.alt(i), static_cast<float>(alts[static_cast<std::size_t>(i - 1)]));
    for (int g = 1; g <= 9; ++g) {
      EXPECT_EQ(prof.vmr(g, i), static_cast<float>(atmtest::sample_vmr(g, alts[static_cast<std::size_t>(i - 1)])));
    }
  }
}

TEST(VmrFile, FreeFormRecords) {
  // Commas separate too; the rest of a level's last line is skipped; a level
  // cut short by the end of file is dropped.
  TempDir dir;
  dir.write("a.vmr",
            "2,3 header count and columns, then a comment\n"
            "header\n"
            "0.0, 1.0e-6\n"
            "2.0e-6 99.0 98.0\n"
            "1.0,3.0e-6,4.0e-6\n"
            "2.0 5.0e-6\n");
  VmrProfile prof;
  read_vmr_profile(dir.file("a.vmr"), 0, 1.0f, prof);
  EXPECT_EQ(prof.ngas, 2);
  ASSERT_EQ(prof.nlev, 2);
  EXPECT_EQ(prof.vmr(2, 1), 2.0e-6f);
  EXPECT_EQ(prof.alt(2), 1.0f);
  EXPECT_EQ(prof.vmr(1, 2), 3.0e-6f);
  EXPECT_EQ(prof.vmr(2, 2), 4.0e-6f);
}

TEST(VmrFile, ZeroVmrIsFlooredThenTheTargetAloneIsScaled) {
  TempDir dir;
  dir.write("a.vmr", "1 4\n0 0 0 5e-7\n1 2e-6 3e-6 0.0e0\n");
  struct Case {
    int target;
    float scale;
    float expected[2][3];  // [level][gas]
  };
  const Case cases[] = {
      {0, 2.0f, {{1e-20f, 1e-20f, 5e-7f}, {2e-6f, 3e-6f, 1e-20f}}},
      {2, 2.0f, {{1e-20f, 2e-20f, 5e-7f}, {2e-6f, 6e-6f, 1e-20f}}},
      {3, 0.5f, {{1e-20f, 1e-20f, 2.5e-7f}, {2e-6f, 3e-6f, 0.5e-20f}}},
      {7, 2.0f, {{1e-20f, 1e-20f, 5e-7f}, {2e-6f, 3e-6f, 1e-20f}}},  // not in the file
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "target " << c.target << " scale " << c.scale);
    VmrProfile prof;
    read_vmr_profile(dir.file("a.vmr"), c.target, c.scale, prof);
    ASSERT_EQ(prof.nlev, 2);
    for (int i = 1; i <= 2; ++i) {
      for (int g = 1; g <= 3; ++g) EXPECT_FLOAT_EQ(prof.vmr(g, i), c.expected[i - 1][g - 1]) << g << "," << i;
    }
  }
}

TEST(VmrFile, LevelLimit) {
  TempDir dir;
  dir.write("154.vmr", atmtest::vmr_text(2, atmtest::km_range(0, 153), atmtest::sample_vmr));
  dir.write("155.vmr", atmtest::vmr_text(2, atmtest::km_range(0, 154), atmtest::sample_vmr));
  VmrProfile prof;
  read_vmr_profile(dir.file("154.vmr"), 0, 1.0f, prof);
  EXPECT_EQ(prof.nlev, 154);
  EXPECT_EQ(prof.alt(154), 153.0f);
  EXPECT_EQ(stop_message([&] { read_vmr_profile(dir.file("155.vmr"), 0, 1.0f, prof); }),
            " Increase number of levels MLEV in FTESK");
}

TEST(VmrFile, GasLimit) {
  TempDir dir;
  dir.write("120.vmr", atmtest::vmr_text(120, {0.0, 1.0}, atmtest::sample_vmr));
  dir.write("121.vmr", atmtest::vmr_text(121, {0.0, 1.0}, atmtest::sample_vmr));
  VmrProfile prof;
  read_vmr_profile(dir.file("120.vmr"), 120, 3.0f, prof);
  EXPECT_EQ(prof.ngas, 120);
  EXPECT_EQ(prof.nlev, 2);
  EXPECT_FLOAT_EQ(prof.vmr(120, 2), 3.0f * static_cast<float>(atmtest::sample_vmr(120, 1.0)));
  EXPECT_EQ(stop_message([&] { read_vmr_profile(dir.file("121.vmr"), 0, 1.0f, prof); }),
            "Increase nuber of gases MGAS in FTESK");
}

TEST(VmrFile, ColumnCountBelowOneIsRefused) {
  TempDir dir;
  dir.write("none.vmr", "1 0\n0\n");
  VmrProfile prof;
  EXPECT_EQ(stop_message([&] { read_vmr_profile(dir.file("none.vmr"), 0, 1.0f, prof); }),
            " Number of columns below 1 in " + dir.file("none.vmr"));
}

TEST(VmrFile, AltitudesThatDoNotIncreaseAreRefused) {
  TempDir dir;
  // Three header lines, one line per level: level k is record 3 + k.
  struct Case {
    const char* what;
    std::vector<double> alts;
    int record;
  };
  const Case cases[] = {
      {"top-down file", {120.0, 119.0, 118.0}, 5},
      {"repeated altitude", {0.0, 1.0, 1.0, 2.0}, 6},
      {"one level out of order", {0.0, 1.0, 2.0, 1.5, 3.0}, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("a.vmr", atmtest::vmr_text(2, c.alts, atmtest::sample_vmr));
    VmrProfile prof;
    EXPECT_EQ(stop_message([&] { read_vmr_profile(dir.file("a.vmr"), 0, 1.0f, prof); }),
              " Altitudes do not increase in " + dir.file("a.vmr") + " at record " +
                  std::to_string(c.record));
  }
}

TEST(PtFile, AltitudeInKmAndReducedDensity) {
  TempDir dir;
  dir.write("a.mod", "3\nheader\nheader\n 1013.25 273.16 0.0\n500.0, 250.0, 5500.0\n 1.0e1 200 3.1e4\n");
  PtProfile prof;
  read_pt_profile(dir.file("a.mod"), prof);
  ASSERT_EQ(prof.nlev, 3);
  const float alt_km[] = {0.0f, 5.5f, 31.0f};
  const float pres[] = {1013.25f, 500.0f, 10.0f};
  const float temp[] = {273.16f, 250.0f, 200.0f};
  for (int i = 1; i <= 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(prof.alt(i), alt_km[i - 1]);
    EXPECT_EQ(prof.pres(i), pres[i - 1]);
    EXPECT_EQ(prof.temp(i), temp[i - 1]);
    // At 273.16 K the reduced density is the pressure itself.
    EXPECT_FLOAT_EQ(prof.dens(i), pres[i - 1] * 273.16f / temp[i - 1]);
    EXPECT_EQ(prof.neg_dens(i), -prof.dens(i));
  }
  EXPECT_FLOAT_EQ(prof.dens(1), 1013.25f);
}

TEST(PtFile, LevelLimit) {
  TempDir dir;
  dir.write("9999.mod", atmtest::pt_text(atmtest::exponential_levels(0.0, 9998.0 * 0.01, 0.01)));
  dir.write("10000.mod", atmtest::pt_text(atmtest::exponential_levels(0.0, 9999.0 * 0.01, 0.01)));
  PtProfile prof;
  read_pt_profile(dir.file("9999.mod"), prof);
  EXPECT_EQ(prof.nlev, 9999);
  EXPECT_EQ(stop_message([&] { read_pt_profile(dir.file("10000.mod"), prof); }),
            "Increase nuber of input altitude levels NUM in TESK");
}

TEST(PtFile, ImpossibleLevelsAreRefused) {
  TempDir dir;
  // Two header lines: level k is record 2 + k.
  struct Case {
    const char* what;
    std::vector<atmtest::PtLevel> levels;
    std::string message;
  };
  const Case cases[] = {
      {"top-down file",
       {{1.0, 250.0, 80000.0}, {10.0, 230.0, 30000.0}, {1000.0, 290.0, 0.0}},
       " Altitudes do not increase at record 4"},
      {"repeated altitude",
       {{1000.0, 290.0, 0.0}, {900.0, 285.0, 1000.0}, {890.0, 285.0, 1000.0}},
       " Altitudes do not increase at record 5"},
      {"zero temperature", {{1000.0, 290.0, 0.0}, {900.0, 0.0, 1000.0}},
       " Temperature not positive at record 4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("a.mod", atmtest::pt_text(c.levels));
    PtProfile prof;
    std::string expected = c.message;
    expected.insert(expected.find(" at record"), " in " + dir.file("a.mod"));
    EXPECT_EQ(stop_message([&] { read_pt_profile(dir.file("a.mod"), prof); }), expected);
  }
}

TEST(ProfileFiles, FileLayerErrors) {
  TempDir dir;
  dir.write("empty.vmr", "");
  dir.write("bad.vmr", "1 3\n0 1e-6 x2\n");
  dir.write("bad.mod", "1\n1000 29o 0\n");
  VmrProfile vmr;
  PtProfile pt;
  EXPECT_THROW(read_vmr_profile(dir.file("missing.vmr"), 0, 1.0f, vmr), rec::RecordError);
  EXPECT_THROW(read_vmr_profile(dir.file("empty.vmr"), 0, 1.0f, vmr), rec::RecordError);
  EXPECT_THROW(read_vmr_profile(dir.file("bad.vmr"), 0, 1.0f, vmr), rec::RecordError);
  EXPECT_THROW(read_pt_profile(dir.file("missing.mod"), pt), rec::RecordError);
  EXPECT_THROW(read_pt_profile(dir.file("bad.mod"), pt), rec::RecordError);
}

}  // namespace
}  // namespace tesk
