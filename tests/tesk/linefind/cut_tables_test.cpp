// The line tables read back by the next step, cut in the middle of their last
// row (a run killed while writing, a full disk): each step refuses the row
// with the file and the record, and takes a last row of full length without
// its line end as whole. The information step refuses a table76 width below 0
// as well.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "linefind_fixture.hpp"
#include "tesk/linefind/line_rating.hpp"
#include "tesk/linefind/ranking.hpp"
#include "tesk/linefind/window_merging.hpp"
#include "tesk/linefind/window_optimisation.hpp"
#include "tesk/tables/information_table.hpp"

namespace {

using namespace linefind_test;
using testing_support::WorkDir;

tesk::LineFindSettings settings() {
  tesk::LineFindSettings s;
  s.gasno = 5;  // CO
  s.gasname = "co     ";
  s.interfw = 0.1f;
  s.tsens = 250.0f;
  s.winstart = 0.3f;
  s.wincentre = 0.05f;
  s.maxwidth = 1.0f;
  s.tsenslim = 100.0f;
  s.maxwin = 10;
  return s;
}

// Each table as the step before writes it: one deck line, two blank lines,
// the column header, then two rows (records 5 and 6) of the table's width.
struct Table {
  const char* name;
  std::string column_header;
  std::string row;
  std::function<void(const tesk::LineFindFiles&, rec::Console&)> read;
};

TEST(CutLineTables, LastRowCutShortIsAFileError) {
  const tesk::TargetSamples target;
  const tesk::WindowSamples window;
  const Table tables[] = {
      {"table72", "frequency  e-prime  intensity", " 2000.1000   500.0  .20000E+00",
       [&](const auto& f, auto& c) { tesk::rate_target_lines(settings(), f, target, c); }},
      {"table73", " cm-1      e-prime rel-eprim intensity  interference intens-inter",
       " 2000.1000   500.0     1.5  .20000E+00  .15000E+00  .10000E+00",
       [](const auto& f, auto& c) { tesk::rank_lines(settings(), f, c); }},
      {"table74", "name     cm-1     window     e-prime   intensity   interfer intens-inter",
       "co       2000.10    .30         1.5  .20000E+00  .15000E+00  .10000E+00",
       [&](const auto& f, auto& c) { tesk::optimise_windows(settings(), f, window, c); }},
      {"table75", "name     cm-1     window     e-prime   intensity   interfer intens-inter",
       pad("co       2000.10    .30         1.5  .20000E+00  .15000E+00  .10000E+00", 103),
       [](const auto& f, auto& c) { tesk::combine_windows(settings(), f, c); }},
  };
  for (const Table& t : tables) {
    SCOPED_TRACE(t.name);
    WorkDir dir;
    const std::string header = testing_support::crlf_lines(table_header(1, "1", true, t.column_header)) + t.row;
    const std::string path = (dir.path() / t.name).string();
    std::ostringstream out;
    rec::Console console(out);

    const std::size_t half = t.row.size() / 2;
    dir.write(t.name, header + "\r\n" + t.row.substr(0, half));
    try {
      t.read(files_in(dir), console);
      ADD_FAILURE() << "no RecordError";
    } catch (const rec::RecordError& e) {
      EXPECT_EQ(std::string(e.what()), " Record 6 of " + path + " is cut short: it ends after " +
                                           std::to_string(half) + " of its " + std::to_string(t.row.size()) +
                                           " characters without a line end");
    }

    dir.write(t.name, header + "\r\n" + t.row);
    EXPECT_NO_THROW(t.read(files_in(dir), console));
  }
}

TEST(CutLineTables, MicrowindowsOfTheInformationStep) {
  struct Case {
    std::string last_row;
    std::string report;  // `|` stands for the path; empty: read
  } cases[] = {
      {"co       2001.50   -.40\r\n", " Window width below 0 in record 3 of |: found \"co       2001.50   -.40\""},
      {"co       2001.50    .3",
       " Record 3 of | is cut short: it ends after 22 of its 23 characters without a line end"},
      {"co       2001.50    .30", ""},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.last_row);
    WorkDir dir;
    dir.write("table76", "name     cm-1     window \r\nco       2000.50    .30\r\n" + c.last_row);
    const std::string path = (dir.path() / "table76").string();
    if (c.report.empty()) {
      const auto windows = tesk::read_microwindows(path);
      ASSERT_EQ(windows.size(), 2u);
      EXPECT_EQ(windows[1].centre, 2001.5f);
      EXPECT_EQ(windows[1].width, 0.3f);
      continue;
    }
    c.report.replace(c.report.find('|'), 1, path);
    try {
      tesk::read_microwindows(path);
      ADD_FAILURE() << "no RecordError";
    } catch (const rec::RecordError& e) {
      EXPECT_EQ(std::string(e.what()), c.report);
    }
  }
}

}  // namespace
