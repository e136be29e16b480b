// The window report: the block of output.dat, the console lines and the
// microwin line, for both sort letters and the listing rules.
#include "kormal/report.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.hpp"

namespace {

using testing_support::split_lines;
using testing_support::WorkDir;

constexpr const char* kHeader = "name     cm-1     window ";

// Nine gases after ranking, target co2 (gas 2). The measure of letter d
// (rel.-trans) is stored by rank, abs.-trans by gas number; letter a reads
// the same arrays the other way round. Peaks lie at point 1000 + gas number.
struct Fixture {
  kormal::WindowRecord w = kormal::decode_window("co2      2950.00   0.40", {"table76", 2});
  kormal::GasTable gases;
  std::unique_ptr<kormal::WindowMeasures> m = std::make_unique<kormal::WindowMeasures>();
  kormal::KormalDeck deck;
  Fixture() {
    m->nspeci = 9;
    const int order[9] = {3, 2, 1, 5, 4, 6, 7, 8, 9};
    const double rel[9] = {40.0, 30.0, 20.0, 10.0, 9.0, 8.0, 7.0, 6.0, 0.0};
    for (int k = 1; k <= 9; ++k) {
      m->order(k) = order[k - 1];
      m->rel(k) = rel[k - 1];
      m->abs(k) = 1.5 * k;
      m->imax(k) = 1000 + k;
    }
    m->total = 12.345;
    m->contribution = 1.5;
    deck.sortkey = 'd';
    deck.listed_limit = 0;
    deck.gas_threshold = 5.0;
  }
};

struct Report {
  std::vector<std::string> console, output, microwin;
};

Report write(const Fixture& f) {
  WorkDir dir;
  std::ostringstream screen;
  rec::Console console(screen);
  {
    rec::TextWriter output((dir.path() / "output.dat").string());
    rec::TextWriter microwin((dir.path() / "microwin").string());
    kormal::write_window_report(console, output, microwin, std::string(kHeader).substr(0, 24), f.w, 2, f.gases,
                                *f.m, f.deck);
  }
  console.finish();
  return {split_lines(screen.str()), split_lines(dir.read("output.dat")), split_lines(dir.read("microwin"))};
}

std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

TEST(WindowReport, BlockOfOutputDatWithMoreThanSixListed) {
  Fixture f;
  Report r = write(f);
  const std::vector<std::string> expected = {
      "",
      "**********************************************",
      "TR: transmission, TG: target gas",
      "total TR at position of TG in window:  12.345",
      "contribution of TG at position of TG in %:   1.500",
      "",
      "rel-trans: TR(max)-TR(min) for gas in window in %",
      "abs-trans: TR(min) for gas in whole window in %",
      "nu and dnu: for target gas: position in cm-1, for others: delta cm-1",
      "",
      "Name     No  rel.-trans   abs.-trans   nu and dnu",
      "co2       2    30.000        3.000     2949.810",
      "o3        3    40.000        4.500         .005",
      "h2o       1    20.000        1.500        -.005",
      "co        5    10.000        7.500         .015",
      "n2o       4     9.000        6.000         .010",
      "ch4       6     8.000        9.000         .020",
      "o2        7     7.000       10.500         .025",
      "no        8     6.000       12.000         .030",
  };
  EXPECT_EQ(r.output, expected);
  // Six names in columns 27-33, 34-40, ... of a 100-character line.
  const std::string line = "co2      2950.00   0.40" + spaces(3) + "o3     h2o    co     n2o    ch4    o2     " +
                           spaces(32);
  ASSERT_EQ(line.size(), 100u);
  EXPECT_EQ(r.microwin, std::vector<std::string>{line});

  // The console shows the same lines (its first blank consumed), with the
  // window limits, and the table's header line before the window line.
  std::vector<std::string> console = expected;
  console.insert(console.begin() + 2, "Starting Fmin: 2949.800 and Fmax: 2950.200");
  console.push_back("");
  console.push_back("name     cm-1     window");
  console.push_back(line);
  EXPECT_EQ(r.console, console);
}

TEST(WindowReport, SortLetterAReadsTheOtherArrayByRank) {
  Fixture f;
  f.deck.sortkey = 'a';
  f.deck.listed_limit = 5;  // at most four
  Report r = write(f);
  const std::vector<std::string> rows(r.output.begin() + 11, r.output.end());
  const std::vector<std::string> expected = {
      "co2       2    30.000        3.000     2949.810",
      "co        5     9.000        6.000         .015",
      "n2o       4    10.000        7.500         .010",
      "ch4       6     8.000        9.000         .020",
      "o2        7     7.000       10.500         .025",
  };
  EXPECT_EQ(rows, expected);
  const std::string line = "co2      2950.00   0.40" + spaces(31) + "co     n2o    ch4    o2     " + spaces(18);
  ASSERT_EQ(line.size(), 100u);
  EXPECT_EQ(r.microwin, std::vector<std::string>{line});
  // Letter a puts no header line before the window line on the console.
  EXPECT_EQ(r.console.back(), line);
  EXPECT_EQ(r.console[r.console.size() - 2], "o2        7     7.000       10.500         .025");
}

TEST(WindowReport, ListingRules) {
  struct Case {
    int limit;
    double threshold;
    std::vector<int> listed;  // gas numbers after the target row
  } cases[] = {
      {1, 5.0, {}},
      {0, 5.0, {3, 1, 5, 4, 6, 7, 8}},
      {-3, 5.0, {3, 1, 5, 4, 6, 7, 8}},
      {5, 5.0, {3, 1, 5, 4}},
      {0, 0.0, {3, 1, 5, 4, 6, 7, 8, 9}},   // every species, a measure of 0 included
      {0, 20.0, {3, 1}},
      {0, 50.0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.limit << " " << c.threshold);
    Fixture f;
    f.deck.listed_limit = c.limit;
    f.deck.gas_threshold = c.threshold;
    Report r = write(f);
    ASSERT_EQ(r.output.size(), 12u + c.listed.size());
    std::string names;
    for (std::size_t j = 0; j < c.listed.size(); ++j) {
      const std::string& row = r.output[12 + j];
      EXPECT_EQ(std::stoi(row.substr(8, 3)), c.listed[j]);
      if (j < 6) names += row.substr(0, 7);
    }
    EXPECT_EQ(r.microwin[0].substr(26, 42), names + spaces(42 - static_cast<int>(names.size())));
    EXPECT_EQ(r.microwin[0].size(), 100u);
  }
}

}  // namespace
