// Formatted reads: fields taken by the format from internal records and text
// files, short records, slashes and reversion, and the reports of bad fields.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "common/records.hpp"

namespace {

TEST(ReadStatement, A24IntoALongerItem) {
  std::string item(100, 'z');
  std::string line = "abcdefghijklmnopqrstuvwxyz0123456789";
  rec::read_internal(line, rec::Format("(a24)"), {&item});
  EXPECT_EQ(item, line.substr(0, 24) + std::string(76, ' '));
}

TEST(ReadStatement, CharacterFieldWidths) {
  struct Case {
    const char* format;
    const char* record;
    std::size_t length;
    const char* expected;
  } cases[] = {
      {"(a7)", "abcdefg", 5, "cdefg"},    // W >= length: the rightmost characters of the field
      {"(a3)", "abcdefg", 5, "abc  "},    // W < length: from the left, then blanks
      {"(a)", "abc", 6, "abc   "},         // plain a: the item's length, record padded with blanks
      {"(a1)", "y comment", 1, "y"},
      {"(2x,a2)", "abcdef", 2, "cd"},
      {"(a200)", "short", 4, "    "},     // the rightmost 4 of 200 columns are blank
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.format << " " << c.record);
    std::string item(c.length, '?');
    rec::read_internal(c.record, rec::Format(c.format), {&item});
    EXPECT_EQ(item, c.expected);
  }
}

TEST(ReadStatement, LineListRecord) {
  // Columns as the line list lays them out: molecule, isotope, position,
  // intensity, 10 skipped, widths, lower-state energy, exponent, shift, indices.
  std::string line = " 51 2000.052539 1.234E-25 5.678E-02.0512.0680  806.38670.71-.002117  0  0";
  line.resize(100, ' ');
  int mol = 0, iso = 0, i1 = -1, i2 = -1;
  double nu = 0, s = 0, air = 0, self = 0, energy = 0, exponent = 0, shift = 0;
  rec::read_internal(line, rec::Format("(i2,i1,f12.6,e10.3,10x,f5.4,f5.4,f10.4,f4.2,f8.6,2i3,26x)"),
                     {&mol, &iso, &nu, &s, &air, &self, &energy, &exponent, &shift, &i1, &i2});
  EXPECT_EQ(mol, 5);
  EXPECT_EQ(iso, 1);
  EXPECT_EQ(nu, 2000.052539);
  EXPECT_EQ(s, 1.234e-25);
  EXPECT_EQ(air, 0.0512);
  EXPECT_EQ(self, 0.068);
  EXPECT_EQ(energy, 806.3867);
  EXPECT_EQ(exponent, 0.71);
  EXPECT_EQ(shift, -0.002117);
  EXPECT_EQ(i1, 0);
  EXPECT_EQ(i2, 0);
  float position = 0;
  rec::read_internal(line, rec::Format("(3x,f12.6)"), {&position});
  EXPECT_EQ(position, 2000.052539f);
}

TEST(ReadStatement, ShortRecordReadsAsBlanks) {
  int a = -1, b = -1;
  float x = -1;
  rec::read_internal(" 12", rec::Format("(i3,i3,f5.2)"), {&a, &b, &x});
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(x, 0.0f);
}

TEST(ReadStatement, AFormatNeedingAnotherRecordFailsOnAnInternalRecord) {
  int a = 0, b = 0;
  EXPECT_THROW(rec::read_internal("1", rec::Format("(i1/i1)"), {&a, &b}), rec::RecordError);
  EXPECT_THROW(rec::read_internal("1", rec::Format("(i1)"), {&a, &b}), rec::RecordError);
}

TEST(ReadStatement, ReportNamesFileRecordColumnsAndText) {
  int n = 0;
  float x = 0;
  struct Case {
    const char* format;
    const char* record;
    rec::Where where;
    const char* report;
  } cases[] = {
      {"(i2)", "x1", {"input-vorne", 7},
       " Unreadable integer in record 7 of input-vorne, columns 1-2: found \"x1\""},
      {"(3x,f6.2)", "abc  1.5x", {"table73", 4},
       " Unreadable real number in record 4 of table73, columns 4-9: found \"  1.5x\""},
      {"(i1)", "q", {}, " Unreadable integer in an internal record, column 1: found \"q\""},
      {"(i3)", "1\t2", {}, " Unreadable integer in an internal record, columns 1-3: found \"1?2\""},
      {"(2x,i3)", "  1-2", {"input-vorne", 26, 2},
       " Unreadable integer in record 26 of input-vorne, columns 4-6: found \"1-2\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    try {
      if (std::string_view(c.format).find('f') != std::string_view::npos) {
        rec::read_internal(c.record, rec::Format(c.format), {&x}, c.where);
      } else {
        rec::read_internal(c.record, rec::Format(c.format), {&n}, c.where);
      }
      ADD_FAILURE() << "no RecordError";
    } catch (const rec::RecordError& e) {
      EXPECT_EQ(std::string(e.what()), c.report);
    }
  }
}

TEST(ReadStatement, WrongItemsAreBugs) {
  int n = 0;
  float x = 0;
  std::string s(3, ' ');
  EXPECT_THROW(rec::read_internal("1", rec::Format("(i1)"), {&x}), std::invalid_argument);
  EXPECT_THROW(rec::read_internal("1", rec::Format("(f1.0)"), {&n}), std::invalid_argument);
  EXPECT_THROW(rec::read_internal("1", rec::Format("(a)"), {&n}), std::invalid_argument);
  EXPECT_THROW(rec::read_internal("1", rec::Format("(i1)"), {&s}), std::invalid_argument);
}

}  // namespace
