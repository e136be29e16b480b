// What a line-finding run says and leaves on small hand-made files: radiance
// windows cut at the clearest air, a sort run without the atmosphere, the
// target lines counted, a header count out of range, and kormal's window
// below its threshold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

using testing_support::split_lines;
using testing_support::WorkDir;

// Study d, 2000-2001 cm-1 at 0.005 cm-1, isothermal 250 K air; four deck
// lines head the tables (a sort run writes the same bytes); W 0.6, D 0.1.
std::vector<std::string> study_deck(const std::string& quantity, const std::string& background) {
  auto d = e2e::spectral_deck();
  d[0] = "4          header lines";
  d[8] = "d";
  d[11] = quantity;
  d[15] = background;
  d[36] = "100.";
  d[38] = "0.6";
  d[39] = "0.2";
  d[41] = "5";
  return d;
}

std::vector<std::string> run_deck(const WorkDir& dir, const std::vector<std::string>& deck, int status = 0) {
  dir.write("input-vorne", e2e::deck_text(deck));
  if (!dir.exists("lines.hit")) {
    dir.write("lines.hit", e2e::default_lines());
    e2e::write_atmosphere(dir);
  }
  const auto r = dir.run(LF_TESK_BIN);
  EXPECT_EQ(r.status, status) << r.console;
  return split_lines(r.console);
}

// The rows of table72-75 after four deck lines, two blank lines and the column header.
std::vector<std::string> line_rows(const std::string& text) {
  auto lines = split_lines(text);
  return {lines.begin() + std::min<std::ptrdiff_t>(7, std::ssize(lines)), lines.end()};
}

double field(const std::string& row, std::size_t first, std::size_t width) {
  return std::strtod(row.substr(first - 1, width).c_str(), nullptr);
}

// The wavenumber of table71's highest (or lowest) all-gases value in lo..hi,
// the lowest wavenumber among equals; `none` without a sample there.
double extreme_sample(const e2e::TableRows& t71, double lo, double hi, bool highest, double none) {
  double best = highest ? 0.0 : 1.0e24;
  for (const auto& row : t71.rows) {
    const double nu = static_cast<float>(row[0]);
    if (nu >= lo && nu <= hi && (highest ? row[3] > best : row[3] < best)) {
      best = row[3];
      none = nu;
    }
  }
  return none;
}

// A window reaches from the clearest sample of [line - W/2, line - D] to
// that of [line + D, line + W/2]: the highest radiance in front of the sun,
// the lowest in front of cold space. A sort run without the atmosphere files
// cuts the same windows and leaves table79 as it was, saying so.
TEST(RunOutcomes, RadianceWindowsEndAtTheClearestAirAndASortRunNeedsNoAtmosphere) {
  for (const auto& [background, highest] : {std::pair{"5800.", true}, std::pair{"3.", false}}) {
    SCOPED_TRACE(background);
    WorkDir dir;
    auto deck = study_deck("r", background);
    const auto complete = run_deck(dir, deck);
    EXPECT_NE(std::find(complete.begin(), complete.end(), "3 lines of co in the range"), complete.end());
    const e2e::TableRows t71 = e2e::read_table(dir.read("table71"));
    const auto t74 = line_rows(dir.read("table74"));
    const auto t75 = line_rows(dir.read("table75"));
    ASSERT_EQ(t75.size(), 3u);
    for (std::size_t i = 0; i < t75.size(); ++i) {
      const double line = field(t74[i], 10, 7), half = 0.6f / 2.0f, d = 0.1f;
      const double left = extreme_sample(t71, line - half, line - d, highest, static_cast<float>(line - half));
      const double right = extreme_sample(t71, line + d, line + half, highest, static_cast<float>(line + half));
      EXPECT_NEAR(field(t75[i], 10, 7), (left + right) / 2.0, 0.0051) << t74[i];  // printed to 0.01 cm-1
      EXPECT_NEAR(field(t75[i], 18, 6), right - left, 0.0051) << t74[i];
    }

    const std::vector<std::string> names = {"table72", "table73", "table74", "table75", "table76"};
    std::vector<std::string> tables;
    for (const auto& t : names) tables.push_back(dir.read(t));
    std::filesystem::remove(dir.path() / "midlat.vmr");
    std::filesystem::remove(dir.path() / "midlat.mod");
    dir.write("table79", "earlier run\n");
    deck[4] = "s";
    const auto sort = run_deck(dir, deck);
    const std::vector<std::string> ending = {
        "3 lines of co in the range", "Table72 (with target gas positions)",
        "Table73 (with infos on spectral lines)", "Table74 (lines sorted, best first)",
        "Table75 (optimum window size determined)", "Table76 (overlapping m-windows combined) ",
        "Table79, table80 and table81 not written: midlat.vmr is missing (any there are of an earlier run)",
        "Stop - Program terminated."};
    ASSERT_GE(sort.size(), ending.size());
    EXPECT_TRUE(std::equal(ending.begin(), ending.end(), sort.end() - std::ssize(ending)));
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(dir.read(names[i]), tables[i]) << names[i];
    EXPECT_EQ(dir.read("table79"), "earlier run\n");
  }
}

// A header count outside 1..46 stops the run after table72 got the echo's
// first line; a stopped run keeps every earlier file, so the table72 of an
// earlier run is still there. The count of the target's lines, before, names
// the isotope.
TEST(RunOutcomes, AHeaderCountOutOfRangeStopsAndKeepsTheEarlierTable72) {
  WorkDir dir;
  auto deck = study_deck("a", "250.");
  deck[0] = "47         header lines";
  deck[19] = "1";
  dir.write("table72", "earlier run\n");
  const auto console = run_deck(dir, deck, 1);
  EXPECT_NE(std::find(console.begin(), console.end(), "3 lines of co in the range, 2 of isotope 1"), console.end());
  EXPECT_EQ(console.back(), " Number of header lines must lie between 1 and 46");
  EXPECT_EQ(dir.read("table72"), "earlier run\n");
}

// kormal names the window it skips below its contribution threshold.
TEST(RunOutcomes, KormalSaysWhichWindowFallsBelowItsThreshold) {
  WorkDir dir;
  e2e::write_atmosphere(dir);
  dir.write("lines.hit", e2e::default_lines() + e2e::line_record(5, 1, 2050.0, 1e-24));
  const std::string strong = "co       2000.40   0.40", weak = "co       2050.00   0.40";
  dir.write("table76", "name     cm-1     window \n" + strong + "\n" + weak + "\n");
  dir.write("input-kormal", e2e::deck_text({"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "n",
                                            "6", "0.5", "0.5", "d", "n", "n"}));
  const auto result = dir.run(LF_KORMAL_BIN);
  ASSERT_EQ(result.status, 0) << result.console;
  std::vector<std::string> said;
  for (const auto& l : split_lines(result.console)) {
    if (l.starts_with("Target contribution")) said.push_back(l);
  }
  ASSERT_EQ(said.size(), 1u) << result.console;
  const std::string tail = " % below the threshold    .500 %, window skipped: " + weak;
  ASSERT_EQ(said[0].substr(27), tail);
  const double contribution = std::strtod(said[0].substr(19, 8).c_str(), nullptr);
  EXPECT_TRUE(contribution >= 0.0 && contribution < 0.5) << said[0];
  EXPECT_EQ(split_lines(dir.read("microwin")).at(1).substr(0, 23), strong);
}

}  // namespace
