// The interfering-gas program on the real data: CH4 microwindows of the
// 2900-3070 cm-1 line list through the mid-latitude atmosphere, with the
// solar spectrum; the windows written by hand, and found by a line-finding
// run of the line-finding program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "deck_fixture.hpp"
#include "spectral_fixture.hpp"
#include "program_run.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::split_lines;
using testing_support::WorkDir;

const fs::path kData = LF_SHARED_DATA;

const std::vector<std::string> kWindows = {
    "ch4      2948.11   0.40", "ch4      2958.02   0.30", "ch4      2979.01   0.40", "ch4      2988.80   0.50",
    "ch4      3028.75   0.40", "ch4      3038.50   0.40", "ch4      3048.15   0.40",
};

// The program's names of the molecules in the extract (HITRAN numbers).
const std::map<int, std::string> kNames = {
    {1, "h2o    "}, {4, "n2o    "}, {6, "ch4    "}, {27, "c2h6   "}, {38, "c2h4   "}};

// Names of the gases with a line within 5 cm-1 of a window.
std::set<std::string> gases_near(double fmin, double fmax) {
  std::ifstream in(kData / "lines_2900-3070.hit");
  std::set<std::string> names;
  std::string rec;
  while (std::getline(in, rec)) {
    const double pos = std::strtod(rec.substr(3, 12).c_str(), nullptr);
    if (pos >= fmin - 5.0 && pos < fmax + 5.0) names.insert(kNames.at(std::stoi(rec.substr(0, 2))));
  }
  return names;
}

struct RealRun {
  testing_support::ProgramResult result;
  std::vector<std::string> output, microwin;
};

void link_real_data(const WorkDir& dir) {
  fs::create_symlink(kData / "lines_2900-3070.hit", dir.path() / "lines.hit");
  for (const char* f : {"midlat.vmr", "midlat.mod", "solar.dat"}) fs::create_symlink(kData / f, dir.path() / f);
}

// Runs kormal in `dir` on its table76, or on kWindows when there is none.
RealRun run_on_real_data(char sortkey, char solar, const WorkDir& dir = WorkDir()) {
  if (!dir.exists("lines.hit")) link_real_data(dir);
  if (!dir.exists("table76")) {
    std::string table = "name     cm-1     window \n";
    for (const auto& w : kWindows) table += w + "\n";
    dir.write("table76", table);
  }
  dir.write("input-kormal", e2e::deck_text({"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0",
                                            std::string(1, solar), "8", "0.", "0.01", std::string(1, sortkey),
                                            "n", "n"}));
  RealRun r;
  r.result = dir.run(LF_KORMAL_BIN);
  r.output = split_lines(dir.read("output.dat"));
  r.microwin = split_lines(dir.read("microwin"));
  return r;
}

// Every window reports its target first, total and contribution lie in
// 0..100 %, and the strongest interferer has lines in the window.
void expect_sound_report(const RealRun& r, const std::vector<std::string>& windows) {
  ASSERT_EQ(r.result.status, 0) << r.result.console;
  ASSERT_EQ(r.microwin.size(), windows.size() + 1);

  std::size_t block = 0;
  for (std::size_t i = 0; i < r.output.size(); ++i) {
    const std::string& line = r.output[i];
    if (line.rfind("total TR at position of TG in window:", 0) == 0) {
      ASSERT_LT(block, windows.size());
      SCOPED_TRACE(windows[block]);
      const double total = std::stod(line.substr(37));
      const double contribution = std::stod(r.output[i + 1].substr(42));
      EXPECT_GE(total, 0.0);
      EXPECT_LE(total, 100.0);
      EXPECT_GE(contribution, 0.0);
      EXPECT_LE(contribution, 100.0);
      // The first row after the column header is the target.
      ASSERT_EQ(r.output[i + 7], "Name     No  rel.-trans   abs.-trans   nu and dnu");
      EXPECT_EQ(r.output[i + 8].substr(0, 11), "ch4       6");
      const double peak = std::stod(r.output[i + 8].substr(38));
      const double centre = std::stod(windows[block].substr(9, 7));
      const double width = std::stod(windows[block].substr(17));
      EXPECT_GE(peak, centre - width / 2.0 - 0.01);
      EXPECT_LE(peak, centre + width / 2.0 + 0.01);

      // The strongest interferer of the window line has lines there, or is
      // the sun's own spectrum.
      const std::string& wline = r.microwin[block + 1];
      EXPECT_EQ(wline.size(), 100u);
      EXPECT_EQ(wline.substr(0, 23), windows[block]);
      const std::string first = wline.substr(26, 7);
      const std::set<std::string> near = gases_near(centre - width / 2.0, centre + width / 2.0);
      EXPECT_TRUE(first == "solar  " || (near.count(first) == 1 && first != "ch4    ")) << "\"" << first << "\"";
      ++block;
    }
  }
  EXPECT_EQ(block, windows.size());
}

