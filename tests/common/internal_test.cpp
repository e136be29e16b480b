// Internal records: writes fill the whole string, reads see one record.
#include <gtest/gtest.h>

#include <string>

#include "common/records.hpp"

namespace {

using namespace std::string_view_literals;

TEST(InternalWrite, FillsFromTheFirstCharacterAndPadsWithBlanks) {
  struct Case {
    std::size_t length;
    const char* format;
    std::initializer_list<rec::OutItem> items;
    const char* expected;
  } cases[] = {
      {10, "(i3)", {5}, "  5       "},
      {8, "(i1,a7)", {2, "h2o    "sv}, "2h2o    "},  // the gas label of an isotope
      {7, "(i1)", {3}, "3      "},
      {3, "(a3)", {"abc"sv}, "abc"},
      {4, "(i2,5x)", {1}, " 1  "},  // skipped positions at the end are not written
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    std::string target(c.length, '#');
    rec::write_internal(target, rec::Format(c.format), c.items);
    EXPECT_EQ(target, c.expected);
  }
}

TEST(InternalWrite, ARecordTooLongOrASecondRecordIsAnError) {
  std::string target(3, ' ');
  EXPECT_THROW(rec::write_internal(target, rec::Format("(i4)"), {1}), rec::RecordError);
  EXPECT_THROW(rec::write_internal(target, rec::Format("(i1/i1)"), {1, 2}), rec::RecordError);
  EXPECT_THROW(rec::write_internal(target, rec::Format("(i1)"), {1, 2}), rec::RecordError);  // reversion
  EXPECT_EQ(target, "   ");
}

TEST(InternalRead, SubstringOfADeckLineReportsFileColumns) {
  // Line 26 of a deck: column 1 holds a letter, columns 2 to 15 a free-form value.
  std::string line = "g 12.5         zenith angle";
  std::string geom(1, ' ');
  float value = 0;
  rec::read_internal(line, rec::Format("(a1)"), {&geom});
  ASSERT_EQ(rec::read_free_internal(std::string_view(line).substr(1, 14), {&value}, rec::Where{"input-vorne", 26, 2}),
            rec::ReadStatus::ok);
  EXPECT_EQ(geom, "g");
  EXPECT_EQ(value, 12.5f);
  std::string bad = "g 12,5x";
  try {
    rec::read_free_internal(std::string_view(bad).substr(1, 14), {&value, &value}, rec::Where{"input-vorne", 26, 2});
    FAIL() << "no RecordError";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()), " Unreadable real number in record 26 of input-vorne, columns 6-7: found \"5x\"");
  }
}

TEST(InternalRead, ReadPastTheEndNamesTheRecord) {
  int a = 0, b = 0;
  try {
    rec::read_internal("1", rec::Format("(i1/i1)"), {&a, &b}, rec::Where{"table74", 5});
    FAIL() << "no RecordError";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()), " Format (i1/i1) reads past the end of record 5 of table74");
  }
  EXPECT_EQ(a, 1);
}

}  // namespace
