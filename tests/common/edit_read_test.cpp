// Input conversion of numeric fields and free-form words.
#include <gtest/gtest.h>

#include <string>

#include "common/edit_read.hpp"

namespace {

TEST(IEditRead, IntegerFields) {
  struct Case {
    const char* field;
    bool ok;
    int value;
  } cases[] = {
      {"  12", true, 12},   {" 1 2", true, 12},   {"    ", true, 0},  {"", true, 0},
      {"-5", true, -5},     {"+7", true, 7},      {" - 3", true, -3}, {"-2147483648", true, -2147483647 - 1},
      {"1.0", false, 0},    {"x1", false, 0},     {"1e3", false, 0},  {"2147483648", false, 0},
      {"99999999999", false, 0}, {"--1", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    int v = -999;
    EXPECT_EQ(rec::read_integer_field(c.field, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
}

struct RealCase {
  const char* field;
  int decimals;
  bool ok;
  double value;
};

TEST(FEditRead, RealFieldsWithImpliedDecimals) {
  const RealCase cases[] = {
      {"  12", 2, true, 0.12},       // no point: the last D digits are the fraction
      {"0.071", 0, true, 0.071},     // a point overrides D
      {"1234E2", 2, true, 1234.0},   // 12.34E2
      {"    ", 2, true, 0.0},
      {"-.5", 1, true, -0.5},
      {" 1 . 5 ", 1, true, 1.5},     // blanks are ignored
      {"1.5E2", 1, true, 150.0},
      {"1.5e+2", 1, true, 150.0},
      {"1.5D2", 1, true, 150.0},
      {"1.5d-2", 1, true, 0.015},
      {"15+2", 1, true, 150.0},      // bare signed exponent
      {"1.4444-02", 4, true, 0.014444},
      {"0.1505-01", 4, true, 0.01505},
      {"-", 2, true, 0.0},           // a lone sign reads as zero, as blanks do
      {"5", 3, true, 0.005},
      {"1.E 2", 0, true, 100.0},
      {"1e", 0, false, 0},
      {"1.2.3", 0, false, 0},
      {"abc", 0, false, 0},
      {"inf", 0, false, 0},
      {"nan", 0, false, 0},
      {"1.5E2x", 1, false, 0},
      {"E5", 0, false, 0},
      {"1e99999999", 0, false, 0},
  };
  for (const RealCase& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.field << "\" D=" << c.decimals);
    double v = -999.0;
    EXPECT_EQ(rec::read_real_field(c.field, c.decimals, v), c.ok);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value);
    }
  }
}

TEST(FEditRead, ValueIsRoundedOnceToTheItemPrecision) {
  float f = 0;
  double d = 0;
  ASSERT_TRUE(rec::read_real_field("0.1", 0, f));
  EXPECT_EQ(f, 0.1f);
  ASSERT_TRUE(rec::read_real_field("0.1", 0, d));
  EXPECT_EQ(d, 0.1);
  ASSERT_TRUE(rec::read_real_field("2000.052539", 6, d));
  EXPECT_EQ(d, 2000.052539);
  ASSERT_TRUE(rec::read_real_field("2000052539", 6, d));  // same digits, implied point
  EXPECT_EQ(d, 2000.052539);
  ASSERT_TRUE(rec::read_real_field("1e-50", 0, f));  // below the smallest float
  EXPECT_EQ(f, 0.0f);
  EXPECT_FALSE(rec::read_real_field("1e40", 0, f));  // beyond the largest float
  ASSERT_TRUE(rec::read_real_field("1e40", 0, d));
  EXPECT_EQ(d, 1e40);
}

TEST(FreeFormWords, Integers) {
  int v = 0;
  EXPECT_TRUE(rec::read_integer_word("-12", v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(rec::read_integer_word("+2", v));
  EXPECT_EQ(v, 2);
  for (const char* bad : {"x1", "5.", "1e3", "", "+", "1 2"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(rec::read_integer_word(bad, v));
  }
}

TEST(FreeFormWords, RealsInEveryForm) {
  struct Case {
    const char* word;
    double value;
  } cases[] = {
      {"2", 2.0},      {"+2", 2.0},     {"5.", 5.0},      {".5", 0.5},          {"1e-3", 1e-3},
      {"1E3", 1e3},    {"1d2", 100.0},  {"-2D+3", -2e3},  {"1.4444-02", 0.014444}, {"0.0", 0.0},
      {"-0.25", -0.25}, {"007", 7.0},   {"1.0e+000", 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    double v = -999.0;
    ASSERT_TRUE(rec::read_real_word(c.word, v));
    EXPECT_DOUBLE_EQ(v, c.value);
    float f = -999.0f;
    ASSERT_TRUE(rec::read_real_word(c.word, f));
    EXPECT_FLOAT_EQ(f, static_cast<float>(c.value));
  }
  double v = 0;
  for (const char* bad : {"x1", "", ".", "+", "-", "e5", "1.5e", "inf", "nan", "0x10", "1,5", "1 5", "1..2"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(rec::read_real_word(bad, v));
  }
}

}  // namespace
