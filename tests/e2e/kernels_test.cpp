// Averaging kernels and interferograms of complete and sort runs on the real
// line list and atmosphere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

namespace fs = std::filesystem;

// Half a unit of the last of the two digits that an e9.2 field shows.
double half_unit(double printed) {
  return printed == 0.0 ? 0.0 : 0.05 * std::pow(10.0, std::floor(std::log10(std::fabs(printed))));
}

class KernelRealData : public testing::Test {
 protected:
  void SetUp() override {
    const std::string data = LF_SHARED_DATA;
    if (!fs::exists(data + "/lines_2000-2300.hit")) GTEST_SKIP() << "shared data not found in " << data;
    // Links keep the deck's paths short wherever the data lies.
    for (const char* f : {"lines_2000-2300.hit", "midlat.vmr", "midlat.mod"}) {
      fs::create_symlink(fs::absolute(data + "/" + f), dir_.path() / f);
    }
  }

  // CO from 2145 cm-1 at 0.01 cm-1 through the mid-latitude atmosphere.
  testing_support::ProgramResult run(const std::vector<std::pair<int, std::string>>& changes) {
    auto deck = e2e::spectral_deck();
    deck[1] = "lines_2000-2300.hit";
    deck[16] = "2145.";
    deck[27] = "0.01";
    for (const auto& [line, text] : changes) deck[static_cast<std::size_t>(line - 1)] = text;
    dir_.write("input-vorne", e2e::deck_text(deck));
    return dir_.run(LF_TESK_BIN);
  }

  testing_support::WorkDir dir_;
};

TEST_F(KernelRealData, KernelStudy) {
  // 999 grid steps, the most the kernels take; noise 0.001 of the normalised
  // spectrum and an a-priori uncertainty of 1e-7 in mixing ratio.
  auto res = run({{9, "a"}, {18, "2154.99"}, {33, "0.001"}, {34, "1e-7"}});
  ASSERT_EQ(res.status, 0) << res.console;
  const auto console = testing_support::split_lines(res.console);
  auto has = [&](const std::string& text) { return std::find(console.begin(), console.end(), text) != console.end(); };
  EXPECT_TRUE(has("AVK calculated using Optimal Estimation"));
  EXPECT_TRUE(has("Calculation of averaging kernel finished"));
  EXPECT_TRUE(has("Table77 (averaged weighting function)"));
  EXPECT_TRUE(has("Table78 (all averaging kernels)"));

  EXPECT_EQ(e2e::read_table(dir_.read("table77")).rows.size(), 80u);
  const auto t78 = e2e::read_table(dir_.read("table78"), 2);
  EXPECT_EQ(t78.header, (std::vector<std::string>{" 3  82", " Averaging kernels "}));
  ASSERT_EQ(t78.rows.size(), 81u);
  const auto& altitudes = t78.rows[0];
  ASSERT_EQ(altitudes.size(), 80u);
  EXPECT_EQ(altitudes.front(), 0.5);
  EXPECT_EQ(altitudes.back(), 79.5);
  double trace = 0.0;
  for (int k = 0; k < 80; ++k) {
    SCOPED_TRACE(k);
    const auto& row = t78.rows[static_cast<std::size_t>(k) + 1];
    ASSERT_EQ(row.size(), 82u);
    double sum = 0.0, rounding = half_unit(row[80]);
    for (int j = 0; j < 80; ++j) {
      sum += row[static_cast<std::size_t>(j)];
      rounding += half_unit(row[static_cast<std::size_t>(j)]);
    }
    EXPECT_NEAR(sum, row[80], rounding);
    EXPECT_NEAR(row[81], altitudes[static_cast<std::size_t>(k)], 0.5);  // two digits of altitude
    trace += row[static_cast<std::size_t>(k)];
  }
  // The degrees of freedom of the retrieval: some, but fewer than the segments.
  EXPECT_GT(trace, 0.5);
  EXPECT_LT(trace, 80.0);
}

TEST_F(KernelRealData, InterferogramOfACompleteAndASortRun) {
  auto res = run({{9, "i"}, {18, "2150."}});
  ASSERT_EQ(res.status, 0) << res.console;
  EXPECT_NE(res.console.find("Table71 (spectrum as table)\r\nTable90 (interferogram as table)\r\n"),
            std::string::npos);
  const std::string complete = dir_.read("table90");
  const auto t90 = e2e::read_table(complete, 2);
  EXPECT_EQ(t90.header, (std::vector<std::string>{" 2 3 ", " ind inter  diff "}));
  ASSERT_EQ(t90.rows.size(), 512u);  // 501 spectral points
  // The first coefficient is the sum of the all-gases transmission, taken
  // back from table71; scaling the target by 0.9 makes it larger.
  const auto t71 = e2e::read_table(dir_.read("table71"));
  ASSERT_EQ(t71.rows.size(), 501u);
  double total = 0.0;
  for (const auto& row : t71.rows) total += row[3];
  EXPECT_NEAR(t90.rows[0][1], total, 1e-3 * total);
  EXPECT_LT(t90.rows[0][2], 0.0);

  // A sort run makes the same table from the table71 that is left.
  auto sort = run({{5, "s"}, {9, "i"}, {18, "2150."}});
  ASSERT_EQ(sort.status, 0) << sort.console;
  EXPECT_EQ(dir_.read("table90"), complete);
}

TEST_F(KernelRealData, SortRunOfTheKernelStudyWritesHeadersOnly) {
  auto res = run({{5, "s"}, {9, "a"}});
  ASSERT_EQ(res.status, 0) << res.console;
  EXPECT_EQ(dir_.read("table78"), testing_support::crlf_lines({" 3   2", " Averaging kernels ", ""}));
  EXPECT_EQ(testing_support::split_lines(dir_.read("table77")).size(), 3u);
  EXPECT_FALSE(dir_.exists("table71"));
}

}  // namespace
