// The recommended windows (table81) of line-finding studies, against the
// windows of the line-finding rating: on the example's synthetic data and on
// the real CO and C2H6 extracts, the first N windows of table81 know the
// column at least as well as the N windows table76 holds for line 42 = N
// (table79's `all` row), and each row improves on the one before. Then the
// studies with nothing or little to choose from.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "examples/generator/example_files.hpp"
#include "spectral_fixture.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::split_lines;

double number(const std::string& row, std::size_t first, std::size_t width) {
  return std::stod(row.substr(first - 1, width));
}

struct Outcome {
  std::vector<std::string> t81;  // the rows of table81
  std::string all79;             // the `all` row of table79
  std::string console;
};

// A study of `deck` with input-plan `plan`, in a directory the caller has
// filled with data.
Outcome study(const testing_support::WorkDir& dir, const std::vector<std::string>& deck, const std::string& plan) {
  dir.write("input-vorne", e2e::deck_text(deck));
  dir.write("input-plan", plan);
  const auto run = dir.run(LF_TESK_BIN);
  EXPECT_EQ(run.status, 0) << run.console;
  Outcome o;
  o.console = run.console;
  const auto t81 = split_lines(dir.read("table81"));
  const std::size_t nhead = static_cast<std::size_t>(std::stoi(t81.at(0)));
  EXPECT_EQ(t81.at(nhead + 2),
            "rank name         lower     upper points   dofs  jdofs    total%    noise%   smooth%   interf%     temp%");
  o.t81.assign(t81.begin() + static_cast<std::ptrdiff_t>(nhead) + 3, t81.end());
  const auto t79 = split_lines(dir.read("table79"));
  if (t79.size() > 7) o.all79 = t79.back();
  return o;
}

// For N = 3 and 10: table81 by error and by degrees of freedom against
// table76's N windows.
// Where every window's other gases cost more than it tells (C2H6 under the
// methane band), no window lowers the column's error below the a-priori's,
// and table81 by error rightly holds none: then only the choice by degrees
// of freedom is compared.
enum class Criteria { error, error_and_dofs, dofs_where_no_window_helps };

void compare_with_line_finding(const testing_support::WorkDir& dir, std::vector<std::string> deck,
                               Criteria criteria, const std::string& apriori = "") {
  for (int n : {3, 10}) {
    SCOPED_TRACE(n);
    deck[41] = std::to_string(n);
    const std::string plan = apriori + "windows = " + std::to_string(n) + "\nstop_fraction = 0\n";
    const Outcome by_error = study(dir, deck, plan);
    ASSERT_FALSE(by_error.all79.empty());
    if (criteria == Criteria::dofs_where_no_window_helps && by_error.t81.empty()) {
      EXPECT_NE(by_error.console.find("No recommended windows: no candidate window improves the column"),
                std::string::npos);
    }
    ASSERT_FALSE(by_error.t81.empty() && criteria != Criteria::dofs_where_no_window_helps);
    EXPECT_LE(static_cast<int>(by_error.t81.size()), n);
    double previous = 1e30;
    for (const std::string& row : by_error.t81) {
      SCOPED_TRACE(row);
      ASSERT_EQ(row.size(), 104u);
      const double total = number(row, 56, 9);
      EXPECT_LE(total, previous);  // lower, or equal in the three decimals printed
      previous = total;
      double squares = 0.0;
      for (std::size_t first : {66u, 76u, 86u, 96u}) squares += std::pow(number(row, first, 9), 2);
      EXPECT_NEAR(total, std::sqrt(squares), 0.002);
    }
    // table79 computes each window on a grid from its own edge with the
    // spectrum just around it, table81 long stretches on the deck's grid; the
    // line shape rings far, so the derivatives of the other gases and of the
    // temperature, and the errors from them, agree to about a percent (the
    // real CO windows of table76: 0.657 % in table79, 0.658-0.662 % as
    // table81 computes them).
    if (!by_error.t81.empty()) {
      EXPECT_LE(number(by_error.t81.back(), 56, 9), 1.01 * number(by_error.all79, 91, 9));
    }
    if (criteria == Criteria::error) continue;

    const Outcome by_dofs = study(dir, deck, plan + "select_by = dofs\n");
    // table79 counts a window's points from its own edge, table81 on the
    // deck's grid: the same windows may differ by a point.
    EXPECT_GE(number(by_dofs.t81.back(), 49, 6), 0.999 * number(by_dofs.all79, 32, 6));
    // Higher, or equal in the three decimals printed (stop_fraction 0 takes
    // any gain).
    double before = 0.0;
    for (const std::string& row : by_dofs.t81) {
      EXPECT_GE(number(row, 49, 6), before) << row;
      before = number(row, 49, 6);
    }
    EXPECT_GT(before, 0.0);
  }
}

