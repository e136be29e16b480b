// The example data generator: a line list every record of which the
// programs decode, in order, with the CO fundamental where the published
// spectra have it; the standard atmosphere's published figures; the solar
// file in the layout the programs read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "common/records.hpp"
#include "examples/generator/example_files.hpp"
#include "examples/generator/line_set.hpp"
#include "examples/generator/standard_atmosphere.hpp"
#include "inputs/line_list.hpp"
#include "program_run.hpp"

namespace {

using testing_support::WorkDir;

TEST(ExampleLineList, EveryRecordDecodesInOrder) {
  WorkDir dir;
  example::write_example_files(dir.path().string());
  const std::string text = dir.read("lines.hit");
  ASSERT_EQ(text.size() % 101, 0u);
  const int n = static_cast<int>(text.size() / 101);
  ASSERT_GT(n, 500);
  std::set<int> gases;
  double previous = 0.0;
  for (int r = 1; r <= n; ++r) {
    const std::string_view record = std::string_view(text).substr(static_cast<std::size_t>(r - 1) * 101, 101);
    ASSERT_EQ(record.back(), '\n') << "record " << r;
    ASSERT_EQ(record.find('\n'), 100u) << "record " << r;
    const inputs::LineRecord line = inputs::decode_line_record(record.substr(0, 100), {"lines.hit", r});
    ASSERT_GE(line.position, previous) << "record " << r;
    ASSERT_GE(line.position, example::kListStart);
    ASSERT_LE(line.position, example::kListEnd);
    ASSERT_GT(line.intensity, 0.0);
    ASSERT_GT(line.air_width, 0.0f);
    previous = line.position;
    gases.insert(line.gas);
  }
  EXPECT_EQ(gases, (std::set<int>{example::kH2O, example::kO3, example::kN2O, example::kCO}));
  // The programs' own counting pass, which also checks the order.
  EXPECT_EQ(inputs::count_records((dir.path() / "lines.hit").string()), n);
}

TEST(ExampleLineList, CoFundamentalAsPublished) {
  const auto lines = example::example_lines();
  // Measured positions of 12CO lines (cm-1): P(1), R(0), R(7); the
  // constants reproduce them to a few thousandths.
  struct Case {
    double position;
    double lower_energy;
  };
  const Case measured[] = {{2139.4263, 3.8451}, {2147.0811, 0.0}, {2172.7588, 107.6424}};
  for (const Case& c : measured) {
    SCOPED_TRACE(c.position);
    const auto it = std::min_element(lines.begin(), lines.end(), [&](const auto& a, const auto& b) {
      return std::abs(a.position - c.position) < std::abs(b.position - c.position);
    });
    EXPECT_EQ(it->molecule, example::kCO);
    EXPECT_NEAR(it->position, c.position, 0.003);
    EXPECT_NEAR(it->lower_energy, c.lower_energy, 0.01);
  }

  auto strongest = [&](int isotope) {
    return *std::max_element(lines.begin(), lines.end(), [&](const auto& a, const auto& b) {
      const bool a_in = a.molecule == example::kCO && a.isotope == isotope;
      const bool b_in = b.molecule == example::kCO && b.isotope == isotope;
      return a_in != b_in ? b_in : a.intensity < b.intensity;
    });
  };
  // R(6) and R(7) share the maximum of the Boltzmann envelope at 296 K
  // (they differ by half a percent); both lie at 2169-2173 cm-1.
  const auto co = strongest(1);
  EXPECT_GT(co.position, 2165.0);
  EXPECT_LT(co.position, 2173.0);
  EXPECT_GT(co.intensity, 3.5e-19);
  EXPECT_LT(co.intensity, 5.5e-19);
  // 13CO: about 1 % of it (abundance 1.1 %, more rotational levels), its
  // band shifted down by 47 cm-1.
  const auto co13 = strongest(2);
  EXPECT_NEAR(co13.intensity / co.intensity, 0.0105, 0.001);
  EXPECT_GT(co13.position, 2115.0);
  EXPECT_LT(co13.position, 2130.0);
}

TEST(ExampleAtmosphere, StandardAtmosphereFigures) {
  // U.S. Standard Atmosphere 1976 at geometric altitudes: T in K, p in hPa.
  struct Case {
    double z;
    double t;
    double p;
    double p_tolerance;  // relative
  };
  const Case table[] = {
      {0.0, 288.15, 1013.25, 1e-6},   {11.0, 216.774, 226.99, 2e-4},
      {20.0, 216.65, 55.293, 2e-4},   {32.0, 228.49, 8.8906, 2e-4},
      {50.0, 270.65, 0.79779, 2e-4},  {86.0, 186.87, 3.7338e-3, 5e-4},
      // Above 86 km the sea-level molar mass is kept, so the pressure drifts
      // from the standard's, whose air grows lighter there: 1 % at 100 km, 14 % at 120 km.
      {100.0, 195.08, 3.2011e-4, 0.02}, {120.0, 360.0, 2.5382e-5, 0.2},
  };
  for (const Case& c : table) {
    SCOPED_TRACE(c.z);
    // 0.1 K: from 80 to 86 km the layers give the molecular-scale
    // temperature, which lies up to 0.08 K above the kinetic one.
    EXPECT_NEAR(example::standard_temperature(c.z), c.t, 0.1);
    EXPECT_NEAR(example::standard_pressure(c.z) / c.p, 1.0, c.p_tolerance);
  }
}

TEST(ExampleAtmosphere, FilesReadAsTheProgramsRead) {
  WorkDir dir;
  example::write_example_files(dir.path().string());
  {
    rec::TextReader mod((dir.path() / "midlat.mod").string());
    int nhead = 0;
    ASSERT_EQ(mod.read_free({&nhead}), rec::ReadStatus::ok);
    for (int i = 1; i < nhead; ++i) mod.read_free();
    int levels = 0;
    float p = 0, t = 0, z = 0, last_p = 2000.0f;
    while (mod.read_free({&p, &t, &z}) == rec::ReadStatus::ok) {
      EXPECT_LT(p, last_p);
      EXPECT_FLOAT_EQ(z, 1000.0f * levels);
      last_p = p;
      ++levels;
    }
    EXPECT_EQ(levels, 121);
  }
  rec::TextReader vmr((dir.path() / "midlat.vmr").string());
  int nhead = 0;
  int ncols = 0;
  ASSERT_EQ(vmr.read_free({&nhead, &ncols}), rec::ReadStatus::ok);
  ASSERT_EQ(ncols, 53);
  for (int i = 1; i < nhead; ++i) vmr.read_free();
  std::vector<float> row(53);
  std::vector<rec::InItem> items;
  for (float& v : row) items.push_back(&v);
  int levels = 0;
  while (vmr.read_free(std::span<const rec::InItem>(items)) == rec::ReadStatus::ok) {
    EXPECT_FLOAT_EQ(row[0], static_cast<float>(levels));
    EXPECT_NEAR(row[7], 0.2095f, 1e-6f);     // O2 (gas 7)
    EXPECT_NEAR(row[41], 0.7808f, 1e-6f);    // N2 (gas 41)
    EXPECT_GT(row[5], 1e-9f);                // CO (gas 5) present at every level
    ++levels;
  }
  EXPECT_EQ(levels, 121);
}

TEST(ExampleSolar, HeaderPairThenAscendingSpectrum) {
  WorkDir dir;
  example::write_example_files(dir.path().string());
  rec::TextReader solar((dir.path() / "solar.dat").string());
  std::string first;
  ASSERT_EQ(solar.next_record(first), rec::ReadStatus::ok);
  EXPECT_EQ(first, "0.0 1.0");
  double w = 0, f = 0, last_w = 0, deepest = 1.0;
  int n = 0;
  while (solar.read_free({&w, &f}) == rec::ReadStatus::ok) {
    EXPECT_GT(w, last_w);
    EXPECT_GT(f, 0.0);
    EXPECT_LE(f, 1.0);
    deepest = std::min(deepest, f);
    last_w = w;
    ++n;
  }
  EXPECT_EQ(n, 24001);
  EXPECT_NEAR(deepest, 0.70, 0.01);  // the deepest solar CO line absorbs 30 %
}

}  // namespace
