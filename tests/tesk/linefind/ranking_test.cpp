// table74 from a hand-made table73: every ranking key, ties, rows without
// sensitivity, the gas label and the row limit.
#include "tesk/linefind/ranking.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "linefind_fixture.hpp"
#include "tesk/linefind/gas_label.hpp"

namespace {

using namespace linefind_test;
using testing_support::crlf_lines;
using testing_support::WorkDir;

const std::string kTable73Header = " cm-1      e-prime rel-eprim intensity  interference intens-inter";
const std::string kTable74Header = "name     cm-1     window     e-prime   intensity   interfer intens-inter";

std::string rjust(const std::string& s, std::size_t w) { return std::string(w - s.size(), ' ') + s; }

struct Rated {
  std::string pos4, pos2, elow, rel, sens, interf, diff;
};

// Ties in every key: rows 2 and 5 share E'', rows 2 and 3 |rel| and the
// sensitivity, 2 and 5 the interference, 1 and 2 the difference. Row 4 has
// no sensitivity and never appears.
const Rated kRows[] = {
    {"2000.1000", "2000.10", "500.0", "1.5", ".20000E+00", ".15000E+00", ".10000E+00"},
    {"2000.2000", "2000.20", "100.0", "-.5", ".30000E+00", ".20000E+00", ".10000E+00"},
    {"2000.3000", "2000.30", "500.0", ".5", ".30000E+00", ".10000E+00", ".20000E+00"},
    {"2000.4000", "2000.40", "300.0", "-1.5", ".00000E+00", ".50000E+00", "-.50000E+00"},
    {"2000.5000", "2000.50", "100.0", "-1.5", ".10000E+00", ".20000E+00", "-.10000E+00"},
};

std::string row73(const Rated& r) {
  return " " + r.pos4 + " " + rjust(r.elow, 7) + " " + rjust(r.rel, 7) + " " + rjust(r.sens, 11) + " " +
         rjust(r.interf, 11) + " " + rjust(r.diff, 11);
}

std::string row74(const std::string& label, const Rated& r) {
  return label + " " + r.pos2 + " " + "   .30" + "     " + rjust(r.rel, 7) + " " + rjust(r.sens, 11) + " " +
         rjust(r.interf, 11) + " " + rjust(r.diff, 11);
}

tesk::LineFindSettings settings(char sortkey, int isotope = 0) {
  tesk::LineFindSettings s;
  s.gasname = "co     ";
  s.isotope = isotope;
  s.sortkey = static_cast<tesk::SortKey>(sortkey);  // the enumerators carry the deck letters
  s.winstart = 0.3f;
  return s;
}

std::string rank(const WorkDir& dir, const tesk::LineFindSettings& s) {
  std::ostringstream out;
  rec::Console console(out);
  tesk::rank_lines(s, files_in(dir), console);
  console.finish();
  EXPECT_EQ(out.str(), "Table74 (lines sorted, best first)\r\n");
  return dir.read("table74");
}

TEST(Ranking, EveryKeyWithTiesLaterRowFirst) {
  struct Case {
    char sortkey;
    std::vector<int> rows;  // table73 rows, best first
  };
  const Case cases[] = {
      {'t', {3, 2, 1, 5}},  // largest sensitivity
      {'e', {5, 2, 3, 1}},  // lowest E''
      {'d', {3, 2, 5, 1}},  // smallest |temperature dependence|
      {'i', {5, 2, 1, 3}},  // largest interference
      {'r', {3, 2, 1, 5}},  // largest sensitivity minus interference
  };
  WorkDir dir;
  std::vector<std::string> in = table_header(2, "2  header lines", true, kTable73Header);
  for (const Rated& r : kRows) {
    in.push_back(row73(r));
    ASSERT_EQ(in.back().size(), 62u);
  }
  dir.write("table73", crlf_lines(in));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sortkey);
    auto expected = table_header(2, "2  header lines", true, kTable74Header);
    for (int n : c.rows) expected.push_back(row74("co      ", kRows[n - 1]));
    EXPECT_EQ(rank(dir, settings(c.sortkey)), crlf_lines(expected));
    EXPECT_EQ(expected.back().size(), 71u);
  }
}

TEST(Ranking, GasLabel) {
  EXPECT_EQ(tesk::gas_label("co     ", 0), "co      ");
  EXPECT_EQ(tesk::gas_label("co     ", 2), "2co     ");
  EXPECT_EQ(tesk::gas_label("ccl2f2 ", 1), "1ccl2f2 ");
  EXPECT_EQ(tesk::gas_label("co     ", 11), "*co     ");
}

// No row, and as many rows as CH4 has lines over 2900-3070 cm-1: the rows
// have no limit of their own.
TEST(Ranking, NoRowsAndManyRows) {
  for (const int rows : {0, 12793}) {
    SCOPED_TRACE(rows);
    WorkDir dir;
    std::vector<std::string> in = table_header(1, "1", true, kTable73Header);
    for (int n = 0; n < rows; ++n) in.push_back(row73(kRows[0]));
    dir.write("table73", crlf_lines(in));
    const auto lines = testing_support::split_lines(rank(dir, settings('t', 1)));
    ASSERT_EQ(lines.size(), 4u + static_cast<std::size_t>(rows));
    if (rows > 0) {
      EXPECT_EQ(lines.back(), row74("1co     ", kRows[0]));
    }
  }
}

}  // namespace
