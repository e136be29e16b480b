// Free-form reads: separators, apostrophes, words for character items, the
// records a statement consumes, end of data and the reports of bad values.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "common/records.hpp"
#include "program_run.hpp"

namespace {

class FreeFormFile : public testing::Test {
 protected:
  std::string file(const std::string& content) {
    std::string path = (dir_ / "data").string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  testing_support::WorkDir work_;
  const std::filesystem::path& dir_ = work_.path();
};

TEST(FreeFormRead, SeparatorsAreBlanksTabsCommasAndLineEnds) {
  int a = 0, b = 0, c = 0, d = 0, e = 0;
  ASSERT_EQ(rec::read_free_internal("1, 2  3\t4 ,5", {&a, &b, &c, &d, &e}), rec::ReadStatus::ok);
  EXPECT_EQ((std::vector<int>{a, b, c, d, e}), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(FreeFormRead, EmptyFieldsBetweenCommasLeaveTheirItems) {
  int a = -1, b = -1, c = -1;
  ASSERT_EQ(rec::read_free_internal("1,,3", {&a, &b, &c}), rec::ReadStatus::ok);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(c, 3);
  a = -1;
  ASSERT_EQ(rec::read_free_internal(", 2", {&a, &b}), rec::ReadStatus::ok);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, 2);
}

TEST(FreeFormRead, CharacterValues) {
  struct Case {
    const char* record;
    std::size_t length;
    const char* expected;
  } cases[] = {
      {"y   this is a comment", 1, "y"},
      {"c(complete)", 1, "c"},         // a one-character item takes the word's first character
      {"h2o      target", 7, "h2o    "},
      {"'a b,c' rest", 7, "a b,c  "},  // apostrophes keep blanks and commas
      {"'it''s'", 4, "it's"},
      {"'truncated text'", 4, "trun"},
      {"'' x", 2, "  "},
      {"table76,next", 8, "table76 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    std::string item(c.length, '?');
    ASSERT_EQ(rec::read_free_internal(c.record, {&item}), rec::ReadStatus::ok);
    EXPECT_EQ(item, c.expected);
  }
}

TEST(FreeFormRead, MixedItems) {
  std::string type(1, ' ');
  int reclen = 0;
  float f = 0;
  double d = 0;
  ASSERT_EQ(rec::read_free_internal("h 101  dbtype and record length", {&type, &reclen}), rec::ReadStatus::ok);
  EXPECT_EQ(type, "h");
  EXPECT_EQ(reclen, 101);
  ASSERT_EQ(rec::read_free_internal("5. 1d2", {&f, &d}), rec::ReadStatus::ok);
  EXPECT_EQ(f, 5.0f);
  EXPECT_EQ(d, 100.0);
}

TEST_F(FreeFormFile, ReadTakesTheRecordsItNeedsAndSkipsTheRest) {
  rec::TextReader in(file("1 2\n\n3 4 5\n6\n"));
  int a = 0, b = 0, c = 0;
  ASSERT_EQ(in.read_free({&a, &b, &c}), rec::ReadStatus::ok);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(in.record_number(), 3);  // the empty record is passed over
  ASSERT_EQ(in.read_free({&a}), rec::ReadStatus::ok);
  EXPECT_EQ(a, 6);  // 4 and 5 went with the rest of record 3
  EXPECT_EQ(in.read_free({&a}), rec::ReadStatus::end);
}

TEST_F(FreeFormFile, EndOfDataKeepsTheItemsNotRead) {
  rec::TextReader in(file("10 20\r\n30"));
  int a = -1, b = -1, c = -1, d = -1;
  EXPECT_EQ(in.read_free({&a, &b, &c, &d}), rec::ReadStatus::end);
  EXPECT_EQ(a, 10);
  EXPECT_EQ(b, 20);
  EXPECT_EQ(c, 30);
  EXPECT_EQ(d, -1);
}

TEST_F(FreeFormFile, IntegerFromAnEmptyFileIsEndOfData) {
  rec::TextReader in(file(""));
  int n = 7;
  EXPECT_EQ(in.read_free({&n}), rec::ReadStatus::end);
  EXPECT_EQ(n, 7);
}

TEST_F(FreeFormFile, ReadWithoutItemsSkipsOneRecord) {
  rec::TextReader in(file("header 'with' text\n8 53\n"));
  ASSERT_EQ(in.read_free(), rec::ReadStatus::ok);
  int a = 0, b = 0;
  ASSERT_EQ(in.read_free({&a, &b}), rec::ReadStatus::ok);
  EXPECT_EQ(a, 8);
  EXPECT_EQ(b, 53);
  EXPECT_EQ(in.read_free(), rec::ReadStatus::end);
}

TEST_F(FreeFormFile, ARunTimeNumberOfItems) {
  rec::TextReader in(file("1.5 2.5\n3.5\n"));
  std::vector<float> row(3, 0.0f);
  std::vector<rec::InItem> items;
  for (float& v : row) items.emplace_back(&v);
  ASSERT_EQ(in.read_free(std::span<const rec::InItem>(items)), rec::ReadStatus::ok);
  EXPECT_EQ(row, (std::vector<float>{1.5f, 2.5f, 3.5f}));
}

TEST_F(FreeFormFile, ReportsNameFileRecordAndColumns) {
  rec::TextReader in(file("1 2\n  3 x1 4\n"));
  int a = 0, b = 0, c = 0;
  try {
    in.read_free({&a, &b, &c, &c});
    FAIL() << "no RecordError";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()),
              " Unreadable integer in record 2 of " + in.path() + ", columns 5-6: found \"x1\"");
  }
}

TEST(FreeFormRead, ReportsOfInternalRecords) {
  int n = 0;
  double x = 0;
  std::string s(3, ' ');
  struct Case {
    std::function<void()> read;
    const char* report;
  } cases[] = {
      {[&] { rec::read_free_internal("x1", {&n}, rec::Where{"input-vorne", 7}); },
       " Unreadable integer in record 7 of input-vorne, columns 1-2: found \"x1\""},
      {[&] { rec::read_free_internal("  5.", {&n}, rec::Where{"input-vorne", 9}); },
       " Unreadable integer in record 9 of input-vorne, columns 3-4: found \"5.\""},
      {[&] { rec::read_free_internal(" 1.0 abc", {&x, &x}, rec::Where{"solar.dat", 12}); },
       " Unreadable real number in record 12 of solar.dat, columns 6-8: found \"abc\""},
      {[&] { rec::read_free_internal("  x", {&x}, rec::Where{"input-vorne", 26, 2}); },
       " Unreadable real number in record 26 of input-vorne, column 4: found \"x\""},
      {[&] { rec::read_free_internal(" 'abc", {&s}, rec::Where{"input-kormal", 3}); },
       " Unterminated character value in record 3 of input-kormal, column 2: found \"'abc\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.report);
    try {
      c.read();
      ADD_FAILURE() << "no RecordError";
    } catch (const rec::RecordError& e) {
      EXPECT_EQ(std::string(e.what()), c.report);
    }
  }
}

TEST(FreeFormRead, InternalRecordEndsTheData) {
  int a = -1, b = -1;
  EXPECT_EQ(rec::read_free_internal("  4  ", {&a, &b}), rec::ReadStatus::end);
  EXPECT_EQ(a, 4);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(rec::read_free_internal("", {}), rec::ReadStatus::ok);
}

}  // namespace
