// The whole chain from table71 to table76 when the range holds no line of the
// target: every table is written with its header only.
#include "tesk/linefind/line_finding.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "linefind_fixture.hpp"

namespace {

using namespace linefind_test;
using testing_support::crlf_lines;
using testing_support::WorkDir;

TEST(LineFinding, NoTargetLineGivesHeadersOnly) {
  WorkDir dir;
  dir.write("output", echo_text("2 header lines"));
  dir.write("table71", table71_text({{2000.0, 0.9, 0.8, 0.01}, {2000.5, 0.9, 0.8, 0.02}}));
  const std::string lines = line_record(2, 1, 2000.1, 10.0) + line_record(2, 1, 2000.2, 20.0);
  dir.write("lines.hit", lines);
  tesk::LineFindSettings s;
  s.gasno = 5;
  s.gasname = "co     ";
  s.line_list = (dir.path() / "lines.hit").string();
  s.reclen = 101;
  s.nrec = 2;
  s.vlo = 1999.0f;
  s.vhi = 2001.0f;
  s.tfactor = 0.9f;
  s.interfw = 0.1f;
  s.tsens = 250.0f;
  s.winstart = 0.3f;
  s.wincentre = 0.1f;
  s.maxwidth = 1.0f;
  s.tsenslim = 10.0f;
  s.maxwin = 10;
  std::ostringstream out;
  rec::Console console(out);
  tesk::find_lines(s, files_in(dir), linefind_test::table71_readers(files_in(dir), s.tfactor), console);
  console.finish();

  const std::string first = "2 header lines";
  const std::string ranked = "name     cm-1     window     e-prime   intensity   interfer intens-inter";
  EXPECT_EQ(dir.read("table72"), crlf_lines(table_header(2, first, false, "frequency  e-prime  intensity")));
  EXPECT_EQ(dir.read("table73"),
            crlf_lines(table_header(2, first, true,
                                    " cm-1      e-prime rel-eprim intensity  interference intens-inter")));
  EXPECT_EQ(dir.read("table74"), crlf_lines(table_header(2, first, true, ranked)));
  EXPECT_EQ(dir.read("table75"), crlf_lines(table_header(2, first, true, pad(ranked, 200))));
  EXPECT_EQ(dir.read("table76"), "name     cm-1     window \r\n");
  EXPECT_EQ(out.str(),
            "Table72 (with target gas positions)\r\n"
            "Table73 (with infos on spectral lines)\r\n"
            "Table74 (lines sorted, best first)\r\n"
            "Table75 (optimum window size determined)\r\n"
            "Table76 (overlapping m-windows combined) \r\n");
}

}  // namespace
