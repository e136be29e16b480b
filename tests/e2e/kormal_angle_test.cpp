// The solar zenith angle of kormal's slant path, the optional sixteenth line
// of its deck, on the example's CO band: a deck that states the default angle
// gives the bytes of one without the line, another angle scales every optical
// depth with 1/cos, and an angle no path has is a wrong answer.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "deck_fixture.hpp"
#include "examples/generator/example_files.hpp"
#include "program_run.hpp"

namespace {

using testing_support::split_lines;
using testing_support::WorkDir;

const std::vector<std::string> kDeck = {"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0",
                                        "y", "6", "1.", "0.5", "d", "n", "n"};

// Two CO windows of the example's band.
const std::string kWindows = "name     cm-1     window \nco       2147.08   0.30\nco       2165.60   0.30\n";

struct KormalRun {
  testing_support::ProgramResult result;
  std::string output, microwin, spectra;
};

// kormal on the example data with the deck's lines followed by `extra`;
// `solar` is the answer of line 9.
KormalRun run_kormal(const std::vector<std::string>& extra, const std::string& solar = "y") {
  WorkDir dir;
  example::write_example_files(dir.path().string());
  dir.write("table76", kWindows);
  std::vector<std::string> deck = kDeck;
  deck[8] = solar;
  deck.insert(deck.end(), extra.begin(), extra.end());
  dir.write("input-kormal", e2e::deck_text(deck));
  KormalRun r{dir.run(LF_KORMAL_BIN), "", "", ""};
  if (r.result.status == 0) {
    r.output = dir.read("output.dat");
    r.microwin = dir.read("microwin");
    r.spectra = dir.read("spectra.out");
  }
  return r;
}

// The three transmissions (target, all but the target, all) of each point.
std::vector<std::vector<double>> transmissions(const std::string& spectra) {
  std::vector<std::vector<double>> rows;
  const auto lines = split_lines(spectra);
  for (std::size_t i = 2; i < lines.size(); ++i) {
    std::vector<double> row(3);
    for (int c = 0; c < 3; ++c) row[static_cast<std::size_t>(c)] = std::stod(lines[i].substr(static_cast<std::size_t>(10 + 11 * c), 11));
    rows.push_back(row);
  }
  return rows;
}

std::vector<double> total_transmissions(const std::string& output) {
  std::vector<double> totals;
  for (const auto& line : split_lines(output)) {
    if (line.rfind("total TR at position of TG in window:", 0) == 0) totals.push_back(std::stod(line.substr(37)));
  }
  return totals;
}

TEST(KormalAngle, TheDefaultAngleWrittenOutKeepsEveryByte) {
  const KormalRun fifteen = run_kormal({});
  const KormalRun sixteen = run_kormal({"75.         solar zenith angle, degrees"});
  ASSERT_EQ(fifteen.result.status, 0) << fifteen.result.console;
  ASSERT_EQ(sixteen.result.status, 0) << sixteen.result.console;
  EXPECT_EQ(sixteen.result.console, fifteen.result.console);
  EXPECT_EQ(sixteen.output, fifteen.output);
  EXPECT_EQ(sixteen.microwin, fifteen.microwin);
  EXPECT_EQ(sixteen.spectra, fifteen.spectra);
}

// The slant column, and so every convolved optical depth -ln T, scales with
// 1/cos of the zenith angle: a higher sun sees less absorption. Without the
// solar pseudo-gas, whose lines lie outside the air, every depth scales.
TEST(KormalAngle, AHigherSunScalesTheOpticalDepthsWithTheSlantFactor) {
  const KormalRun low = run_kormal({}, "n");
  const KormalRun high = run_kormal({"30"}, "n");
  ASSERT_EQ(low.result.status, 0) << low.result.console;
  ASSERT_EQ(high.result.status, 0) << high.result.console;

  const double expected = std::cos(75.0 * std::numbers::pi / 180.0) / std::cos(30.0 * std::numbers::pi / 180.0);
  const auto t_low = transmissions(low.spectra);
  const auto t_high = transmissions(high.spectra);
  ASSERT_EQ(t_high.size(), t_low.size());
  int compared = 0;
  for (std::size_t i = 0; i < t_low.size(); ++i) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_GE(t_high[i][static_cast<std::size_t>(c)], t_low[i][static_cast<std::size_t>(c)]);
      // Three printed digits: only depths that neither digits nor the
      // saturation blur are compared.
      if (t_low[i][static_cast<std::size_t>(c)] < 0.01 || t_high[i][static_cast<std::size_t>(c)] > 0.9) continue;
      EXPECT_NEAR(std::log(t_high[i][static_cast<std::size_t>(c)]) / std::log(t_low[i][static_cast<std::size_t>(c)]), expected, 0.02 * expected) << "point " << i;
      ++compared;
    }
  }
  EXPECT_GT(compared, 20);

  const auto totals_low = total_transmissions(low.output);
  const auto totals_high = total_transmissions(high.output);
  ASSERT_EQ(totals_high.size(), 2u);
  ASSERT_EQ(totals_low.size(), 2u);
  EXPECT_GE(totals_high[1], totals_low[1]);
  EXPECT_GT(totals_high[0], totals_low[0] + 0.1);  // black on the long path, not on the short one
}

// An angle that is not a number, below 0 or from 90 up is refused by the run
// and by --check-deck alike, with the line and what it holds.
TEST(KormalAngle, AnAngleNoPathHasIsAWrongAnswer) {
  for (const std::string bad : {"90", "-0.5", "135.", "abc", "nan", "30x", "1e999"}) {
    SCOPED_TRACE(bad);
    const KormalRun r = run_kormal({bad + "  solar zenith angle"});
    EXPECT_EQ(r.result.status, 1);
    const auto lines = split_lines(r.result.console);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(),
              " Wrong answer in line 16 of input-kormal: the solar zenith angle must be a number of degrees, "
              "at least 0 and below 90, found \"" + bad + "  solar zenith angle\"");
    WorkDir check;
    std::vector<std::string> deck = kDeck;
    deck.push_back(bad);
    check.write("input-kormal", e2e::deck_text(deck));
    EXPECT_EQ(check.run(LF_KORMAL_BIN, "--check-deck").status, 1);
  }
}

}  // namespace
