// table75 and table76 from hand-made table71, table74 and table75: the window
// edges of transmission and radiance runs, and the merging of windows.
#include <gtest/gtest.h>

#include <sstream>

#include "linefind_fixture.hpp"
#include "tesk/linefind/window_merging.hpp"
#include "tesk/linefind/window_optimisation.hpp"

namespace {

using namespace linefind_test;
using testing_support::crlf_lines;
using testing_support::WorkDir;

const std::string kTable74Header = "name     cm-1     window     e-prime   intensity   interfer intens-inter";

// A table74 row of a line at `pos` (f7.2 text); its window column holds W.
std::string row74(const std::string& pos) {
  return "co       " + pos + "   1.00         -.4  .38520E+00  .84001E-03  .38436E+00";
}

// The same row in table75, window centre and width in columns 10 to 23.
std::string row75(const std::string& centre, const std::string& width) {
  return pad("co       " + centre + " " + width + "         -.4  .38520E+00  .84001E-03  .38436E+00", 103);
}

std::string optimise(const WorkDir& dir, char transrad, bool hot_background = false) {
  tesk::LineFindSettings s;
  s.transrad = static_cast<tesk::Quantity>(transrad);  // the enumerators carry the deck letters
  s.hot_background = hot_background;
  s.winstart = 1.0f;     // W/2 = 0.5
  s.wincentre = 0.125f;  // D, exact in binary like every sample below
  std::ostringstream out;
  rec::Console console(out);
  const auto files = files_in(dir);
  auto samples = std::make_unique<tesk::WindowSamples>();
  tesk::read_window_samples(files.table71, *samples);
  tesk::optimise_windows(s, files, *samples, console);
  console.finish();
  EXPECT_EQ(out.str(), "Table75 (optimum window size determined)\r\n");
  return dir.read("table75");
}

// Lines at 2000 (both parts with samples and ties), 2003 (no sample on the
// left), 2005 (all values 0) and 2007 (the last sample of table71 on the
// right, a value of 2E24 on the left that radiance runs do not count).
class OptimumWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("table71", table71_text({
                             {1999.25, 0, 0.99, 0},
                             {1999.5, 0, 0.5, 0},
                             {1999.625, 0, 0.8, 0},
                             {1999.75, 0, 0.8, 0},
                             {1999.875, 0, 0.7, 0},
                             {2000.0, 0, 0.95, 0},
                             {2000.125, 0, 0.6, 0},
                             {2000.25, 0, 0.9, 0},
                             {2000.375, 0, 0.9, 0},
                             {2000.5, 0, 0.85, 0},
                             {2000.625, 0, 0.99, 0},
                             {2002.9, 0, 0.1, 0},
                             {2003.25, 0, 0.7, 0},
                             {2004.75, 0, 0.0, 0},
                             {2005.25, 0, 0.0, 0},
                             {2006.75, 0, 2e24, 0},
                             {2007.25, 0, 0.5, 0},
                         }));
    auto t74 = table_header(2, "2", true, kTable74Header);
    for (const char* pos : {"2000.00", "2003.00", "2005.00", "2007.00"}) t74.push_back(row74(pos));
    dir.write("table74", crlf_lines(t74));
  }
  std::vector<std::string> header() const {
    auto h = table_header(2, "2", true, kTable74Header);
    h.back() = pad(h.back(), 200);
    return h;
  }
  WorkDir dir;
};

TEST_F(OptimumWindow, TransmissionMostTransparentFirstSample) {
  auto expected = header();
  expected.insert(expected.end(), {
                                      row75("1999.94", "   .63"),  // 1999.625 (tie with 1999.75) to 2000.25
                                      row75("2002.88", "   .75"),  // 2002.5 (no sample) to 2003.25
                                      row75("2005.00", "  1.00"),  // values 0 do not count
                                      row75("2007.00", "   .50"),  // 2006.75 to 2007.25
                                  });
  EXPECT_EQ(optimise(dir, 'a'), crlf_lines(expected));
  EXPECT_EQ(expected.back().size(), 103u);
}

TEST_F(OptimumWindow, RadianceSmallestValue) {
  auto expected = header();
  expected.insert(expected.end(), {
                                      row75("1999.81", "   .63"),  // 1999.5 to 2000.125
                                      row75("2002.88", "   .75"),
                                      row75("2005.00", "   .50"),  // the first of the equal zeros
                                      row75("2006.88", "   .75"),  // 2006.5 (2E24 not counted) to 2007.25
                                  });
  EXPECT_EQ(optimise(dir, 'r'), crlf_lines(expected));
}

// In front of a background hotter than the air the lines absorb: the
// largest radiance is the clearest, and 2E24 still does not count.
TEST_F(OptimumWindow, RadianceOfAHotBackgroundLargestValue) {
  auto expected = header();
  expected.insert(expected.end(), {
                                      row75("1999.94", "   .63"),  // 1999.625 (tie with 1999.75) to 2000.25
                                      row75("2002.88", "   .75"),
                                      row75("2005.00", "  1.00"),  // values 0 do not count
                                      row75("2006.88", "   .75"),  // 2006.5 (2E24 not counted) to 2007.25
                                  });
  EXPECT_EQ(optimise(dir, 'r', true), crlf_lines(expected));
}

