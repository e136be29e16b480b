// Files of fixed-length records opened for direct access.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/records.hpp"
#include "program_run.hpp"

namespace {

class DirectAccess : public testing::Test {
 protected:
  void SetUp() override {
    path_ = (dir_ / "lines.par").string();
  }
  // n records "recNNNvvvv" of 10 characters plus CR LF (NNN = n mod 1000).
  void make(int n, const std::string& tail = "") {
    std::ofstream out(path_, std::ios::binary);
    for (int k = 1; k <= n; ++k) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "rec%03d%4d", k % 1000, 10 * k % 10000);
      out << buf << "\r\n";
    }
    out << tail;
  }
  testing_support::WorkDir work_;
  const std::filesystem::path& dir_ = work_.path();
  std::string path_;
};

TEST_F(DirectAccess, RecordNStartsAtItsOffset) {
  make(5);
  rec::DirectFile f(path_, 12);
  EXPECT_EQ(f.records_in_file(), 5);
  EXPECT_EQ(f.record(3), "rec003  30\r\n");
  EXPECT_EQ(f.record(1), "rec001  10\r\n");
  EXPECT_EQ(f.record(5), "rec005  50\r\n");
  int n = 0, v = 0;
  f.read(4, rec::Format("(3x,i3,i4)"), {&n, &v});
  EXPECT_EQ(n, 4);
  EXPECT_EQ(v, 40);
  f.read(2, rec::Format("(3x,i3/3x,i3)"), {&n, &v});  // a slash goes on to the next record
  EXPECT_EQ(n, 2);
  EXPECT_EQ(v, 3);
}

TEST_F(DirectAccess, ManyRecordsAcrossReadBlocks) {
  make(5000);
  rec::DirectFile f(path_, 12);
  for (int k : {1, 4999, 2730, 2731, 5000, 17, 2730}) {
    SCOPED_TRACE(k);
    int n = 0;
    f.read(k, rec::Format("(3x,i3)"), {&n});
    EXPECT_EQ(n, k % 1000);
  }
}

TEST_F(DirectAccess, RecordBeyondTheEndIsReported) {
  make(3);
  rec::DirectFile f(path_, 12);
  for (int k : {0, 4, -1}) {
    SCOPED_TRACE(k);
    try {
      f.record(k);
      ADD_FAILURE() << "no RecordError";
    } catch (const rec::RecordError& e) {
      EXPECT_EQ(std::string(e.what()), " Record " + std::to_string(k) + " of " + path_ +
                                           " does not exist: the file holds 3 records of 12 characters");
    }
  }
}

TEST_F(DirectAccess, LastRecordCutShortReadsAsBlanks) {
  make(2, "rec003  30");  // no terminator
  rec::DirectFile f(path_, 12);
  EXPECT_EQ(f.records_in_file(), 3);
  EXPECT_EQ(f.record(3), "rec003  30  ");
  int v = 0;
  f.read(3, rec::Format("(6x,i4)"), {&v});
  EXPECT_EQ(v, 30);
}

TEST_F(DirectAccess, UnreadableFieldNamesTheRecord) {
  make(2);
  rec::DirectFile f(path_, 12);
  float x = 0;
  try {
    f.read(2, rec::Format("(f6.2)"), {&x});
    FAIL() << "no RecordError";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()),
              " Unreadable real number in record 2 of " + path_ + ", columns 1-6: found \"rec002\"");
  }
}

TEST_F(DirectAccess, MissingFileIsNamed) {
  EXPECT_THROW(rec::DirectFile(path_, 101), rec::RecordError);
}

TEST(DirectAccessLineList, ReadsTheRecordsOfARealLineList) {
  std::filesystem::path p = std::filesystem::path(LF_SHARED_DATA) / "lines_2000-2300.hit";
  if (!std::filesystem::exists(p)) GTEST_SKIP() << "shared data not present: " << p;
  rec::DirectFile f(p.string(), 101);
  // The extract grows with new gases: the count must be the file's size over
  // the record length, whatever that size is today.
  const int count = f.records_in_file();
  ASSERT_GT(count, 3);
  EXPECT_EQ(static_cast<std::uintmax_t>(count) * 101u, std::filesystem::file_size(p));
  const rec::Format line("(i2,i1,f12.6,e10.3,10x,f5.4,f5.4,f10.4,f4.2,f8.6,2i3,26x)");
  double previous = 0.0;
  for (int k : {1, 2, count / 2, count - 1, count}) {
    SCOPED_TRACE(k);
    int mol = 0, iso = 0, i1 = 0, i2 = 0;
    double nu = 0, s = 0, air = 0, self = 0, energy = 0, n = 0, shift = 0;
    f.read(k, line, {&mol, &iso, &nu, &s, &air, &self, &energy, &n, &shift, &i1, &i2});
    EXPECT_GE(mol, 1);
    EXPECT_GE(iso, 1);
    EXPECT_GE(nu, 2000.0);
    EXPECT_LE(nu, 2300.0);
    EXPECT_GT(nu, previous - 1e-9);  // sorted by position
    EXPECT_GT(s, 0.0);
    previous = nu;
  }
  float first = 0;
  f.read(1, rec::Format("(3x,f12.6)"), {&first});
  EXPECT_EQ(first, 2000.052539f);
}

}  // namespace
