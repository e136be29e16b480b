// kormal on a table81, the recommended windows of a line-finding run: two CO
// windows of the example's band rate exactly as the table76 of the same
// labels, centres and widths does, and a broken table81 ends the run with a
// one-line report of the file layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deck_fixture.hpp"
#include "examples/generator/example_files.hpp"
#include "program_run.hpp"

namespace {

using testing_support::split_lines;
using testing_support::WorkDir;

const std::string kHeading =
    "rank name         lower     upper points   dofs  jdofs    total%    noise%   smooth%   interf%     temp%";

// Three deck lines, two blank ones and the heading; then the windows best
// first, whose edges are no binary fractions.
const std::vector<std::string> kTable81 = {
    "3          header lines",
    "CO microwindows",
    "2140. 2180.",
    " ",
    " ",
    kHeading,
    "   1 co        2150.660  2151.060     81  1.200  1.200      .848      .172      .238      .008      .795",
    "   2 co        2146.930  2147.230     61   .950  2.100      .512      .101      .200      .004      .400",
};

// The same windows as table76 rows, under the same heading.
const std::vector<std::string> kTable76 = {
    kHeading,
    "co       2150.86    .40",
    "co       2147.08    .30",
};

std::string lines_of(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

struct KormalRun {
  testing_support::ProgramResult result;
  std::string output, microwin, spectra, log;
};

// kormal on the example data, its deck naming the window table `name`.
KormalRun run_kormal(const std::string& name, const std::string& table) {
  WorkDir dir;
  example::write_example_files(dir.path().string());
  dir.write(name, table);
  dir.write("input-kormal", e2e::deck_text({"lines.hit", name, " ", " ", "hitran 101", "0", "m", "0.0", "y", "6",
                                            "1.", "0.5", "d", "n", "n"}));
  KormalRun r{dir.run(LF_KORMAL_BIN), "", "", "", ""};
  for (auto [file, text] : {std::pair{"output.dat", &r.output}, std::pair{"microwin", &r.microwin},
                            std::pair{"spectra.out", &r.spectra}, std::pair{"kormal.log", &r.log}}) {
    if (dir.exists(file)) *text = dir.read(file);
  }
  return r;
}

TEST(KormalTable81, RatesItsWindowsAsTheTable76OfTheirCentresAndWidths) {
  const KormalRun t76 = run_kormal("table76", lines_of(kTable76));
  const KormalRun t81 = run_kormal("table81", lines_of(kTable81));
  ASSERT_EQ(t76.result.status, 0) << t76.result.console;
  ASSERT_EQ(t81.result.status, 0) << t81.result.console;
  EXPECT_EQ(t81.result.console, t76.result.console);
  EXPECT_EQ(t81.output, t76.output);
  EXPECT_EQ(t81.microwin, t76.microwin);
  EXPECT_EQ(t81.spectra, t76.spectra);
  EXPECT_EQ(split_lines(t81.microwin).size(), 3u);  // the heading and both windows

  // The log differs in its key and the file's facts alone.
  const auto log76 = split_lines(t76.log);
  const auto log81 = split_lines(t81.log);
  ASSERT_EQ(log76.size(), 4u);
  ASSERT_EQ(log81.size(), 4u);
  EXPECT_EQ(log81[0], " table81 table81");
  EXPECT_EQ(log81[1], " bytes 371 crc32 cfd34aff windows 2");  // zlib's CRC-32 of those 371 bytes
  EXPECT_EQ(log76[0], " table76 table76");
  EXPECT_EQ(log81[2], log76[2]);
  EXPECT_EQ(log81[3], log76[3]);
  EXPECT_EQ(log81[2], " window    1 co       2150.86    .40 rated");
}

TEST(KormalTable81, ABrokenTableIsRefusedOnOneLine) {
  auto with = [](std::size_t index, const std::string& line) {
    std::vector<std::string> lines = kTable81;
    lines[index] = line;
    return lines_of(lines);
  };
  const std::string whole = lines_of(kTable81);
  const std::string& row2 = kTable81[7];
  struct Case {
    const char* name;
    std::string table;
    std::string report;
  } cases[] = {
      {"heading", with(5, kHeading.substr(0, 100)),
       " Window table table81 is neither a table76 nor a table81: record 6 is not the table81 heading \"" +
           kHeading + "\": found \"" + kHeading.substr(0, 100) + "\""},
      {"header count", with(0, "50         header lines"),
       " Window table table81 is neither a table76 nor a table81: record 1 begins with the number 50, where a "
       "table81 has its header count, 1 to 46, and a table76 a title that is no number"},
      {"reversed edges", with(7, row2.substr(0, 14) + row2.substr(24, 10) + row2.substr(14, 10) + row2.substr(34)),
       " Window edges reversed in record 8 of table81: found \"   2 co        2147.230  2146.930     61   .950  "
       "2.100      .512      .101      .200      .004      .400\""},
      {"edge nan", with(7, row2.substr(0, 14) + "      nan" + row2.substr(23)),
       " Unreadable real number in record 8 of table81, columns 15-23: found \"      nan\""},
      {"short row", with(7, row2.substr(0, 54)),
       " Row of 54 characters in record 8 of table81, where a table81 row has 104: found \"" + row2.substr(0, 54) +
           "\""},
      {"cut row", whole.substr(0, whole.size() - 53),
       " Record 8 of table81 is cut short: it ends after 52 of its 104 characters without a line end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const KormalRun r = run_kormal("table81", c.table);
    EXPECT_EQ(r.result.status, 2);
    const auto lines = split_lines(r.result.console);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.report);
    EXPECT_TRUE(r.log.empty() && r.microwin.empty());  // a run that stops leaves no result
  }
}

}  // namespace
