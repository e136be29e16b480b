// Line finding of study d on the real CO lines of the 2000-2300 cm-1 extract:
// a complete run from deck to microwindow list, then a sort run on the
// table71 it left.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::split_lines;
using testing_support::WorkDir;

// 2140-2150 cm-1 at 0.01 cm-1 in the mid-latitude atmosphere; four deck
// lines head the tables, so that the run-mode line (5) is not part of them
// and a sort run writes the same bytes.
std::vector<std::string> co_deck(const std::string& runmode) {
  auto d = e2e::valid_deck();
  d[0] = "4          header lines";
  d[4] = runmode;
  d[6] = "0";
  d[8] = "d";
  d[9] = "0.9";
  d[10] = "t";
  d[16] = "2140.";
  d[17] = "2150.";
  d[18] = "co";
  d[24] = "100.";
  d[27] = "0.01";
  d[31] = "0.1";
  d[36] = "100.";   // no temperature-dependence filter
  d[37] = "250.";
  d[38] = "0.6";    // W
  d[39] = "0.2";    // 2 D
  d[40] = "1.0";    // Wmax
  d[41] = "5";
  return d;
}

struct Row {
  std::vector<std::string> words;
  double number(std::size_t i) const { return std::strtod(words[i].c_str(), nullptr); }
};

std::vector<Row> rows_after(const std::string& text, std::size_t header) {
  std::vector<Row> rows;
  auto lines = split_lines(text);
  for (std::size_t i = header; i < lines.size(); ++i) {
    std::istringstream in(lines[i]);
    Row r;
    for (std::string w; in >> w;) r.words.push_back(w);
    rows.push_back(r);
  }
  return rows;
}

// Positions of the CO lines (molecule 5) of a line list inside (lo, hi).
std::vector<double> co_positions(const fs::path& list, double lo, double hi) {
  std::ifstream in(list);
  std::vector<double> p;
  for (std::string rec; std::getline(in, rec);) {
    const double pos = std::strtod(rec.substr(3, 12).c_str(), nullptr);
    if (std::atoi(rec.substr(0, 2).c_str()) == 5 && pos > lo && pos < hi) p.push_back(pos);
  }
  return p;
}

TEST(LineFinding, CompleteRunThenSortRunOnItsSpectra) {
  const fs::path data = LF_SHARED_DATA;
  const fs::path list = data / "lines_2000-2300.hit";
  if (!fs::exists(list)) GTEST_SKIP() << "real line list not found: " << list.string();
  WorkDir dir;
  fs::create_symlink(fs::absolute(list), dir.path() / "lines.hit");
  for (const char* f : {"midlat.mod", "midlat.vmr"}) fs::create_symlink(fs::absolute(data / f), dir.path() / f);

  dir.write("input-vorne", e2e::deck_text(co_deck("c")));
  const auto complete = dir.run(LF_TESK_BIN);
  ASSERT_EQ(complete.status, 0) << complete.console;
  const auto console = split_lines(complete.console);
  const std::vector<std::string> steps = {
      "Table72 (with target gas positions)",     "Table73 (with infos on spectral lines)",
      "Table74 (lines sorted, best first)",      "Table75 (optimum window size determined)",
      "Table76 (overlapping m-windows combined) "};
  EXPECT_NE(std::search(console.begin(), console.end(), steps.begin(), steps.end()), console.end())
      << complete.console;
  EXPECT_EQ(console.back(), "Stop - Program terminated.");

  // Every CO line of the range, in list order.
  const auto t72 = rows_after(dir.read("table72"), 4 + 2 + 1);
  const auto expected = co_positions(list, 2140.0, 2150.0);
  ASSERT_EQ(t72.size(), expected.size());
  ASSERT_GE(t72.size(), 3u);
  for (std::size_t i = 0; i < t72.size(); ++i) EXPECT_NEAR(t72[i].number(0), expected[i], 5e-5);

  // The three most sensitive lines each lie inside a microwindow; the
  // windows keep within Wmax (W is narrower, so no window is wider) and apart
  // from each other, up to the 0.01 cm-1 of the printed centres and widths.
  auto by_sensitivity = t72;
  std::stable_sort(by_sensitivity.begin(), by_sensitivity.end(),
                   [](const Row& a, const Row& b) { return a.number(2) > b.number(2); });
  const std::string t76_text = dir.read("table76");
  const auto t76 = rows_after(t76_text, 1);
  EXPECT_EQ(split_lines(t76_text)[0], "name     cm-1     window ");
  ASSERT_FALSE(t76.empty());
  ASSERT_LE(t76.size(), 5u);
  for (const Row& w : t76) {
    EXPECT_EQ(w.words[0], "co");
    EXPECT_LE(w.number(2), 1.0);
  }
  for (std::size_t k = 0; k < 3; ++k) {
    const double line = by_sensitivity[k].number(0);
    SCOPED_TRACE(line);
    EXPECT_TRUE(std::any_of(t76.begin(), t76.end(), [&](const Row& w) {
      return std::abs(line - w.number(1)) <= w.number(2) / 2 + 0.01;
    }));
  }
  for (std::size_t i = 0; i < t76.size(); ++i) {
    for (std::size_t j = i + 1; j < t76.size(); ++j) {
      EXPECT_GE(std::abs(t76[i].number(1) - t76[j].number(1)), (t76[i].number(2) + t76[j].number(2)) / 2 - 0.01);
    }
  }

  const std::vector<std::string> names = {"table71", "table72", "table73", "table74",
                                          "table75", "table76", "table79", "table80"};
  std::vector<std::string> tables;
  for (const auto& t : names) tables.push_back(dir.read(t));
  dir.write("input-vorne", e2e::deck_text(co_deck("s")));
  const auto sort = dir.run(LF_TESK_BIN);
  ASSERT_EQ(sort.status, 0) << sort.console;
  EXPECT_EQ(sort.console.find("Working at"), std::string::npos);
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_TRUE(dir.read(names[i]) == tables[i]);  // byte for byte; the tables are too long to print
  }
}

// A sort run needs the table71 of an earlier complete run.
TEST(LineFinding, SortRunWithoutSpectraIsAFileError) {
  WorkDir dir;
  dir.write("input-vorne", e2e::deck_text(co_deck("s")));
  dir.write("lines.hit", e2e::line_record(5, 1, 2145.0));
  const auto r = dir.run(LF_TESK_BIN);
  EXPECT_EQ(r.status, 2) << r.console;
  EXPECT_FALSE(dir.exists("table72"));
}

}  // namespace
