// Rows of a table81: each window becomes the one that the table76 row of its
// label, centre and width makes, to the last bit.
#include "kormal/window_table.hpp"

#include <gtest/gtest.h>

namespace {

// The fields after the edges, which are not read.
const std::string kTail = "     61   .950  2.100      .512      .101      .200      .004      .400";

TEST(Table81Row, MakesTheWindowOfTheTable76RowWithItsCentreAndWidth) {
  struct Case {
    std::string edges;     // columns 1-33 of the table81 row
    const char* table76;   // a table76 row of the same centre and width
    const char* row;       // the row that microwin and kormal.log show
  } cases[] = {
      {"   1 co        2146.930  2147.230", "co       2147.08   0.30", "co       2147.08    .30"},
      {"   2 2co2      2300.000  2300.400", "2co2     2300.20   0.40", "2co2     2300.20    .40"},
      {"   3 ch4       2947.910  2948.310", "ch4      2948.11   0.40", "ch4      2948.11    .40"},
      // A centre of four decimals and a width of three: the row shows them to 0.01.
      {"   4 co        2154.455  2154.750", "co      2154.6025 0.295", "co       2154.60    .30"},
      {"   5 co        2154.450  2154.450", "co       2154.45   0.00", "co       2154.45    .00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edges);
    const kormal::WindowRecord a = kormal::decode_table81_window(c.edges + kTail, {"table81", 8});
    const kormal::WindowRecord b = kormal::decode_window(c.table76, {"table76", 2});
    EXPECT_EQ(a.row, c.row);
    EXPECT_EQ(a.isotope, b.isotope);
    EXPECT_EQ(a.gasname, b.gasname);
    EXPECT_EQ(a.centre, b.centre);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.fmin, b.fmin);
    EXPECT_EQ(a.fmax, b.fmax);
    EXPECT_EQ(a.lo, b.lo);
    EXPECT_EQ(a.n, b.n);
  }
}

TEST(Table81Row, RefusesAnEdgeBeyondWhatItsFieldHolds) {
  try {
    kormal::decode_table81_window("   1 co           1e300  2147.230" + kTail, {"table81", 8});
    FAIL() << "no report";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()), " Window edge beyond 99999.999 cm-1 in record 8 of table81: found \"   1 co        "
                                     "   1e300  2147.230" + kTail + "\"");
  }
}

}  // namespace
