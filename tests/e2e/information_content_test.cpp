// The information content of the microwindows of a line-finding study on the
// example's synthetic data: table79 and table80 of a complete run, checked
// against table76, then a sort run without noise, whose matrices have no
// inverse. (The derivatives and the budget are checked against finite
// differences and textbook formulas in tests/tesk.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "examples/generator/example_files.hpp"
#include "spectral_fixture.hpp"

namespace {

using testing_support::split_lines;

double field(const std::string& row, std::size_t first, std::size_t width) {
  return std::strtod(row.substr(first - 1, width).c_str(), nullptr);
}

// Half a unit of the last of the two digits that an e9.2 field shows.
double half_unit(double printed) {
  return printed == 0.0 ? 0.0 : 0.05 * std::pow(10.0, std::floor(std::log10(std::fabs(printed))));
}

// The trace of the kernels of a table78 or table80, and how far the printed
// digits let it be off.
std::pair<double, double> printed_trace(const std::string& table) {
  const auto t = e2e::read_table(table, 2);
  double trace = 0.0, rounding = 0.0;
  for (std::size_t k = 1; k < t.rows.size(); ++k) {
    trace += t.rows[k][k - 1];
    rounding += half_unit(t.rows[k][k - 1]);
  }
  return {trace, rounding};
}

TEST(InformationContent, WindowsOfAStudyOnTheExampleData) {
  testing_support::WorkDir dir;
  example::write_example_files(dir.path().string());
  // CO at 2140-2160 cm-1, at most four windows of at most 1 cm-1 (501 points);
  // an a-priori uncertainty of a tenth of CO's mixing ratio.
  auto deck = e2e::example_deck();
  ASSERT_EQ(deck.size(), 46u);
  deck[17] = "2160.";
  deck[33] = "1e-8";
  deck[41] = "4";
  dir.write("input-vorne", e2e::deck_text(deck));
  const auto run = dir.run(LF_TESK_BIN);
  ASSERT_EQ(run.status, 0) << run.console;

  const auto t76 = split_lines(dir.read("table76"));
  // What the table was computed with, then the column heading and the rows.
  std::vector<std::string> origin = {"range      .214000000E+04   .216000000E+04", "grid       .200000000E-02",
                                     "max-opd    .500000000E+02", "fov        .000000000E+00",
                                     "noise      .100000000E-02", "target   co        0"};
  const auto whole79 = split_lines(dir.read("table79"));
  ASSERT_GT(whole79.size(), origin.size());
  EXPECT_EQ(std::vector<std::string>(whole79.begin(), whole79.begin() + 6), origin);
  const std::vector<std::string> t79(whole79.begin() + 6, whole79.end());
  ASSERT_GE(t76.size(), 3u);
  ASSERT_EQ(t79.size(), t76.size() + 1);
  EXPECT_EQ(t79[0], "name     cm-1     window points   dofs  zlow zhigh    noise%   smooth%   interf%     temp%    total%");
  double lo = 1e9, hi = 0.0, largest = 0.0;
  int total = 0;
  for (std::size_t w = 1; w < t76.size(); ++w) {
    SCOPED_TRACE(t79[w]);
    const std::string& row = t79[w];
    ASSERT_EQ(row.size(), 99u);
    EXPECT_EQ(row.substr(0, 23), t76[w].substr(0, 23));
    const double centre = field(row, 10, 7), width = field(row, 18, 6);
    const int points = std::atoi(row.substr(24, 6).c_str());
    EXPECT_EQ(points, static_cast<int>(std::lround(width / 0.002)) + 1);
    const double dofs = field(row, 32, 6), zlow = field(row, 39, 5), zhigh = field(row, 45, 5);
    EXPECT_GT(dofs, 0.0);
    EXPECT_LT(dofs, 80.0);
    EXPECT_LE(zlow, zhigh);
    EXPECT_LE(zhigh, 80.0);
    // The total is the root sum of squares of the four parts, each rounded to 0.001.
    double squares = 0.0;
    for (std::size_t first : {51u, 61u, 71u, 81u}) squares += std::pow(field(row, first, 9), 2);
    EXPECT_NEAR(field(row, 91, 9), std::sqrt(squares), 0.002);
    EXPECT_GT(field(row, 91, 9), 0.0);
    lo = std::min(lo, centre - width / 2);
    hi = std::max(hi, centre + width / 2);
    largest = std::max(largest, dofs);
    total += points;
  }
  const std::string& all = t79.back();
  EXPECT_EQ(all.substr(0, 9), "all      ");
  EXPECT_NEAR(field(all, 10, 7), (lo + hi) / 2, 0.0051);
  EXPECT_NEAR(field(all, 18, 6), hi - lo, 0.0051);
  EXPECT_EQ(std::atoi(all.substr(24, 6).c_str()), total);
  const double joint = field(all, 32, 6);
  EXPECT_GE(joint, largest - 0.001);  // both rounded to three decimals
  EXPECT_LE(joint, 80.0);

  // table80 holds the kernels of the all row.
  const auto [trace80, rounding80] = printed_trace(dir.read("table80"));
  EXPECT_EQ(split_lines(dir.read("table80"))[0], " 3  82");
  EXPECT_NEAR(trace80, joint, rounding80 + 0.0005);

  const auto console = split_lines(run.console);
  const std::vector<std::string> ending = {"Table79 (information content of the m-windows)",
                                           "Table80 (averaging kernels of all m-windows)"};
  EXPECT_TRUE(std::equal(ending.begin(), ending.end(), console.end() - 5)) << run.console;
  EXPECT_EQ(console.end()[-6].substr(0, 28), "All windows together:" + all.substr(23, 7));
  EXPECT_EQ(console.end()[-2], "Table81 (recommended m-windows)");

  // A sort run on the spectra left, without noise: Se has no inverse, every
  // row says so after its points, and table80 has no kernels.
  deck[4] = "s";
  deck[32] = "0.";
  dir.write("input-vorne", e2e::deck_text(deck));
  const auto sort = dir.run(LF_TESK_BIN);
  ASSERT_EQ(sort.status, 0) << sort.console;
  origin[4] = "noise      .000000000E+00";
  std::vector<std::string> expected = origin;
  expected.push_back(t79[0]);
  for (std::size_t r = 1; r < t79.size(); ++r) expected.push_back(t79[r].substr(0, 30) + " singular");
  EXPECT_EQ(dir.read("table79"), testing_support::crlf_lines(expected));
  EXPECT_EQ(dir.read("table80"), testing_support::crlf_lines({" 3   2", " Averaging kernels ", ""}));
  EXPECT_NE(sort.console.find("All windows together:" + t79.back().substr(23, 7) + " points, matrices singular"),
            std::string::npos)
      << sort.console;
}

// Brightness temperature is a change of units at every point, which scales
// the derivatives and the noise alike: a radiance run in those units finds
// the same windows and the same information as its twin in radiance units,
// table for table.
TEST(InformationContent, BrightnessTemperatureTwinOfARadianceRun) {
  std::string t71[2], t76[2], t79[2], t80[2], console[2];
  for (int twin = 0; twin < 2; ++twin) {
    testing_support::WorkDir dir;
    example::write_example_files(dir.path().string());
    auto deck = e2e::example_deck();
    deck[11] = "r";  // radiance against the 300 K background
    deck[12] = twin == 0 ? "r" : "b";
    deck[16] = "2146.";  // the CO lines at 2147.1 and 2150.9 cm-1
    deck[17] = "2152.";
    deck[27] = "0.004";
    deck[41] = "2";
    dir.write("input-vorne", e2e::deck_text(deck));
    const auto run = dir.run(LF_TESK_BIN);
    ASSERT_EQ(run.status, 0) << run.console;
    t71[twin] = dir.read("table71");
    t76[twin] = dir.read("table76");
    t79[twin] = dir.read("table79");
    t80[twin] = dir.read("table80");
    console[twin] = run.console;
  }
  EXPECT_NE(t71[0], t71[1]);
  EXPECT_EQ(t76[0], t76[1]);
  EXPECT_EQ(t79[0], t79[1]);
  EXPECT_EQ(t80[0], t80[1]);
  // The console but for table81's line: table75 ranks the candidate windows
  // by each spectrum's own rating, and the choice takes the first of
  // near-equal candidates.
  for (std::string& c : console) c.erase(c.find("Recommended windows:"), c.find("Table81") - c.find("Recommended windows:"));
  EXPECT_EQ(console[0], console[1]);
  // Two windows and all of them together, each with information.
  const auto rows = split_lines(t79[0]);
  ASSERT_EQ(rows.size(), 10u);
  for (std::size_t r = 7; r < rows.size(); ++r) EXPECT_GT(field(rows[r], 32, 6), 1.0) << rows[r];
}

}  // namespace
