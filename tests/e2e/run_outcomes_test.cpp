// What a line-finding run tells and leaves behind on small hand-made files:
// the windows of a radiance run cut at the clearest air whichever way the
// background shines, a sort run without the atmosphere files, the target
// lines counted, a temperature limit that removes every window, a header
// count out of range, and kormal's window below its threshold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

using testing_support::crlf_lines;
using testing_support::split_lines;
using testing_support::WorkDir;

// Study d over 2000-2001 cm-1 at 0.005 cm-1 through the isothermal 250 K
// atmosphere; four deck lines head the tables, so that a sort run writes the
// same bytes. W 0.6 cm-1, D 0.1 cm-1, no temperature limit.
std::vector<std::string> study_deck(const std::string& quantity, const std::string& background) {
  auto d = e2e::spectral_deck();
  d[0] = "4          header lines";
  d[8] = "d";
  d[11] = quantity;
  d[15] = background;
  d[36] = "100.";
  d[38] = "0.6";
  d[39] = "0.2";
  d[40] = "1.0";
  d[41] = "5";
  return d;
}

struct Study {
  testing_support::ProgramResult result;
  std::vector<std::string> console;
};

Study run_study(const WorkDir& dir, const std::vector<std::string>& deck) {
  dir.write("input-vorne", e2e::deck_text(deck));
  Study s;
  s.result = dir.run(LF_TESK_BIN);
  s.console = split_lines(s.result.console);
  return s;
}

void write_inputs(const WorkDir& dir) {
  dir.write("lines.hit", e2e::default_lines());
  e2e::write_atmosphere(dir);
}

// The rows of a line table after its seven header lines (four deck lines,
// two blank lines, the column header).
std::vector<std::string> line_rows(const std::string& text) {
  auto lines = split_lines(text);
  return {lines.begin() + std::min<std::ptrdiff_t>(7, static_cast<std::ptrdiff_t>(lines.size())), lines.end()};
}

double field(const std::string& row, std::size_t first, std::size_t width) {
  return std::strtod(row.substr(first - 1, width).c_str(), nullptr);
}

// The sample of table71 (wavenumber and all-gases value as printed) in
// lo..hi with the highest or lowest all-gases value, the lowest wavenumber
// among equal ones; `none` when the part holds no sample.
double extreme_sample(const e2e::TableRows& t71, double lo, double hi, bool highest, double none) {
  double edge = none;
  double best = highest ? 0.0 : 1.0e24;
  for (const auto& row : t71.rows) {
    const double nu = static_cast<float>(row[0]);
    const double v = static_cast<float>(row[3]);
    if (nu < lo || nu > hi || v >= 1.0e24) continue;
    if (highest ? v > best : v < best) {
      best = v;
      edge = nu;
    }
  }
  return edge;
}

// Each window of table75 reaches from the clearest sample of table71 in
// [line - W/2, line - D] to the clearest in [line + D, line + W/2]: the
// highest radiance in front of the sun, the lowest in front of cold space.
// The sort run on the same table71, without the atmosphere files, cuts the
// same windows, writes tables 72 to 76 as the complete run did, and leaves
// table79 and table80 as they were, saying so.
TEST(RunOutcomes, RadianceWindowsEndAtTheClearestAirAndASortRunNeedsNoAtmosphere) {
  struct Case {
    const char* background;
    bool highest;
  };
  for (const Case c : {Case{"5800.", true}, Case{"3.", false}}) {
    SCOPED_TRACE(c.background);
    WorkDir dir;
    write_inputs(dir);
    auto deck = study_deck("r", c.background);
    const Study complete = run_study(dir, deck);
    ASSERT_EQ(complete.result.status, 0) << complete.result.console;
    EXPECT_NE(std::find(complete.console.begin(), complete.console.end(), "3 lines of co in the range"),
              complete.console.end())
        << complete.result.console;

    const e2e::TableRows t71 = e2e::read_table(dir.read("table71"));
    const auto t74 = line_rows(dir.read("table74"));
    const auto t75 = line_rows(dir.read("table75"));
    ASSERT_EQ(t75.size(), 3u);
    ASSERT_EQ(t74.size(), t75.size());
    const double half = 0.6f / 2.0f;
    const double d = 0.1f;
    for (std::size_t i = 0; i < t75.size(); ++i) {
      SCOPED_TRACE(t74[i]);
      const double line = field(t74[i], 10, 7);
      const double left = extreme_sample(t71, line - half, line - d, c.highest, static_cast<float>(line - half));
      const double right = extreme_sample(t71, line + d, line + half, c.highest, static_cast<float>(line + half));
      // Centre and width are printed to 0.01 cm-1.
      EXPECT_NEAR(field(t75[i], 10, 7), (left + right) / 2.0, 0.0051);
      EXPECT_NEAR(field(t75[i], 18, 6), right - left, 0.0051);
    }

    std::vector<std::string> tables;
    for (const char* t : {"table72", "table73", "table74", "table75", "table76"}) tables.push_back(dir.read(t));
    std::filesystem::remove(dir.path() / "midlat.vmr");
    std::filesystem::remove(dir.path() / "midlat.mod");
    dir.write("table79", "earlier run\n");
    deck[4] = "s";
    const Study sort = run_study(dir, deck);
    ASSERT_EQ(sort.result.status, 0) << sort.result.console;
    const std::vector<std::string> ending = {
        "3 lines of co in the range",
        "Table72 (with target gas positions)",
        "Table73 (with infos on spectral lines)",
        "Table74 (lines sorted, best first)",
        "Table75 (optimum window size determined)",
        "Table76 (overlapping m-windows combined) ",
        "Table79 and table80 not written: midlat.vmr is missing (any there are of an earlier run)",
        "Stop - Program terminated."};
    ASSERT_GE(sort.console.size(), ending.size());
    EXPECT_TRUE(std::equal(ending.begin(), ending.end(), sort.console.end() - 8)) << sort.result.console;
    int k = 0;
    for (const char* t : {"table72", "table73", "table74", "table75", "table76"}) {
      SCOPED_TRACE(t);
      EXPECT_EQ(dir.read(t), tables[static_cast<std::size_t>(k++)]);
    }
    EXPECT_EQ(dir.read("table79"), "earlier run\n");
  }
}

