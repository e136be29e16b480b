// The microwindows of table76 as the information step reads them: a width
// below 0 and a last row cut short are refused with the file and the record.
#include "tesk/tables/information_table.hpp"

#include <gtest/gtest.h>

#include <string>

#include "program_run.hpp"

namespace {

constexpr const char* kTitleAndRow = "name     cm-1     window \r\nco       2000.50    .30\r\n";

TEST(MicroWindows, WidthBelowZeroOrCutRowIsAFileError) {
  struct Case {
    std::string last_row;
    std::string report;  // before and after the path of the table; empty: read
  } cases[] = {
      {"co       2001.50   -.40\r\n", " Window width below 0 in record 3 of |: found \"co       2001.50   -.40\""},
      {"co       2001.50    .3",
       " Record 3 of | is cut short: it ends after 22 of its 23 characters without a line end"},
      {"co       2001.50    .30", ""},  // whole, only its line end is missing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last_row);
    testing_support::WorkDir dir;
    dir.write("table76", kTitleAndRow + c.last_row);
    const std::string path = (dir.path() / "table76").string();
    if (c.report.empty()) {
      const auto windows = tesk::read_microwindows(path);
      ASSERT_EQ(windows.size(), 2u);
      EXPECT_EQ(windows[1].label, "co      ");
      EXPECT_EQ(windows[1].centre, 2001.5f);
      EXPECT_EQ(windows[1].width, 0.3f);
      continue;
    }
    try {
      tesk::read_microwindows(path);
      ADD_FAILURE() << "no RecordError";
    } catch (const rec::RecordError& e) {
      std::string expected = c.report;
      expected.replace(expected.find('|'), 1, path);
      EXPECT_EQ(std::string(e.what()), expected);
    }
  }
}

}  // namespace