TEST(RecommendedWindows, BeatTheLineRatingOnTheExample) {
  testing_support::WorkDir dir;
  example::write_example_files(dir.path().string());
  // Half the example's range: eight windows or so, enough for N = 10 to run out.
  auto deck = e2e::example_deck();
  deck[17] = "2160.";
  compare_with_line_finding(dir, deck, Criteria::error_and_dofs);
}

TEST(RecommendedWindows, BeatTheLineRatingOnRealCoAndEthane) {
  const std::string data = LF_SHARED_DATA;
  if (!fs::exists(data + "/lines_2900-3070.hit")) GTEST_SKIP() << "shared data not found in " << data;
  struct Case {
    const char* list;
    const char* gas;
    const char* vlo;
    const char* vhi;
    Criteria criteria;
  } cases[] = {{"lines_2000-2300.hit", "co", "2140.", "2170.", Criteria::error},
               {"lines_2900-3070.hit", "c2h6", "2976.", "2988.", Criteria::dofs_where_no_window_helps}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gas);
    testing_support::WorkDir dir;
    for (const char* f : {"midlat.vmr", "midlat.mod", "solar.dat"}) {
      fs::create_symlink(fs::absolute(data + "/" + f), dir.path() / f);
    }
    fs::create_symlink(fs::absolute(data + "/" + c.list), dir.path() / "lines.hit");
    // A mid-latitude station at 60 degrees, SNR 300, an instrument of 180 cm;
    // an a-priori of 50 % of the profile, which suits either gas.
    auto deck = e2e::example_deck();
    deck[16] = c.vlo;
    deck[17] = c.vhi;
    deck[18] = c.gas;
    deck[25] = "g60.";
    deck[29] = "180.";
    deck[32] = "0.00333";
    compare_with_line_finding(dir, deck, c.criteria, "apriori = percent\napriori_percent = 50\n");
  }
}

TEST(RecommendedWindows, NoLinesOneLineAndMoreWindowsThanCandidates) {
  testing_support::WorkDir dir;
  example::write_example_files(dir.path().string());
  auto deck = e2e::example_deck();
  // No CO line between the lines of the example (about 3.8 cm-1 apart).
  deck[16] = "2148.";
  deck[17] = "2149.5";
  Outcome none = study(dir, deck, "");
  EXPECT_TRUE(none.t81.empty());
  EXPECT_NE(none.console.find("No recommended windows: no rated target lines (table75)\r\n"
                              "Table81 (recommended m-windows)"),
            std::string::npos)
      << none.console;
  // One line, and twenty windows asked for: one row.
  deck[16] = "2150.";
  deck[17] = "2152.";
  const Outcome one = study(dir, deck, "windows = 20\nstop_fraction = 0\n");
  ASSERT_EQ(one.t81.size(), 1u);
  EXPECT_EQ(one.t81[0].substr(0, 13), "   1 co      ");
  EXPECT_EQ(number(one.t81[0], 42, 6), number(one.t81[0], 49, 6));
}

}  // namespace
