// Complete spectral runs of the line-finding program on small decks.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

using e2e::run_spectral;
using e2e::SpectralRun;

bool has_line(const SpectralRun& r, const std::string& text) {
  return std::find(r.console.begin(), r.console.end(), text) != r.console.end();
}

double min_of_column(const SpectralRun& r, std::size_t col) {
  double m = 1e30;
  for (const auto& row : r.table71.rows) m = std::min(m, row[col]);
  return m;
}

TEST(ReadTable, FieldOfAsterisksFails) {
  EXPECT_NONFATAL_FAILURE(e2e::read_table("h\nh\nh\n 2000.0000 ***********  .10000E+01\n"), "\"***********\"");
  EXPECT_EQ(e2e::read_table("h\nh\nh\n 2000.0000  .10000E+01\n").rows[0], (std::vector<double>{2000.0, 1.0}));
}

TEST(SpectralRun, OneIntervalWritesBothTables) {
  SpectralRun r = run_spectral({});
  ASSERT_EQ(r.result.status, 0) << r.result.console;
  EXPECT_TRUE(has_line(r, "Working at   2000.0 -   2001.0 cm-1"));
  EXPECT_TRUE(has_line(r, "at step:      1 of      1 with      200 points"));
  EXPECT_TRUE(has_line(r, "Extinctions and broadening calculated"));
  EXPECT_TRUE(has_line(r, "Table70 (vmr-profile of target gas)"));
  EXPECT_TRUE(has_line(r, "Table71 (spectrum as table)"));
  EXPECT_EQ(r.console.back(), "Stop - Program terminated.");

  EXPECT_EQ(r.table71.header,
            (std::vector<std::string>{"3 4", "Rad. in transmission ", "  cm       target      all-target    all-gases"}));
  ASSERT_EQ(r.table71.rows.size(), 201u);
  EXPECT_DOUBLE_EQ(r.table71.rows.front()[0], 2000.0);
  EXPECT_DOUBLE_EQ(r.table71.rows.back()[0], 2001.0);
  for (const auto& row : r.table71.rows) {
    ASSERT_EQ(row.size(), 4u);
    for (std::size_t c = 1; c <= 3; ++c) {
      EXPECT_GE(row[c], 0.0);
      EXPECT_LE(row[c], 1.0);
    }
    // Without solar spectrum and convolution the all-gases transmission is
    // the product of its parts, to the five digits of the table (up to 5e-5
    // of each value).
    EXPECT_NEAR(row[3], row[1] * row[2], 1.5e-4 * row[3] + 1e-9);
  }
  EXPECT_LT(min_of_column(r, 1), 0.5);  // the CO lines are deep

  EXPECT_EQ(r.table70.header[0], "3 2");
  ASSERT_EQ(r.table70.rows.size(), 80u);  // one row per path segment
  EXPECT_NEAR(r.table70.rows[0][0], 1e-7, 1e-9);
  EXPECT_NEAR(r.table70.rows[0][1], -7.0, 1e-2);
  EXPECT_DOUBLE_EQ(r.table70.rows[79][2], 79.5);
}

TEST(SpectralRun, ThreeIntervalsShareOneHeader) {
  SpectralRun r = run_spectral({{28, "0.01"}, {17, "2000."}, {18, "2750."}});
  ASSERT_EQ(r.result.status, 0) << r.console.back();
  EXPECT_TRUE(has_line(r, "Working at   2000.0 -   2300.0 cm-1"));
  EXPECT_TRUE(has_line(r, "at step:      1 of      3 with    30000 points"));
  EXPECT_TRUE(has_line(r, "Working at   2300.0 -   2600.0 cm-1"));
  EXPECT_TRUE(has_line(r, "at step:      2 of      3 with    30000 points"));
  EXPECT_TRUE(has_line(r, "Working at   2600.0 -   2750.0 cm-1"));
  EXPECT_TRUE(has_line(r, "at step:      3 of      3 with    15000 points"));
  EXPECT_EQ(r.table71.rows.size(), 30001u + 30001u + 15001u);
  for (const auto& row : r.table71.rows) ASSERT_EQ(row.size(), 4u) << "a second header inside the rows";
  EXPECT_DOUBLE_EQ(r.table71.rows[30001][0], 2300.0);
}

