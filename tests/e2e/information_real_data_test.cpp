// The information content of a CO study on the real line list, atmosphere
// and solar spectrum (a mid-latitude station, zenith angle 60, instrument of
// 180 cm, SNR 300): the degrees of freedom do not depend on the grid, stay
// below the number of layers, and all windows together know at least as
// much as any one of them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

namespace fs = std::filesystem;

// Degrees of freedom by window (label, centre and width as table76 has them).
std::map<std::string, double> dofs_by_window(const std::string& table79) {
  std::map<std::string, double> dofs;
  const auto lines = testing_support::split_lines(table79);
  for (std::size_t r = 7; r < lines.size(); ++r) dofs[lines[r].substr(0, 23)] = std::stod(lines[r].substr(31, 6));
  return dofs;
}

TEST(InformationRealData, GridDoesNotChangeTheInformation) {
  const std::string data = LF_SHARED_DATA;
  if (!fs::exists(data + "/lines_2000-2300.hit")) GTEST_SKIP() << "shared data not found in " << data;
  std::vector<std::string> deck = e2e::example_deck();
  ASSERT_EQ(deck.size(), 46u);
  deck[16] = "2145.";
  deck[17] = "2160.";
  deck[25] = "g60.";
  deck[29] = "180.";
  deck[32] = "0.00333";
  deck[41] = "3";
  std::map<std::string, double> runs[2];
  const char* grids[2] = {"0.002", "0.001"};
  for (int g = 0; g < 2; ++g) {
    testing_support::WorkDir dir;
    for (const char* f : {"midlat.vmr", "midlat.mod", "solar.dat"}) {
      fs::create_symlink(fs::absolute(data + "/" + f), dir.path() / f);
    }
    fs::create_symlink(fs::absolute(data + "/lines_2000-2300.hit"), dir.path() / "lines.hit");
    deck[27] = grids[g];
    dir.write("input-vorne", e2e::deck_text(deck));
    const auto run = dir.run(LF_TESK_BIN);
    ASSERT_EQ(run.status, 0) << run.console;
    runs[g] = dofs_by_window(dir.read("table79"));
  }
  ASSERT_EQ(runs[0].size(), 4u);  // three windows and all together
  for (const auto& [window, dofs] : runs[0]) {
    SCOPED_TRACE(window);
    ASSERT_EQ(runs[1].count(window), 1u);
    EXPECT_NEAR(runs[1][window], dofs, 0.02 * dofs);
    EXPECT_GT(dofs, 0.5);
    EXPECT_LE(dofs, 80.0);
  }
  double joint = 0.0;
  for (const auto& [window, dofs] : runs[0]) {
    if (window.substr(0, 3) == "all") joint = dofs;
  }
  for (const auto& [window, dofs] : runs[0]) EXPECT_GE(joint, dofs - 0.0005) << window;
}

}  // namespace
