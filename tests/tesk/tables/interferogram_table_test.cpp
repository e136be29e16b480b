#include "tesk/tables/interferogram_table.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "common/stop.hpp"
#include "tesk/engine/interferogram.hpp"
#include "program_run.hpp"

namespace {

constexpr const char* kHeader = "3 5\nRad. in transmission\n  cm-1      target     all-target   all-gases  diff-10%\n";

struct Result {
  std::string stop;
  std::vector<std::string> table90;
  std::string console;
};

// Writes a table71 whose all-gases column is all(j) and difference column
// diff(j), j = 1..n, and makes its interferogram table.
template <class All, class Diff>
Result interferogram(int n, All all, Diff diff) {
  testing_support::WorkDir dir;
  std::string t71 = kHeader;
  char buf[160];
  for (int j = 1; j <= n; ++j) {
    std::snprintf(buf, sizeof buf, "%10.4f 0.5 0.5 %.9e %.9e\n", 2000.0 + 0.01 * j, all(j), diff(j));
    t71 += buf;
  }
  dir.write("table71", t71);
  std::ostringstream out;
  rec::Console console(out);
  Result r;
  try {
    tesk::interferogram_table((dir.path() / "table71").string(), (dir.path() / "table90").string(), console);
    r.table90 = testing_support::split_lines(dir.read("table90"));
  } catch (const rec::Stop& s) {
    r.stop = s.what();
  }
  r.console = out.str();
  return r;
}

std::vector<double> numbers(const std::string& line) {
  std::istringstream in(line.substr(5));
  std::vector<double> v;
  double x;
  while (in >> x) v.push_back(x);
  return v;
}

TEST(Interferogram, HeadersOnlyGiveTwoZeroCoefficients) {
  Result r = interferogram(0, [](int) { return 0.0; }, [](int) { return 0.0; });
  ASSERT_EQ(r.stop, "");
  EXPECT_EQ(r.table90, (std::vector<std::string>{" 2 3 ", " ind inter  diff ", "    1   .0000E+00   .0000E+00",
                                                 "    2   .0000E+00   .0000E+00"}));
  EXPECT_EQ(r.console, "Table90 (interferogram as table)");
}

TEST(Interferogram, CosineSpectrumGivesOnePeak) {
  // all(j) = cos(pi (k0 - 1)(j - 1/2) / N) transforms to N/2 at coefficient
  // k0 and 0 elsewhere; the difference, a quarter of it, to N/8. Tolerance:
  // a single-precision transform of 64 values of order 1.
  const int n = 64, k0 = 9;
  auto wave = [&](int j) { return std::cos(std::numbers::pi * (k0 - 1) * (j - 0.5) / n); };
  Result r = interferogram(n, wave, [&](int j) { return 0.25 * wave(j); });
  ASSERT_EQ(r.stop, "");
  ASSERT_EQ(r.table90.size(), static_cast<std::size_t>(n) + 2);
  for (int i = 1; i <= n; ++i) {
    const std::string& line = r.table90[static_cast<std::size_t>(i) + 1];
    EXPECT_EQ(std::stoi(line.substr(0, 5)), i);
    const auto v = numbers(line);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_NEAR(v[0], i == k0 ? n / 2.0 : 0.0, 1e-3) << i;
    EXPECT_NEAR(v[1], i == k0 ? n / 8.0 : 0.0, 1e-3) << i;
  }
}

TEST(Interferogram, LongTables) {
  // 65537 rows need 131072 coefficients: indices above 99999 overflow their
  // five columns. One row more than 131072 needs 262144: the table's rows
  // size the transform, up to the longest one.
  Result r = interferogram(65537, [](int j) { return j == 1 ? 1.0 : 0.0; }, [](int) { return 0.0; });
  ASSERT_EQ(r.stop, "");
  ASSERT_EQ(r.table90.size(), 131072u + 2);
  EXPECT_EQ(r.table90[99999 + 1].substr(0, 5), "99999");
  EXPECT_EQ(r.table90[100000 + 1].substr(0, 5), "*****");
  EXPECT_EQ(r.table90.back().substr(0, 5), "*****");

  Result big = interferogram(131073, [](int) { return 1.0; }, [](int) { return 0.0; });
  ASSERT_EQ(big.stop, "");
  EXPECT_EQ(big.table90.size(), 262144u + 2);

  EXPECT_EQ(tesk::interferogram_length(tesk::kMaxInterferogramRows), tesk::kMaxInterferogramRows);
  EXPECT_THROW(tesk::interferogram_length(tesk::kMaxInterferogramRows + 1), rec::Stop);
}

}  // namespace