TEST(SpectralRun, TwentyOneIntervalsRun) {
  // 20.17 interval widths of 30 cm-1 at 0.001 cm-1; no line reaches them.
  // The number of intervals has no limit of its own.
  SpectralRun r = run_spectral({{28, "0.001"}, {18, "2605."}, {29, "0."}}, "");
  ASSERT_EQ(r.result.status, 0) << r.console.back();
  EXPECT_TRUE(has_line(r, "at step:      1 of     21 with    30000 points"));
  EXPECT_TRUE(has_line(r, "Working at   2600.0 -   2605.0 cm-1"));
  EXPECT_TRUE(has_line(r, "at step:     21 of     21 with     5000 points"));
  EXPECT_EQ(r.table71.rows.size(), 20u * 30001u + 5001u);
  EXPECT_EQ(r.table71.rows.back()[3], 1.0);  // no line: transmission 1
  // Interval borders repeat their point; no other wavenumber repeats.
  for (std::size_t j = 1; j < r.table71.rows.size(); ++j) {
    if (j % 30001 != 0) {
      ASSERT_LT(r.table71.rows[j - 1][0], r.table71.rows[j][0]) << "row " << j;
    }
  }
}

TEST(SpectralRun, SizeChecksStopTheRun) {
  struct Case {
    std::vector<std::pair<int, std::string>> changes;
    std::string message;
  } cases[] = {
      {{{18, "2000."}}, "Increase spect. range (or decrease grid)"},
      {{{18, "1999."}}, "Increase spect. range (or decrease grid)"},
      {{{18, "2000."}, {9, "a"}}, "Increase spect. range (or decrease grid)"},  // no spectrum in any study
      {{{18, "1999."}, {9, "a"}}, "Increase spect. range (or decrease grid)"},
      {{{28, "0.02"}, {9, "w"}}, "Increase spect. range (or decrease grid)"},  // 50 points, 80 segments
      {{{28, "0.001"}, {9, "w"}}, "Decrease spectral range (or increase grid)"},
      {{{28, "0.001"}, {9, "a"}}, "Decrease spectral range (or increase grid)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    SpectralRun r = run_spectral(c.changes);
    EXPECT_EQ(r.result.status, 1);
    EXPECT_EQ(r.console.back(), c.message);
  }
}

// A limit of the intervals (the line-shape transform of a field of view
// 0.71 rad wide at 0.0005 cm-1) stops the run before any line pass: the console names no interval, the
// specified message is followed by the line that says what to change, and
// table71 holds no row.
TEST(SpectralRun, IntervalLimitsStopBeforeTheLinePass) {
  SpectralRun r = run_spectral({{28, "0.0005"}, {18, "2025."}, {30, "50."}, {31, "0.71"}});
  EXPECT_EQ(r.result.status, 1);
  ASSERT_GE(r.console.size(), 2u);
  EXPECT_FALSE(has_line(r, "Extinctions and broadening calculated"));
  EXPECT_EQ(std::count_if(r.console.begin(), r.console.end(),
                          [](const std::string& l) { return l.rfind("Working at", 0) == 0; }),
            0);
  EXPECT_EQ(r.console[r.console.size() - 2], " Increase nuber of spectral points mp in Convolution");
  EXPECT_EQ(r.console.back(),
            " The line shape needs 2097152 transform points, at most 1048576 allowed: coarsen the grid (line 28) or narrow "
            "the field of view (line 31).");
  EXPECT_TRUE(r.table71.rows.empty());
}

TEST(SpectralRun, WeightingFunctionStudiesAtTheirLimits) {
  // 999 grid steps are 1000 points: accepted for study w.
  SpectralRun w = run_spectral({{28, "0.001"}, {18, "2000.999"}, {9, "w"}});
  EXPECT_EQ(w.result.status, 0) << w.console.back();
  EXPECT_TRUE(has_line(w, "Calculation of weighting function finished"));
  EXPECT_TRUE(has_line(w, "Table77 (averaged weighting function)"));
  // Study a has no check of the points against the segments.
  SpectralRun a = run_spectral({{28, "0.02"}, {9, "a"}});
  EXPECT_EQ(a.result.status, 0) << a.console.back();
  auto t77 = e2e::read_table(a.table77);
  EXPECT_EQ(t77.header, (std::vector<std::string>{" 3 22 ", " Weighting function ", " weight  altitude"}));
  ASSERT_EQ(t77.rows.size(), 80u);
  EXPECT_EQ(t77.rows[0].size(), 22u);
}

TEST(SpectralRun, LinesAtTheSelectionLimits) {
  // With margin 1 the selection runs from 1999.0 (included) to 2002.0 (excluded).
  const std::string base = e2e::line_record(2, 1, 2000.5, 1e-23);
  SpectralRun none = run_spectral({}, base);
  SpectralRun low = run_spectral({}, e2e::line_record(5, 1, 1999.0, 1e-17) + base);
  SpectralRun high = run_spectral({}, base + e2e::line_record(5, 1, 2002.0, 1e-17));
  ASSERT_EQ(none.result.status, 0);
  ASSERT_EQ(low.result.status, 0);
  ASSERT_EQ(high.result.status, 0);
  EXPECT_LT(low.table71.rows[0][1], none.table71.rows[0][1] - 1e-3);
  for (std::size_t j = 0; j < none.table71.rows.size(); ++j) {
    EXPECT_EQ(high.table71.rows[j], none.table71.rows[j]);
  }
}

TEST(SpectralRun, SkippedMoleculesAddNothing) {
  std::string lines;
  for (int mol : {28, 34, 36}) lines += e2e::line_record(mol, 1, 2000.5, 1e-17);
  SpectralRun r = run_spectral({}, lines);
  ASSERT_EQ(r.result.status, 0);
  for (const auto& row : r.table71.rows) {
    EXPECT_EQ(row[1], 1.0);
    EXPECT_EQ(row[2], 1.0);
    EXPECT_EQ(row[3], 1.0);
  }
}

TEST(SpectralRun, TargetIsotopeSelection) {
  SpectralRun all = run_spectral({{20, "0"}});
  SpectralRun second = run_spectral({{20, "2"}});
  ASSERT_EQ(second.result.status, 0);
  // Isotope 2 makes the line at 2000.8 the only target line: the main-isotope
  // lines move to the other gases.
  const auto& at_2000_2 = second.table71.rows[40];
  EXPECT_EQ(at_2000_2[0], 2000.2);
  EXPECT_GT(at_2000_2[1], 0.99);
  EXPECT_LT(at_2000_2[2], 0.5);
  EXPECT_LT(all.table71.rows[40][1], 0.5);
  EXPECT_LT(second.table71.rows[160][1], 0.9);  // 2000.8
  for (std::size_t j = 0; j < all.table71.rows.size(); ++j) {
    EXPECT_NEAR(all.table71.rows[j][3], second.table71.rows[j][3], 1e-5);
  }
}

TEST(SpectralRun, LineFindingStudyCountsTheTargetLayerOnly) {
  SpectralRun whole = run_spectral({{9, "d"}, {24, "0."}, {25, "100."}});
  SpectralRun layer = run_spectral({{9, "d"}, {24, "10."}, {25, "20."}});
  ASSERT_EQ(whole.result.status, 0) << whole.console.back();
  ASSERT_EQ(layer.result.status, 0);
  EXPECT_EQ(whole.table71.header,
            (std::vector<std::string>{"3 5", "Rad. in transmission", "  cm-1      target      all-target   all-gases  diff-10%"}));
  ASSERT_EQ(whole.table71.rows[0].size(), 5u);
  for (std::size_t j = 0; j < whole.table71.rows.size(); ++j) {
    const auto& w = whole.table71.rows[j];
    const auto& l = layer.table71.rows[j];
    EXPECT_GE(l[1], w[1]);                 // less target in a 10 km layer than in the column
    EXPECT_NEAR(l[3], w[3], 1e-5);         // the all-gases spectrum does not depend on the layer
    // tfactor 0.9 takes 10 % of the target away: the difference of all gases
    // and the scaled spectrum is negative, about 10 % of the target's absorption.
    EXPECT_LE(w[4], 1e-5);
    const double expected = w[3] * (1.0 - std::exp(-0.1 * std::log(w[1])));
    EXPECT_NEAR(w[4], expected, 5e-4 * std::fabs(expected) + 2e-5);
  }
  EXPECT_LT(min_of_column(whole, 4), -0.01);
}

TEST(SpectralRun, RemovedLayersShortenThePath) {
  SpectralRun r = run_spectral({{27, "2"}});
  ASSERT_EQ(r.result.status, 0);
  ASSERT_EQ(r.table70.rows.size(), 78u);
  SpectralRun full = run_spectral({});
  EXPECT_EQ(r.table70.rows[0], full.table70.rows[2]);
  EXPECT_GT(r.table71.rows[40][1], full.table71.rows[40][1]);  // less CO above the instrument
}

TEST(SpectralRun, WrongNumberOfLayersToRemove) {
  for (const char* ndrop : {"-1", "80", "200"}) {
    SCOPED_TRACE(ndrop);
    SpectralRun r = run_spectral({{27, ndrop}});
    EXPECT_EQ(r.result.status, 1);
    EXPECT_EQ(r.console.back(), " Wrong number of layers to remove");
  }
}

TEST(SpectralRun, LimbPathCountsBothHalves) {
  SpectralRun r = run_spectral({{26, "s 10."}});
  ASSERT_EQ(r.result.status, 0) << r.console.back();
  // Segments down from the top to the tangent layer and up again: the
  // profile along the path is symmetric and reaches down to 10 km.
  const auto& rows = r.table70.rows;
  ASSERT_EQ(rows.size() % 2, 0u);
  ASSERT_GT(rows.size(), 100u);
  for (std::size_t k = 0; k < rows.size(); ++k) EXPECT_EQ(rows[k], rows[rows.size() - 1 - k]);
  EXPECT_GT(rows.front()[2], 79.0);
  EXPECT_NEAR(rows[rows.size() / 2][2], 10.5, 0.1);
  SpectralRun high = run_spectral({{26, "s 200."}});
  EXPECT_EQ(high.result.status, 1);
  EXPECT_EQ(high.console.back(), " Tangent altitude above the model atmosphere");
}

// Memory exhausted: the console keeps what was written and ends with a
// report, the exit status is 3 and not a signal.
TEST(SpectralRun, OutOfMemoryEndsWithAReport) {
#if defined(__SANITIZE_ADDRESS__)  // gcc
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit allows";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)  // clang, which builds the sanitizer tree
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit allows";
#endif
#endif
  testing_support::WorkDir dir;
  dir.write("input-vorne", e2e::deck_text(e2e::spectral_deck()));
  dir.write("lines.hit", e2e::default_lines());
  e2e::write_atmosphere(dir);
  // 100 MB of address space: enough to start, too little for the optical depths.
  dir.write("limited", std::string("#!/bin/sh\nulimit -v 100000\nexec '") + LF_TESK_BIN + "'\n");
  std::filesystem::permissions(dir.path() / "limited", std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  auto res = dir.run((dir.path() / "limited").string());
  EXPECT_EQ(res.status, 3);
  const auto console = testing_support::split_lines(res.console);
  ASSERT_FALSE(console.empty());
  EXPECT_EQ(console.back(), " Unexpected error, the run ends: std::bad_alloc");
  EXPECT_NE(res.console.find(" Program requires approx. 144 Mbytes"), std::string::npos);
}

TEST(SpectralRun, RealLineListAndAtmosphere) {
  const std::string data = LF_SHARED_DATA;
  if (!std::filesystem::exists(data + "/lines_2000-2300.hit")) GTEST_SKIP() << "shared data not found in " << data;
  testing_support::WorkDir dir;
  // Links keep the deck's paths short wherever the data lies.
  for (const char* f : {"lines_2000-2300.hit", "midlat.vmr", "midlat.mod"}) {
    std::filesystem::create_symlink(std::filesystem::absolute(data + "/" + f), dir.path() / f);
  }
  auto deck = e2e::spectral_deck();
  deck[1] = "lines_2000-2300.hit";
  deck[16] = "2145.";
  deck[17] = "2150.";
  dir.write("input-vorne", e2e::deck_text(deck));
  auto res = dir.run(LF_TESK_BIN);
  ASSERT_EQ(res.status, 0) << res.console;
  auto t = e2e::read_table(dir.read("table71"));
  ASSERT_EQ(t.rows.size(), 1001u);
  double deepest = 1.0, at = 0.0;
  for (const auto& row : t.rows) {
    if (row[1] < deepest) {
      deepest = row[1];
      at = row[0];
    }
    EXPECT_NEAR(row[3], row[1] * row[2], 1.5e-4 * row[3] + 1e-9);
  }
  // The R(0) line of CO at 2147.081 cm-1 absorbs most of the light at its centre.
  EXPECT_NEAR(at, 2147.08, 0.01);
  EXPECT_LT(deepest, 0.3);
  EXPECT_GT(deepest, 0.001);
}

// Where the range is cut into intervals must not change the spectrum. The
// grid 2^-9 cm-1 puts every point of every cut exactly on the same float
// wavenumber (and no two points print alike), and a margin wider than the
// range lets every line reach every interval, so two cuts must print the same
// rows, to one unit of the last printed digit for the last bits of the sums.
// An inside line is put on its nearest point, an outside one is not, so the
// lines lie on points too, some on the cuts.
TEST(SpectralRun, CuttingTheRangeElsewhereKeepsTheSpectrum) {
  const std::string lines = e2e::line_record(5, 1, 2003.0, 2e-19) + e2e::line_record(2, 1, 2058.59375, 1e-21) +
                            e2e::line_record(5, 1, 2058.609375, 1e-19) + e2e::line_record(5, 1, 2068.59375, 5e-20) +
                            e2e::line_record(5, 2, 2100.0, 5e-20) + e2e::line_record(5, 1, 2117.1875, 5e-20);
  auto run = [&](const char* vlo) {
    return run_spectral({{7, "6"}, {17, vlo}, {18, "2121."}, {28, "0.001953125"}, {29, "200."}}, lines);
  };
  SpectralRun three = run("2000.");  // cut at 2058.59375 and 2117.1875
  SpectralRun two = run("2010.");    // cut at 2068.59375
  ASSERT_EQ(three.result.status, 0) << three.result.console;
  ASSERT_EQ(two.result.status, 0) << two.result.console;
  EXPECT_TRUE(has_line(three, "at step:      3 of      3 with     1952 points"));
  EXPECT_TRUE(has_line(two, "at step:      2 of      2 with    26832 points"));

  std::map<long long, std::vector<double>> by_wavenumber;
  for (const auto& row : three.table71.rows) by_wavenumber[std::llround(row[0] * 1e4)] = row;
  ASSERT_EQ(two.table71.rows.size(), 56834u);
  for (const auto& row : two.table71.rows) {
    const auto it = by_wavenumber.find(std::llround(row[0] * 1e4));
    ASSERT_NE(it, by_wavenumber.end()) << row[0];
    for (std::size_t c = 1; c <= 3; ++c) {
      // One unit of the fifth significant digit of an e11.5 field.
      const double unit = row[c] > 0.0 ? std::pow(10.0, std::floor(std::log10(row[c])) - 4.0) : 0.0;
      ASSERT_NEAR(row[c], it->second[c], 1.001 * unit) << row[0];
    }
  }
}

}  // namespace
