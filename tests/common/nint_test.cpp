// Nearest-integer conversion: halves away from zero in the argument's own
// precision, and values beyond int (a count read from a file) saturated
// instead of overflowing.
#include "common/nint.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

TEST(Nint, RoundsHalvesAwayFromZeroInTheArgumentsPrecision) {
  struct Case {
    double x;
    int expected;
  };
  for (const Case c : {Case{0.0, 0}, Case{0.5, 1}, Case{-0.5, -1}, Case{2.4999, 2}, Case{-2.5, -3},
                       Case{2147483647.0, kMax}, Case{2147483647.4, kMax}, Case{-2147483648.0, kMin},
                       Case{-2147483648.4, kMin}}) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(rec::nint(c.x), c.expected);
  }
  // The float sum 0.49999997f + 0.5f rounds up to 1; the double sum does not.
  EXPECT_EQ(rec::nint(0.49999997f), 1);
  EXPECT_EQ(rec::nint(0.49999997), 0);
  EXPECT_EQ(rec::nint(2147483520.0f), 2147483520);  // the largest float below 2^31
  EXPECT_EQ(rec::nint(-2147483648.0f), kMin);
}

TEST(Nint, SaturatesBeyondIntAndSendsNanToTheLowestInt) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {2147483647.5, 1.0e12, 1.0e300, inf}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(rec::nint(x), kMax);
    EXPECT_EQ(rec::nint(static_cast<float>(x)), kMax);
    EXPECT_EQ(rec::nint(-x - 1.0), kMin);
    EXPECT_EQ(rec::nint(static_cast<float>(-x - 1.0)), kMin);
  }
  EXPECT_EQ(rec::nint(2147483648.0f), kMax);
  EXPECT_EQ(rec::nint(std::nan("")), kMin);
  EXPECT_EQ(rec::nint(std::nanf("")), kMin);
  static_assert(rec::nint(1.0e12) == kMax && rec::nint(-2.5f) == -3);
}

}  // namespace