// A temperature limit below every line's dependence leaves table76 its
// header alone and says why, with the numbers of table75; the count of the
// target's lines names the chosen isotope.
TEST(RunOutcomes, ATemperatureLimitThatRemovesEveryWindowSaysSo) {
  WorkDir dir;
  write_inputs(dir);
  auto deck = study_deck("a", "250.");
  deck[19] = "1";
  deck[36] = "-50.";
  const Study run = run_study(dir, deck);
  ASSERT_EQ(run.result.status, 0) << run.result.console;
  EXPECT_EQ(dir.read("table76"), crlf_lines({"name     cm-1     window "}));

  const auto t75 = line_rows(dir.read("table75"));
  ASSERT_EQ(t75.size(), 2u);
  const double smallest = std::min(field(t75[0], 29, 7), field(t75[1], 29, 7));
  const std::string head = "No microwindows: the temperature limit of -50.0 %/K (deck line 37) removed all 2 windows "
                           "of table75, whose smallest dependence is ";
  const auto said = std::find_if(run.console.begin(), run.console.end(),
                                 [&](const std::string& l) { return l.rfind(head, 0) == 0; });
  ASSERT_NE(said, run.console.end()) << run.result.console;
  EXPECT_EQ(said->substr(said->size() - 4), " %/K");
  EXPECT_NEAR(std::strtod(said->substr(head.size()).c_str(), nullptr), smallest, 1e-6);
  EXPECT_EQ(said[1], "Table76 (overlapping m-windows combined) ");
  EXPECT_NE(std::find(run.console.begin(), run.console.end(), "3 lines of co in the range, 2 of isotope 1"),
            run.console.end());
}

// A header count outside 1..46: table72 gets the echo's first line, then
// the run stops.
TEST(RunOutcomes, AHeaderCountOutOfRangeLeavesTable72ItsFirstLine) {
  WorkDir dir;
  write_inputs(dir);
  auto deck = study_deck("a", "250.");
  deck[0] = "47         header lines";
  const Study run = run_study(dir, deck);
  EXPECT_EQ(run.result.status, 1) << run.result.console;
  ASSERT_FALSE(run.console.empty());
  EXPECT_EQ(run.console.back(), " Number of header lines must lie between 1 and 46");
  std::string first = deck[0];
  first.resize(200, ' ');
  EXPECT_EQ(dir.read("table72"), crlf_lines({first}));
  EXPECT_FALSE(dir.exists("table73"));
}

// kormal names the window it skips below its contribution threshold; the
// other is reported.
TEST(RunOutcomes, KormalSaysWhichWindowFallsBelowItsThreshold) {
  WorkDir dir;
  e2e::write_atmosphere(dir);
  dir.write("lines.hit", e2e::default_lines() + e2e::line_record(5, 1, 2050.0, 1e-24));
  const std::string strong = "co       2000.40   0.40";
  const std::string weak = "co       2050.00   0.40";
  dir.write("table76", "name     cm-1     window \n" + strong + "\n" + weak + "\n");
  dir.write("input-kormal", e2e::deck_text({"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "n",
                                            "6", "0.5", "0.5", "d", "n", "n"}));
  const auto result = dir.run(LF_KORMAL_BIN);
  ASSERT_EQ(result.status, 0) << result.console;
  const auto console = split_lines(result.console);
  const std::string head = "Target contribution";
  const std::string tail = " % below the threshold    .500 %, window skipped: " + weak;
  std::vector<std::string> said;
  std::copy_if(console.begin(), console.end(), std::back_inserter(said),
               [&](const std::string& l) { return l.rfind(head, 0) == 0; });
  ASSERT_EQ(said.size(), 1u) << result.console;
  ASSERT_EQ(said[0].size(), head.size() + 8 + tail.size()) << said[0];
  EXPECT_EQ(said[0].substr(head.size() + 8), tail);
  const double contribution = std::strtod(said[0].substr(head.size(), 8).c_str(), nullptr);
  EXPECT_GE(contribution, 0.0);
  EXPECT_LT(contribution, 1.0);
  const auto microwin = split_lines(dir.read("microwin"));
  ASSERT_EQ(microwin.size(), 2u);
  EXPECT_EQ(microwin[1].substr(0, 23), strong);
}

}  // namespace
