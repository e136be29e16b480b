// Stage 2: the decimal digits a real value is edited from, the exact binary
// value rounded half up to 7 (32-bit) or 16 (64-bit) significant digits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/digits.hpp"

namespace {

std::string text_of(const rec::Digits& d) { return std::string(d.digit, static_cast<std::size_t>(d.count)); }

struct FloatCase {
  float value;
  const char* digits;
  int exponent;
};

TEST(DecimalDigits, FloatsHaveSevenDigits) {
  const FloatCase cases[] = {
      {12.345678f, "1234568", 2},
      {0.1235f, "1235000", 0},         // the float nearest 0.1235 lies just above it
      {0.5f, "5000000", 0},
      {1.0f, "1000000", 1},
      {-2.5e-3f, "2500000", -2},
      {16777215.0f, "1677722", 8},     // exact tie, odd: to_chars and half up agree
      {1048576.5f, "1048577", 7},      // exact tie, even: half up goes above
      {0.00048828125f, "4882813", -3},  // 2^-11, an exact tie at the 8th digit
      {std::numeric_limits<float>::denorm_min(), "1401298", -44},
      {std::numeric_limits<float>::max(), "3402823", 39},
      {9999999.5f, "1000000", 8},       // tie that carries into a new leading digit
  };
  for (const FloatCase& c : cases) {
    SCOPED_TRACE(c.value);
    rec::Digits d = rec::decimal_digits(c.value);
    EXPECT_EQ(d.count, 7);
    EXPECT_EQ(text_of(d), c.digits);
    EXPECT_EQ(d.exponent, c.exponent);
    EXPECT_EQ(d.negative, c.value < 0);
    EXPECT_TRUE(d.finite);
    EXPECT_FALSE(d.zero);
  }
}

struct DoubleCase {
  double value;
  const char* digits;
  int exponent;
};

TEST(DecimalDigits, DoublesHaveSixteenDigits) {
  const DoubleCase cases[] = {
      {1.0 / 3.0, "3333333333333333", 0},
      {2.0 / 3.0, "6666666666666666", 0},  // exactly 0.66666666666666662965...
      {0.1, "1000000000000000", 0},
      {123456789.0, "1234567890000000", 9},
      {1000000000000000.5, "1000000000000001", 16},  // exact tie, even: half up
      {1000000000000001.5, "1000000000000002", 16},  // exact tie, odd
      {1.0e-101, "1000000000000000", -100},
      {std::numeric_limits<double>::denorm_min(), "4940656458412465", -323},
      {std::numeric_limits<double>::max(), "1797693134862316", 309},
  };
  for (const DoubleCase& c : cases) {
    SCOPED_TRACE(c.value);
    rec::Digits d = rec::decimal_digits(c.value);
    EXPECT_EQ(d.count, 16);
    EXPECT_EQ(text_of(d), c.digits);
    EXPECT_EQ(d.exponent, c.exponent);
  }
}

TEST(DecimalDigits, ZeroInfinityAndNaN) {
  rec::Digits zero = rec::decimal_digits(0.0f);
  EXPECT_TRUE(zero.zero);
  EXPECT_FALSE(zero.negative);
  EXPECT_EQ(text_of(zero), "0000000");
  rec::Digits negative_zero = rec::decimal_digits(-0.0);
  EXPECT_TRUE(negative_zero.zero);
  EXPECT_TRUE(negative_zero.negative);
  EXPECT_FALSE(rec::decimal_digits(std::numeric_limits<double>::infinity()).finite);
  EXPECT_FALSE(rec::decimal_digits(-std::numeric_limits<float>::infinity()).finite);
  EXPECT_FALSE(rec::decimal_digits(std::nanf("")).finite);
}

}  // namespace