TEST(KormalRealData, EveryWindowReportsItsTargetAndARealInterferer) {
  if (!fs::exists(kData / "lines_2900-3070.hit")) GTEST_SKIP() << "shared data not found at " << kData;
  expect_sound_report(run_on_real_data('d', 'y'), kWindows);
}

// The whole chain: the line-finding program finds the CH4 windows of
// 2948-2958 cm-1, and the interfering-gas program rates the table76 it wrote.
TEST(KormalRealData, RatesTheWindowsOfALineFindingRun) {
  if (!fs::exists(kData / "lines_2900-3070.hit")) GTEST_SKIP() << "shared data not found at " << kData;
  WorkDir dir;
  link_real_data(dir);
  auto deck = e2e::valid_deck();
  deck[4] = "c";
  deck[6] = "0";
  deck[7] = "y";
  deck[8] = "d";
  deck[16] = "2948.";
  deck[17] = "2958.";
  deck[18] = "ch4";
  deck[27] = "0.005";
  deck[36] = "100.";  // no temperature-dependence filter
  deck[41] = "20";
  dir.write("input-vorne", e2e::deck_text(deck));
  const auto tesk = dir.run(LF_TESK_BIN);
  ASSERT_EQ(tesk.status, 0) << tesk.console;
  std::vector<std::string> windows = split_lines(dir.read("table76"));
  windows.erase(windows.begin());  // the column header
  ASSERT_GE(windows.size(), 2u);
  for (auto& w : windows) ASSERT_EQ(w.size(), 23u) << w;
  expect_sound_report(run_on_real_data('d', 'y', dir), windows);
}

TEST(KormalRealData, SortByAbsorptionNamesGasesInTheRightHalf) {
  if (!fs::exists(kData / "lines_2900-3070.hit")) GTEST_SKIP() << "shared data not found at " << kData;
  RealRun r = run_on_real_data('a', 'n');
  ASSERT_EQ(r.result.status, 0) << r.result.console;
  ASSERT_EQ(r.microwin.size(), kWindows.size() + 1);
  for (std::size_t w = 1; w < r.microwin.size(); ++w) {
    const std::string& line = r.microwin[w];
    SCOPED_TRACE(line);
    EXPECT_EQ(line.size(), 100u);
    EXPECT_EQ(line.substr(23, 31), std::string(31, ' '));
    EXPECT_NE(line.substr(54, 7), "       ");  // every window has an interferer above 0.01 %
    EXPECT_EQ(line.find("solar"), std::string::npos);
  }
}

