#include "common/plot.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "program_run.hpp"

namespace {

using rec::PlotVariant;
using testing_support::WorkDir;

// A grid line with marks at the given 1-based positions.
std::string marks(int width, std::initializer_list<int> positions, char mark) {
  std::string s(static_cast<std::size_t>(width), ' ');
  for (int p : positions) s[static_cast<std::size_t>(p - 1)] = mark;
  return s;
}

// Console text of a run of visible lines: CR LF before each but the first,
// and a final CR LF when the console is finished.
std::string console_text(const std::vector<std::string>& lines) {
  std::string s;
  for (std::size_t i = 0; i < lines.size(); ++i) s += (i == 0 ? "" : "\r\n") + lines[i];
  return s + "\r\n";
}

std::string plot(const std::string& content, int xcol, int ycol, PlotVariant v) {
  WorkDir dir;
  dir.write("spectrum", content);
  std::ostringstream out;
  rec::Console console(out);
  rec::plot_file(console, (dir.path() / "spectrum").string(), xcol, ycol, v);
  console.finish();
  return out.str();
}

const std::string kThreePoints = "header 1\nheader 2\nheader 3\n1 1\n2 4\n3 9\n";

TEST(PlotLineFinding, WholeConsoleText) {
  std::vector<std::string> lines;
  lines.push_back(std::string(38, '*'));
  for (int r = 26; r >= 1; --r) {
    // x 1, 2, 3 fall on positions 1, 36, 71; y 1, 4, 9 on rows 1, 10, 26.
    if (r == 26) lines.push_back(marks(71, {71}, 'O'));
    else if (r == 10) lines.push_back(marks(71, {36}, 'O'));
    else if (r == 1) lines.push_back(marks(71, {1}, 'O'));
    else lines.push_back(std::string(71, ' '));
  }
  lines.push_back(std::string(39, '*'));
  lines.push_back("xmin:  1.00E+00 xmax:  3.00E+00    ymin:  1.00E+00 ymax:  9.00E+00");
  EXPECT_EQ(plot(kThreePoints, 1, 2, PlotVariant::line_finding), console_text(lines));
}

TEST(PlotInterferingGas, WholeConsoleTextLosesTheEdgeColumns) {
  std::vector<std::string> lines(26, "");
  for (int r = 14; r >= 1; --r) {
    // Position 1 is the carriage-control character and 71 lies beyond the
    // 70-character buffer, so only the middle point (position 36) shows.
    if (r == 6) lines.push_back(marks(69, {35}, '.'));
    else lines.push_back(std::string(69, ' '));
  }
  lines.push_back("xmin:    1.000 xmax:    3.000    ymin:  1.000E+00 ymax:  9.000E+00");
  EXPECT_EQ(plot(kThreePoints, 1, 2, PlotVariant::interfering_gas), console_text(lines));
}

TEST(PlotLineFinding, PointsSpanRecordsAndCellsMerge) {
  // Three values per point, two per record: each point takes two records and
  // the rest of its second record is skipped.
  std::string content = "h\nh\nh\n1 0\n5 99\n1 0\n5 99\n2 0\n7 99\n";
  std::string text = plot(content, 1, 3, PlotVariant::line_finding);
  // Two identical points show as one mark; x 1 and 2 at positions 1 and 71,
  // y 5 and 7 at rows 1 and 26.
  EXPECT_NE(text.find("\r\n" + marks(71, {71}, 'O') + "\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n" + marks(71, {1}, 'O') + "\r\n"), std::string::npos);
  EXPECT_NE(text.find("ymin:  5.00E+00 ymax:  7.00E+00"), std::string::npos) << text;
}

TEST(PlotLineFinding, AllNegativeYKeepsTheInitialMaximum) {
  std::string text = plot("h\nh\nh\n1 -1\n2 -2\n", 1, 2, PlotVariant::line_finding);
  EXPECT_NE(text.find("ymin: -2.00E+00 ymax: -1.00E-27"), std::string::npos) << text;
}

TEST(PlotDegenerate, NoDataRecordShowsTheInitialExtremes) {
  std::string lf = plot("h\nh\nh\n", 1, 2, PlotVariant::line_finding);
  EXPECT_NE(lf.find("xmin:  1.00E+27 xmax: -1.00E-27    ymin:  1.00E+27 ymax: -1.00E-27"), std::string::npos) << lf;
  std::string ig = plot("h\nh\nh\n", 1, 4, PlotVariant::interfering_gas);
  EXPECT_NE(ig.find("xmin: ******** xmax:     .000"), std::string::npos) << ig;
}

TEST(PlotDegenerate, StopsOnEqualDataAndBadColumns) {
  struct Case {
    std::string content;
    int xcol, ycol;
    PlotVariant variant;
    std::string message;
  } cases[] = {
      {"h\nh\nh\n1 2\n", 1, 2, PlotVariant::line_finding, " No plot because all X- or Y-data are the same "},
      {"h\nh\nh\n1 2\n2 2\n", 1, 2, PlotVariant::interfering_gas, " No plot because all X- or Y-data are the same "},
      {kThreePoints, 1, 101, PlotVariant::line_finding, "Increase No. of columns for display program"},
      {kThreePoints, 1, 101, PlotVariant::interfering_gas, "Increase No. of columns."},
      {kThreePoints, 0, 2, PlotVariant::line_finding, "Increase No. of columns for display program"},
      {kThreePoints, 101, 2, PlotVariant::interfering_gas, "Increase No. of columns."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message + " " + std::to_string(c.xcol) + "," + std::to_string(c.ycol));
    try {
      plot(c.content, c.xcol, c.ycol, c.variant);
      ADD_FAILURE() << "no stop";
    } catch (const rec::Stop& s) {
      EXPECT_EQ(std::string(s.what()), c.message);
    }
  }
}

TEST(PlotDegenerate, MissingFileIsAFileLayerError) {
  std::ostringstream out;
  rec::Console console(out);
  EXPECT_THROW(rec::plot_file(console, "no-such-plot-file", 1, 2, PlotVariant::line_finding), rec::RecordError);
}

}  // namespace
