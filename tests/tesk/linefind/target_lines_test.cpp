// table72 and table73 from hand-made table71 samples, deck echo and line list.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <memory>
#include <sstream>

#include "linefind_fixture.hpp"
#include "tesk/linefind/line_rating.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/table_header.hpp"
#include "tesk/linefind/target_lines.hpp"

namespace {

using namespace linefind_test;
using testing_support::crlf_lines;
using testing_support::WorkDir;

const std::string kTable72Header = "frequency  e-prime  intensity";
const std::string kTable73Header = " cm-1      e-prime rel-eprim intensity  interference intens-inter";

tesk::LineFindSettings co_settings(const WorkDir& dir) {
  tesk::LineFindSettings s;
  s.gasno = 5;
  s.isotope = 0;
  s.gasname = "co     ";
  s.line_list = (dir.path() / "lines.hit").string();
  s.reclen = 101;
  s.dbtype = tesk::LineDatabase::hitran;
  s.vlo = 1999.0f;
  s.vhi = 2003.0f;
  s.tfactor = 0.5f;  // the sensitivity is twice the difference, exactly
  s.interfw = 0.5f;  // half width 0.25, exact in binary
  s.tsens = 250.0f;
  return s;
}

struct Steps {
  std::string table72, table73, console;
};

Steps run_steps(const WorkDir& dir, tesk::LineFindSettings s, const std::string& lines) {
  dir.write("lines.hit", lines);
  s.nrec = static_cast<int>(lines.size() / 101);
  std::ostringstream out;
  rec::Console console(out);
  auto samples = std::make_unique<tesk::TargetSamples>();
  const auto files = files_in(dir);
  tesk::read_target_samples(files.table71, s.tfactor, *samples);
  tesk::write_target_lines(s, files, *samples, console);
  tesk::rate_target_lines(s, files, *samples, console);
  console.finish();
  return {dir.read("table72"), dir.read("table73"), out.str()};
}

// Three CO isotopes and lines of other gases or outside the range around
// them. Samples show the reach of the two searches: 1999.9 and 2000.1 lie
// within 0.1 of the line at 2000 (as 32-bit values they are 0.0999756 cm-1 away),
// 1999.8999 and 2000.1001 do not; 1999.75 and 2000.25 lie exactly half the
// interference width away and are left out. The last sample, 2001.05, is
// never examined, and the line at 2002 has no sample near it. The temperature
// dependence of a CO line, about 100 (c2 E''/T^2 - 1/T) percent per K from the
// Boltzmann factor and the rotational partition function, is -0.17, 0.06 and
// 6.9 (over the 2 K step) for E'' = 100, 200 and 3000 cm-1 at 250 K.
const std::vector<Sample> kSamples = {
    {1999.75, 0.01, 0.9, 0.0},  {1999.7501, 0.3, 0.9, 0.0}, {1999.8999, 0.5, 0.9, 0.4},
    {1999.9, 0.6, 0.9, 0.1},    {2000.0, 0.7, 0.9, 0.05},   {2000.1, 0.4, 0.9, -0.15},
    {2000.1001, 0.8, 0.9, 0.45}, {2000.2499, 0.9, 0.9, 0.0}, {2000.25, 0.99, 0.9, 0.0},
    {2000.95, 0.5, 0.9, 0.2},   {2001.05, 0.0, 0.9, 0.5},
};
const std::string kLines = line_record(5, 1, 1998.5, 50.0) + line_record(5, 1, 2000.0, 100.0) +
                           line_record(2, 1, 2000.5, 10.0) + line_record(5, 2, 2001.0, 200.0) +
                           line_record(5, 3, 2002.0, 3000.0) + line_record(5, 1, 2003.5, 10.0);

TEST(TargetLines, WholeTablesWithOneHeaderLine) {
  WorkDir dir;
  dir.write("output", echo_text("1  header line"));
  dir.write("table71", table71_text(kSamples));
  const Steps r = run_steps(dir, co_settings(dir), kLines);

  auto h72 = table_header(1, "1  header line", false, kTable72Header);
  h72.insert(h72.end(), {
                            " 2000.0000   100.0  .30000E+00",
                            " 2001.0000   200.0  .40000E+00",
                            " 2002.0000  3000.0  .00000E+00",
                        });
  EXPECT_EQ(r.table72, crlf_lines(h72));

  auto h73 = table_header(1, "1  header line", true, kTable73Header);
  h73.insert(h73.end(), {
                            " 2000.0000   100.0     -.2  .30000E+00  .60000E+00 -.30000E+00",
                            " 2001.0000   200.0      .1  .40000E+00  .00000E+00  .40000E+00",
                            " 2002.0000  3000.0     6.9  .00000E+00 -.10000E+11  .10000E+11",
                        });
  EXPECT_EQ(r.table73, crlf_lines(h73));
  for (std::size_t i = 4; i < h73.size(); ++i) EXPECT_EQ(h73[i].size(), 62u);
  EXPECT_EQ(r.console, "Table72 (with target gas positions)\r\nTable73 (with infos on spectral lines)\r\n");
}

// Samples out of order are searched one by one, with the same result.
TEST(TargetLines, DecreasingWavenumbersGiveTheSameTables) {
  WorkDir sorted, shuffled;
  auto samples = kSamples;
  std::swap(samples[2], samples[6]);
  std::swap(samples[0], samples[9]);
  for (const WorkDir* dir : {&sorted, &shuffled}) dir->write("output", echo_text("2"));
  sorted.write("table71", table71_text(kSamples));
  shuffled.write("table71", table71_text(samples));
  const Steps a = run_steps(sorted, co_settings(sorted), kLines);
  const Steps b = run_steps(shuffled, co_settings(shuffled), kLines);
  EXPECT_EQ(a.table72, b.table72);
  EXPECT_EQ(a.table73, b.table73);
}

// Which lines count as the target's: isotope 0 takes every isotope, in list
// order; water of isotope 4 is the gas hdo (49) of its own.
TEST(TargetLines, TargetGasAndIsotope) {
  struct Case {
    const char* name;
    int gasno, isotope;
    std::vector<std::string> rows;
  };
  const std::string lines = line_record(1, 1, 2000.1, 10.0) + line_record(1, 4, 2000.2, 20.0) +
                            line_record(5, 2, 2000.3, 30.0) + line_record(5, 1, 2000.4, 40.0) +
                            line_record(5, 3, 2000.5, 50.0) + line_record(1, 4, 2000.6, 60.0);
  const Case cases[] = {
      {"co, every isotope", 5, 0, {" 2000.3000    30.0", " 2000.4000    40.0", " 2000.5000    50.0"}},
      {"co, isotope 3", 5, 3, {" 2000.5000    50.0"}},
      {"h2o", 1, 0, {" 2000.1000    10.0"}},
      {"hdo", 49, 0, {" 2000.2000    20.0", " 2000.6000    60.0"}},
      {"hdo isotope 1", 49, 1, {" 2000.2000    20.0", " 2000.6000    60.0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir dir;
    dir.write("output", echo_text("3"));
    dir.write("table71", table71_text({}));
    auto s = co_settings(dir);
    s.gasno = c.gasno;
    s.isotope = c.isotope;
    const Steps r = run_steps(dir, s, lines);
    auto expected = table_header(3, "3", false, kTable72Header);
    for (const auto& row : c.rows) expected.push_back(row + "  .00000E+00");
    EXPECT_EQ(r.table72, crlf_lines(expected));
  }
}

TEST(TargetLines, HeaderCountStop) {
  struct Case {
    const char* first_line;
    float tfactor;
    const char* message;  // empty: runs
  };
  const Case cases[] = {
      {"0", 0.9f, " Number of header lines must lie between 1 and 46"},
      {"47", 0.9f, " Number of header lines must lie between 1 and 46"},
      {"   ", 0.9f, " Number of header lines must lie between 1 and 46"},
      {"46", 0.9f, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first_line);
    WorkDir dir;
    dir.write("output", echo_text(c.first_line));
    dir.write("table71", table71_text({{2000.0, 0.5, 0.5, 0.1}}));
    auto s = co_settings(dir);
    s.tfactor = c.tfactor;
    if (*c.message == '\0') {
      const Steps r = run_steps(dir, s, line_record(5, 1, 2000.0, 1.0));
      EXPECT_EQ(testing_support::split_lines(r.table73).size(), 46u + 2u + 1u + 1u);
    } else {
      try {
        run_steps(dir, s, line_record(5, 1, 2000.0, 1.0));
        ADD_FAILURE() << "no stop";
      } catch (const rec::Stop& e) {
        EXPECT_STREQ(e.what(), c.message);
      }
    }
  }
}

// The 2 K step of a gas without a partition-function table measures the
// Boltzmann factor alone: (exp(c2 E'' (1/T - 1/(T+2))) - 1) / 2 per K, up to
// the stimulated-emission term (below 1e-4 of it at 2000 cm-1 and 250 K) and
// the single precision of the warmer value (1e-7 relative, i.e. 1e-5 %/K at
// the size of the difference).
TEST(TargetLines, TemperatureDependenceFollowsLowerStateEnergy) {
  const double c2 = 1.439;
  const double t = 250.0;
  for (double elow : {0.0, 100.0, 1000.0, 3000.0}) {
    SCOPED_TRACE(elow);
    const double expected = 100.0 * (std::exp(c2 * elow * (1.0 / t - 1.0 / (t + 2.0))) - 1.0) / 2.0;
    EXPECT_NEAR(tesk::temperature_dependence(34, 2000.0, elow, 250.0f), expected, 2e-3);
  }
}

}  // namespace
