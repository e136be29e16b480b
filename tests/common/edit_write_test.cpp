// Stage 3: laying the digits into I, F, E and A fields of exactly W characters.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "common/digits.hpp"
#include "common/edit_write.hpp"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

std::string fixed(double v, int w, int d) {
  std::string out;
  rec::put_fixed(out, w, d, rec::decimal_digits(v));
  return out;
}
std::string fixed(float v, int w, int d) {
  std::string out;
  rec::put_fixed(out, w, d, rec::decimal_digits(v));
  return out;
}
std::string exponent(double v, int w, int d, int scale) {
  std::string out;
  rec::put_exponent(out, w, d, scale, rec::decimal_digits(v));
  return out;
}

struct FixedCase {
  double value;
  int w, d;
  const char* expected;
};

TEST(FEditWrite, FixedPointFields) {
  const FixedCase cases[] = {
      {0.5, 8, 3, "    .500"},        // no zero before the point
      {-0.25, 6, 2, "  -.25"},
      {0.4, 5, 0, "   0."},           // a lone zero only when no digit would show
      {0.6, 5, 0, "   1."},
      {-0.6, 5, 0, "  -1."},
      {-0.0004, 8, 3, "    .000"},    // rounds to zero: no minus sign
      {-0.0, 5, 1, "   .0"},
      {0.0, 9, 4, "    .0000"},
      {0.0, 7, 1, "     .0"},
      {123.5, 6, 3, "******"},        // overflow: W asterisks
      {9.9996, 6, 3, "10.000"},       // rounding adds an integer digit
      {9.9996, 5, 3, "*****"},
      {-1.5, 4, 1, "-1.5"},
      {-1.5, 3, 1, "***"},            // the minus sign counts
      {0.25, 4, 1, "  .3"},           // digits 25: the 5 rounds up
      {0.05, 4, 1, "  .1"},
      {1e-10, 5, 2, "  .00"},
      {123456789.123, 14, 3, " 123456789.123"},
      {2000.0, 10, 4, " 2000.0000"},
      {kInf, 8, 2, "********"},
      {-kInf, 8, 2, "********"},
      {std::nan(""), 5, 1, "*****"},
  };
  for (const FixedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " f" << c.w << "." << c.d);
    EXPECT_EQ(fixed(c.value, c.w, c.d), c.expected);
  }
}

TEST(FEditWrite, FloatsShowSevenDigitsThenZeros) {
  EXPECT_EQ(fixed(12.345678f, 12, 6), "   12.345680");
  EXPECT_EQ(fixed(0.1235f, 6, 3), "  .124");  // its digits are 1235000
  EXPECT_EQ(fixed(123456789.0f, 12, 1), " 123456800.0");
  EXPECT_EQ(fixed(0.05f, 4, 1), "  .1");
  // The double nearest 0.1235 lies below it: its 16 digits round down.
  EXPECT_EQ(fixed(0.1235, 6, 3), "  .124");
  EXPECT_EQ(fixed(0.12349999, 6, 3), "  .123");
}

struct ExponentCase {
  double value;
  int w, d, scale;
  const char* expected;
};

TEST(EEditWrite, ExponentFields) {
  const ExponentCase cases[] = {
      {1.5, 10, 3, 0, "  .150E+01"},
      {0.0, 10, 3, 0, "  .000E+00"},
      {-0.0, 10, 3, 0, "  .000E+00"},
      {0.0, 11, 5, 0, " .00000E+00"},
      {-1.5, 9, 2, 0, " -.15E+01"},
      {9.9996, 10, 3, 0, "  .100E+02"},
      {1.0e-101, 10, 3, 0, "  .100-100"},  // beyond two digits the E gives way
      {1.0e-100, 10, 3, 0, "  .100E-99"},
      {1.5e100, 10, 3, 0, "  .150+101"},
      {1.5e300, 10, 3, 0, "  .150+301"},
      {1e-310, 10, 3, 0, "  .100-309"},
      {1.5, 7, 3, 0, "*******"},
      {kInf, 11, 5, 0, "***********"},
      {std::nan(""), 9, 2, 1, "*********"},
      {1.5, 10, 3, 1, " 1.500E+00"},
      {12345.0, 10, 3, 1, " 1.235E+04"},  // the tie rounds up
      {0.0, 10, 3, 1, " 0.000E+00"},
      {-0.001, 9, 2, 1, "-1.00E-03"},
      {9.9999, 9, 2, 1, " 1.00E+01"},
      {1.0e100, 10, 3, 1, " 1.000+100"},
      {1.0e-99, 10, 3, 1, " 1.000E-99"},
      {1.0e-98, 10, 3, 1, " 1.000E-98"},
      {2.5, 9, 3, -1, " .025E+02"},     // a negative scale factor puts zeros after the point
  };
  for (const ExponentCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " " << c.scale << "pe" << c.w << "." << c.d);
    EXPECT_EQ(exponent(c.value, c.w, c.d, c.scale), c.expected);
  }
}

TEST(IEditWrite, IntegerFields) {
  struct Case {
    int value, w;
    const char* expected;
  } cases[] = {
      {1000, 3, "***"}, {999, 3, "999"}, {-99, 3, "-99"}, {-100, 3, "***"},
      {0, 1, "0"},      {42, 5, "   42"}, {INT_MIN, 11, "-2147483648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::string out;
    rec::put_integer(out, c.w, c.value);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(AEditWrite, CharacterFields) {
  struct Case {
    const char* item;
    int w;
    const char* expected;
  } cases[] = {
      {"abcde", 7, "  abcde"},  // wider: blanks first
      {"abcde", 3, "abc"},      // narrower: leftmost characters
      {"abcde", 5, "abcde"},
      {"ab  ", -1, "ab  "},     // plain a: the whole item, trailing blanks too
      {"", -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    std::string out;
    rec::put_characters(out, c.w, c.item);
    EXPECT_EQ(out, c.expected);
  }
}

}  // namespace
