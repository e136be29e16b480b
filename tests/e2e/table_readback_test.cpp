// Tables that a later run reads back: a table71 of four columns under a study
// that needs five, a table cut in the middle of its last row, and window
// widths below 0 end the run with the file layer's report (exit 2) and no
// table made from them; window sizes below 0 in the deck are wrong answers
// (exit 1), in a run and in --check-deck alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

using testing_support::split_lines;
using testing_support::WorkDir;

std::vector<std::string> deck(char runmode, char study) { return e2e::spectral_deck(runmode, study); }

struct Outcome {
  int status = -1;
  std::string console;
  std::string last;  // last console line
};

Outcome run(const WorkDir& dir, const std::vector<std::string>& d, const std::string& option = "") {
  dir.write("input-vorne", e2e::deck_text(d));
  const auto r = dir.run(LF_TESK_BIN, option);
  const auto lines = split_lines(r.console);
  return {r.status, r.console, lines.empty() ? std::string() : lines.back()};
}

// The line list and the atmosphere of the spectral fixture.
void write_inputs(const WorkDir& dir) {
  dir.write("lines.hit", e2e::default_lines());
  e2e::write_atmosphere(dir);
}

void expect_no_tables_from(const WorkDir& dir) {
  for (const char* t : {"table72", "table73", "table74", "table75", "table76", "table79", "table80", "table90"}) {
    EXPECT_FALSE(dir.exists(t)) << t;
  }
}

TEST(TableReadBack, SortRunOfStudyIOrDOnAFourColumnSpectrumTable) {
  WorkDir dir;
  write_inputs(dir);
  ASSERT_EQ(run(dir, deck('c', 's')).status, 0);
  const std::string table71 = dir.read("table71");
  ASSERT_EQ(table71.substr(0, 5), "3 4\r\n");
  for (char study : {'i', 'd'}) {
    SCOPED_TRACE(study);
    const Outcome r = run(dir, deck('s', study));
    EXPECT_EQ(r.status, 2) << r.console;
    EXPECT_EQ(r.last,
              " table71 holds 4 columns per row, as a study s, w or a writes it; this study needs 5, as a complete "
              "run of study i or d writes them");
    expect_no_tables_from(dir);
    EXPECT_EQ(dir.read("table71"), table71);
  }
}

TEST(TableReadBack, SpectrumTableCutInItsLastRow) {
  WorkDir dir;
  write_inputs(dir);
  ASSERT_EQ(run(dir, deck('c', 'd')).status, 0);
  const std::string table71 = dir.read("table71");
  // Record 104 is row 101 of 201: the file ends 20 characters into it.
  std::size_t end = 0;
  for (int record = 1; record <= 103; ++record) end = table71.find('\n', end) + 1;
  const std::string cut = table71.substr(0, end + 20);
  for (char study : {'d', 'i'}) {
    SCOPED_TRACE(study);
    WorkDir sort;
    write_inputs(sort);
    sort.write("table71", cut);
    const Outcome r = run(sort, deck('s', study));
    EXPECT_EQ(r.status, 2) << r.console;
    EXPECT_EQ(r.last, " Record 104 of table71 is cut short: it ends after 20 of its 58 characters without a line end");
    expect_no_tables_from(sort);
  }
}

TEST(TableReadBack, WindowSizesBelowZeroInTheDeck) {
  struct Case {
    const char* start;   // line 39
    const char* centre;  // line 40
    std::string last;
  } cases[] = {
      {"-0.3", "-0.4", " Wrong answer in line 39 of input-vorne: the starting microwindow width must be above 0, found "
                       "\"-0.3\""},
      {"0.3", "-0.4", " Wrong answer in line 40 of input-vorne: the interval around the line centre must be 0 or "
                      "more, found \"-0.4\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last);
    auto d = deck('c', 'd');
    d[38] = c.start;
    d[39] = c.centre;
    WorkDir dir;
    write_inputs(dir);
    const Outcome r = run(dir, d);
    EXPECT_EQ(r.status, 1) << r.console;
    EXPECT_EQ(r.last, c.last);
    EXPECT_FALSE(dir.exists("table71"));
    WorkDir check;
    write_inputs(check);
    const Outcome k = run(check, d, "--check-deck");
    EXPECT_EQ(k.status, 1);
    EXPECT_EQ(k.console, r.console);
  }
}

// kormal on a window table with a width below 0.
TEST(TableReadBack, KormalRefusesAWindowWidthBelowZero) {
  WorkDir dir;
  write_inputs(dir);
  dir.write("table76", "name     cm-1     window \r\nco       2000.50   -.40\r\n");
  dir.write("input-kormal", e2e::deck_text({"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "n", "8",
                                            "0.", "0.01", "d", "n", "n"}));
  const auto r = dir.run(LF_KORMAL_BIN);
  EXPECT_EQ(r.status, 2) << r.console;
  EXPECT_EQ(split_lines(r.console).back(),
            " Window width below 0 in record 2 of table76: found \"co       2000.50   -.40\"");
}

}  // namespace