// --check-deck reads the deck alone: it says what a run says first about the
// deck, with the same exit status, and writes nothing; a good deck ends with
// its own line where the run goes on to its files (none here).
TEST(KormalCheckDeck, SaysWhatTheRunSaysFirstAndWritesNothing) {
  const std::vector<std::string> good = {"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0",
                                         "y", "8", "0.", "0.01", "d", "n", "n"};
  struct Case {
    int line;  // 0: the good deck
    std::string answer;
    int status;
  } cases[] = {{0, "", 0}, {9, "x", 1}, {13, "q", 1}, {5, "h 0", 1}, {6, "-1", 1}, {6, "x1", 2}, {14, "", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + " " + c.answer);
    std::vector<std::string> deck = good;
    if (c.line == 14) {
      deck.resize(13);  // a deck cut short
    } else if (c.line > 0) {
      deck[static_cast<std::size_t>(c.line - 1)] = c.answer;
    }
    WorkDir run_dir, check_dir;
    run_dir.write("input-kormal", e2e::deck_text(deck));
    check_dir.write("input-kormal", e2e::deck_text(deck));
    const auto run = run_dir.run(LF_KORMAL_BIN);
    const auto check = check_dir.run(LF_KORMAL_BIN, "--check-deck");
    EXPECT_EQ(check.status, c.status) << check.console;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(check_dir.path())) {
      names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"input-kormal"});
    if (c.status != 0) {
      EXPECT_EQ(check.console, run.console);
      continue;
    }
    auto run_lines = split_lines(run.console);
    auto check_lines = split_lines(check.console);
    ASSERT_FALSE(check_lines.empty());
    EXPECT_EQ(check_lines.back(), " The deck input-kormal passes every check of its answers");
    EXPECT_NE(run.status, 0);  // the run needs its files
    run_lines.pop_back();
    check_lines.pop_back();
    EXPECT_EQ(check_lines, run_lines);
  }
}

// ---- The solar pseudo-gas where solar.dat does not reach -------------------

// Three CO windows on hand-made files: one inside solar.dat (1990-2100
// cm-1), one beyond its end, one beyond the program's solar range. Only the
// first gets a solar entry; each of the others gets one console line (its
// leading blank taken by the console), and no
// report prints asterisks for a minimum that no point set.
TEST(KormalSolar, AWindowOutsideSolarDatGetsNoEntryAndOneLine) {
  WorkDir dir;
  e2e::write_atmosphere(dir);
  dir.write("lines.hit", e2e::default_lines() + e2e::line_record(5, 1, 2200.1, 1e-19) +
                             e2e::line_record(5, 1, 4700.1, 1e-19));
  std::string solar = "0.0 1.0\n";
  for (int j = 0; j <= 2200; ++j) solar += std::to_string(1990.0 + 0.05 * j) + (j % 3 ? " 0.99\n" : " 0.9\n");
  dir.write("solar.dat", solar);
  const std::string covered = "co       2000.40   0.40";
  const std::string beyond_file = "co       2200.00   0.40";
  const std::string beyond_range = "co       4700.00   0.40";
  dir.write("table76", "name     cm-1     window \n" + covered + "\n" + beyond_file + "\n" + beyond_range + "\n");
  dir.write("input-kormal", e2e::deck_text({"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "y",
                                            "0", "0.", "0.", "d", "n", "n"}));
  const auto result = dir.run(LF_KORMAL_BIN);
  ASSERT_EQ(result.status, 0) << result.console;

  const std::vector<std::string> console = split_lines(result.console);
  auto count = [&](const std::string& line) { return std::count(console.begin(), console.end(), line); };
  EXPECT_EQ(count("Window not covered by solar.dat, no solar pseudo-gas: " + beyond_file), 1) << result.console;
  EXPECT_EQ(count("Window outside 650-4606.4 cm-1, no solar pseudo-gas: " + beyond_range), 1) << result.console;
  EXPECT_EQ(result.console.find("solar pseudo-gas: " + covered), std::string::npos);

  const std::string output = dir.read("output.dat");
  const std::vector<std::string> rows = split_lines(output);
  for (const std::string& r : rows) {
    if (r.rfind("*****", 0) != 0) {
      EXPECT_EQ(r.find('*'), std::string::npos) << r;
    }
  }
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const std::string& r) { return r.rfind("solar", 0) == 0; }), 1)
      << output;
}

}  // namespace
