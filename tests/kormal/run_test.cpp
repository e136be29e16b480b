// Whole runs of the interfering-gas program on small files in a temporary
// working directory: deck checks, skipped rows, isotope windows, the
// contribution threshold and the grid limit.
#include "kormal/run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/deck_fixture.hpp"
#include "program_run.hpp"

namespace {

using testing_support::split_lines;
using testing_support::WorkDir;

std::vector<std::string> deck_lines() {
  return {"lines.hit  line list", "table76    windows", "", "", "h 101", "0", "m", "0.0", "n", "0", "0.",
          "0.", "d", "n", "n"};
}

// CO2 lines of isotopes 1, 2 and 7 near 2000.2 cm-1, water and ozone lines,
// and a strong N2O line (gas 4) that the three-gas atmosphere has no column
// for: it must not land in the first isotope pseudo-gas, species 4.
std::string lines() {
  return e2e::line_record(3, 1, 1999.9, 1e-20) + e2e::line_record(2, 1, 2000.10, 1e-21) +
         e2e::line_record(2, 2, 2000.20, 3e-21) + e2e::line_record(2, 7, 2000.25, 1e-21) +
         e2e::line_record(1, 1, 2000.30, 1e-22) + e2e::line_record(4, 1, 2000.35, 1e-17);
}

struct KormalResult {
  int status = 0;  // 0 normal, 1 stop, 2 record error
  std::string message;
  std::vector<std::string> console, output, microwin, spectra;
};

KormalResult run_kormal(const std::vector<std::string>& deck, const std::vector<std::string>& rows,
               const std::string& keyboard_text = "") {
  WorkDir dir;
  dir.write("input-kormal", e2e::deck_text(deck));
  std::string table = "name     cm-1     window \n";
  for (const auto& r : rows) table += r + "\n";
  dir.write("table76", table);
  dir.write("lines.hit", lines());
  std::string vmr = "2 4\n altitude h2o co2 o3\n";
  for (int z = 0; z <= 20; ++z) vmr += std::to_string(z) + ".0 1e-5 4e-4\n 1e-7\n";
  dir.write("midlat.vmr", vmr);

  KormalResult r;
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  std::ostringstream screen;
  std::istringstream keyboard(keyboard_text);
  rec::Console console(screen);
  try {
    kormal::run(console, keyboard);
  } catch (const rec::Stop& s) {
    r.status = 1;
    r.message = s.what();
  } catch (const rec::RecordError& e) {
    r.status = 2;
    r.message = e.what();
  }
  console.finish();
  std::filesystem::current_path(old);
  r.console = split_lines(screen.str());
  r.output = split_lines(dir.read("output.dat"));
  r.microwin = split_lines(dir.read("microwin"));
  r.spectra = split_lines(dir.read("spectra.out"));
  return r;
}

bool shows(const KormalResult& r, const std::string& line) {
  return std::find(r.console.begin(), r.console.end(), line) != r.console.end();
}

// The output.dat row of `gas` in the block of window `block` (0-based).
std::string row_of(const KormalResult& r, int block, const std::string& name) {
  int seen = -1;
  for (const auto& line : r.output) {
    if (line.rfind("Name     No", 0) == 0) ++seen;
    if (seen == block && line.rfind(name, 0) == 0) return line;
  }
  return "";
}

TEST(KormalRun, WindowsSkippedRowsAndIsotopes) {
  auto deck = deck_lines();
  deck[14] = "y";  // plot every window
  KormalResult r = run_kormal(deck, {"co2      2000.20   0.40", "hbr      2000.20   0.40", "2co2     2000.20   0.40",
                            "co2      2000.20   0.40", "gas      2000.20   0.40", "7co2     2000.20   0.40"});
  ASSERT_EQ(r.status, 0) << r.message;
  EXPECT_TRUE(shows(r, "No gas of this name in the gas table, window skipped: hbr      2000.20   0.40"));
  EXPECT_TRUE(shows(r, "No profile of this gas in the atmosphere file, window skipped: gas      2000.20   0.40"));
  EXPECT_TRUE(shows(r, "No gas of this name in the gas table, window skipped: 7co2     2000.20   0.40"));
  EXPECT_EQ(r.console.back(), "Results in output.dat and microwin");
  EXPECT_EQ(std::count_if(r.console.begin(), r.console.end(),
                          [](const std::string& l) { return l.rfind(" xmin: ", 0) == 0 || l.rfind("xmin: ", 0) == 0; }),
            3);

  ASSERT_EQ(r.microwin.size(), 4u);
  EXPECT_EQ(r.microwin[0], "name     cm-1     window");  // the table's first 24 characters
  for (std::size_t i = 1; i < r.microwin.size(); ++i) EXPECT_EQ(r.microwin[i].size(), 100u);
  // Plain co2: all CO2 lines are the target's; water and ozone interfere.
  EXPECT_EQ(r.microwin[1].substr(0, 40), "co2      2000.20   0.40   h2o    o3     ");
  const std::string co2 = row_of(r, 0, "co2    ");
  ASSERT_FALSE(co2.empty());
  EXPECT_EQ(co2.substr(0, 12), "co2       2 ");
  // Its peak lies between the isotope-2 and isotope-7 lines.
  EXPECT_GE(std::stod(co2.substr(38)), 2000.195);
  EXPECT_LE(std::stod(co2.substr(38)), 2000.25);
  // 2co2: isotope 1 goes to pseudo-gas 4 ("1co2"), isotope 7 is dropped.
  // The isotope-7 line is dropped, so the target's peak stays on its own line.
  EXPECT_EQ(row_of(r, 1, "2co2   "), "2co2      2" + row_of(r, 1, "2co2   ").substr(11, 27) + " 2000.200");
  const std::string iso1 = row_of(r, 1, "1co2   ");
  ASSERT_FALSE(iso1.empty());
  EXPECT_EQ(iso1.substr(0, 12), "1co2      4 ");
  EXPECT_EQ(iso1.substr(38), "    -.100");
  EXPECT_GT(std::stod(iso1.substr(12, 9)), 0.0);
  // Isotope 2 stays with the target: its pseudo-gas has no lines and keeps
  // the first interior point as its peak, 0.2 cm-1 below the target's.
  EXPECT_EQ(row_of(r, 1, "2co2      5").substr(12), "     .000         .000        -.200");
  // The next plain co2 row starts from the original table again.
  EXPECT_EQ(row_of(r, 2, "co2    "), co2);
  EXPECT_EQ(r.microwin[3], r.microwin[1]);

  // spectra.out holds the last window: points strictly inside 2000.0-2000.4.
  ASSERT_GE(r.spectra.size(), 2u);
  EXPECT_EQ(r.spectra[0], " 2 4 ");
  EXPECT_EQ(r.spectra[1], " cm-1  target   all-target   all ");
  EXPECT_EQ(r.spectra.size(), 2u + 80u);
  EXPECT_EQ(r.spectra[2].substr(0, 9), "2000.0050");
  for (std::size_t i = 2; i < r.spectra.size(); ++i) ASSERT_EQ(r.spectra[i].size(), 42u) << r.spectra[i];
}

TEST(KormalRun, BelowTheContributionThresholdOnlySpectraAreWritten) {
  auto deck = deck_lines();
  deck[10] = "200.";  // no window reaches 200 %
  deck[13] = "s";     // pause: the keyboard is empty, the run goes on
  KormalResult r = run_kormal(deck, {"co2      2000.20   0.40"});
  ASSERT_EQ(r.status, 0) << r.message;
  EXPECT_TRUE(r.output.empty());
  EXPECT_EQ(r.microwin, std::vector<std::string>{"name     cm-1     window"});
  EXPECT_EQ(r.spectra.size(), 82u);
  EXPECT_TRUE(shows(r, "Type enter to continue: Results in output.dat and microwin"));
}

TEST(KormalRun, DeckAndSetupFailures) {
  struct Case {
    int line;
    std::string answer;
    int status;
    std::string message;
  } cases[] = {
      {8, "Y", 1, "wrong input for solar"},
      {12, "D", 1, "wrong input for korma"},
      {4, "h 0", 1, " Record length of the line list in input-kormal must be above 0"},
      {5, "-1", 1, " Record count of the line list in input-kormal must not be negative"},
      {6, "x", 2, " No atmosphere file: the atmosphere letter of input-kormal must be p, m or t, found \"x\""},
      {4, "h 100", 2, ""},  // record length against the file
      {0, "missing.hit", 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    auto deck = deck_lines();
    deck[static_cast<std::size_t>(c.line)] = c.answer;
    KormalResult r = run_kormal(deck, {"co2      2000.20   0.40"});
    EXPECT_EQ(r.status, c.status);
    if (!c.message.empty()) {
      EXPECT_EQ(r.message, c.message);
    }
  }
  KormalResult shortdeck = run_kormal({"lines.hit", "table76", "", "", "h 101", "0"}, {});
  EXPECT_EQ(shortdeck.status, 2);
  EXPECT_EQ(shortdeck.message, " The deck input-kormal ends after 6 lines, before its atmosphere letter");
}

TEST(KormalRun, GridLimit) {
  // 65 cm-1 and the margins are 15000 steps: the water line at 2000.30
  // lands on point 14980 below a window centred at 1962.9, and within half
  // a step of the upper end, on point 15000, below one centred at 1962.801.
  // A wider window has no room at all.
  KormalResult wide = run_kormal(deck_lines(), {"co2      1962.90  65.00"});
  EXPECT_EQ(wide.status, 0) << wide.message;
  KormalResult at_limit = run_kormal(deck_lines(), {"co2      1962.801 65.00"});
  EXPECT_EQ(at_limit.status, 1);
  EXPECT_EQ(at_limit.message, " Increase mp ");
  KormalResult wider = run_kormal(deck_lines(), {"co2      2000.00  66.00"});
  EXPECT_EQ(wider.message, " Increase mp ");
}

}  // namespace