struct Window {
  const char* centre;  // f7.2
  const char* width;   // f6.2
  const char* dependence;  // f7.1
};

// Runs combine_windows on windows in ranking order and returns table76; the
// console holds `said` (when given) before the table's line.
std::string combine(const std::vector<Window>& windows, float maxwidth, float tsenslim = 100.0f,
                    int maxwin = 10, const std::string& said = "") {
  WorkDir dir;
  auto t75 = table_header(1, "1", true, pad(kTable74Header, 200));
  for (const Window& w : windows) {
    t75.push_back(pad(std::string("co       ") + w.centre + " " + w.width + "     " + w.dependence, 103));
  }
  dir.write("table75", crlf_lines(t75));
  tesk::LineFindSettings s;
  s.gasname = "co     ";
  s.isotope = 2;
  s.maxwidth = maxwidth;
  s.tsenslim = tsenslim;
  s.maxwin = maxwin;
  std::ostringstream out;
  rec::Console console(out);
  tesk::combine_windows(s, files_in(dir), console);
  console.finish();
  EXPECT_EQ(out.str(), (said.empty() ? "" : said + "\r\n") + "Table76 (overlapping m-windows combined) \r\n");
  return dir.read("table76");
}

std::string table76(const std::vector<std::string>& rows) {
  std::vector<std::string> t{"name     cm-1     window "};
  for (const auto& r : rows) t.push_back("2co      " + r);
  return crlf_lines(t);
}

TEST(WindowMerging, MergeRules) {
  struct Case {
    const char* name;
    std::vector<Window> windows;
    float maxwidth;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"apart", {{"2000.00", "   .40", "    1.0"}, {"2001.00", "   .40", "    1.0"}}, 1.0f,
       {"2000.00    .40", "2001.00    .40"}},
      {"overlap within Wmax",
       {{"2000.00", "   .60", "    1.0"}, {"2000.50", "   .60", "    1.0"}},
       1.2f,
       {"2000.25   1.10"}},
      {"overlap beyond Wmax: the output pass drops the lower-ranked window",
       {{"2000.00", "   .60", "    1.0"}, {"2000.50", "   .60", "    1.0"}},
       1.0f,
       {"2000.00    .60"}},
      {"lower-ranked window on the left", {{"2000.50", "   .60", "    1.0"}, {"2000.00", "   .60", "    1.0"}}, 1.2f,
       {"2000.25   1.10"}},
      {"equal centres keep the wider width beyond Wmax",
       {{"2000.00", "   .40", "    1.0"}, {"2000.00", "  1.50", "    1.0"}},
       1.0f,
       {"2000.00   1.50"}},
      {"window inside with a higher centre cuts the upper edge back",
       {{"2000.00", "  1.00", "    1.0"}, {"2000.20", "   .20", "    1.0"}},
       2.0f,
       {"1999.90    .80"}},
      {"window containing the better one gives its span",
       {{"2000.00", "   .20", "    1.0"}, {"2000.10", "  1.00", "    1.0"}},
       2.0f,
       {"2000.10   1.00"}},
      {"containing window too wide: the span of the first merge stays, the other window too",
       {{"2000.00", "   .20", "    1.0"}, {"2000.10", "  1.00", "    1.0"}},
       0.8f,
       {"2000.25    .70"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(combine(c.windows, c.maxwidth), table76(c.rows));
  }
}

// Temperature dependence limit (with its sign) and the number of windows:
// rows that fail the limit do not count towards it.
TEST(WindowMerging, DependenceLimitAndWindowCount) {
  const std::vector<Window> windows = {
      {"2000.00", "   .40", "    5.0"}, {"2001.00", "   .40", "   -7.0"}, {"2002.00", "   .40", "     .5"},
      {"2003.00", "   .40", "    1.1"}, {"2004.00", "   .40", "    1.0"}, {"2005.00", "   .40", "     .0"},
  };
  struct Case {
    float tsenslim;
    int maxwin;
    std::vector<std::string> rows;
    std::string said = "";  // the console line before the table's
  };
  const Case cases[] = {
      {1.0f, 10, {"2001.00    .40", "2002.00    .40", "2004.00    .40", "2005.00    .40"}},
      {1.0f, 3, {"2001.00    .40", "2002.00    .40", "2004.00    .40"}},
      {1.0f, 0, {}},
      {-8.0f, 10, {}, "No microwindows: the temperature limit of -8.0 %/K (deck line 37) removed all 6 windows of "
                      "table75, whose smallest dependence is -7.0 %/K"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.tsenslim << " " << c.maxwin);
    EXPECT_EQ(combine(windows, 1.0f, c.tsenslim, c.maxwin, c.said), table76(c.rows));
  }
}

// The window list holds as many windows as table75 offers: 12793 windows on
// one centre merge into one.
TEST(WindowMerging, ManyWindows) {
  const std::vector<Window> windows(12793, Window{"2000.00", "   .40", "     .0"});
  EXPECT_EQ(combine(windows, 1.0f, 1.0f, 20000), table76({"2000.00    .40"}));
}

}  // namespace
