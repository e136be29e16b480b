// Sequential text files: records written whole with CR LF, read back up to LF
// with a CR before it dropped; missing and unwritable files are reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/records.hpp"
#include "program_run.hpp"

namespace {

using namespace std::string_view_literals;

class TextFile : public testing::Test {
 protected:
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string bytes(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void put(const std::string& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
  }
  testing_support::WorkDir work_;
  const std::filesystem::path& dir_ = work_.path();
};

TEST_F(TextFile, RecordsEndWithCrLfAndKeepTheirFirstCharacter) {
  std::string p = path("table70");
  rec::TextWriter out(p);
  out.write(rec::Format("(' Table70 (vmr-profile of target gas)')"));
  out.write(rec::Format("(1x,f9.4,1x,f7.1,1x,e11.5)"), {0.0, 0.0, 0.0});
  out.write_free();
  out.write_free({" Program requires approx. "sv, 141, " Mbytes"sv});
  out.record("as is");
  out.close();
  EXPECT_EQ(bytes(p),
            " Table70 (vmr-profile of target gas)\r\n"
            "     .0000      .0  .00000E+00\r\n"
            "\r\n"
            "  Program requires approx. 141 Mbytes\r\n"
            "as is\r\n");
}

TEST_F(TextFile, DollarContinuesTheRecordInAFile) {
  std::string p = path("out");
  rec::TextWriter out(p);
  out.write(rec::Format("(a,$)"), {"abc"sv});
  out.write(rec::Format("(a,$)"), {"def"sv});
  out.write(rec::Format("(a/a)"), {"ghi"sv, "jkl"sv});
  out.write(rec::Format("(a,$)"), {"open"sv});
  out.close();  // the open record is ended
  EXPECT_EQ(bytes(p), "abcdefghi\r\njkl\r\nopen\r\n");
}

TEST_F(TextFile, OpeningTruncatesAnExistingFile) {
  std::string p = path("old");
  put(p, "a much longer old content\r\n");
  rec::TextWriter out(p);
  out.record("new");
  out.close();
  EXPECT_EQ(bytes(p), "new\r\n");
}

TEST_F(TextFile, LargeTablesArriveWhole) {
  std::string p = path("table71");
  const rec::Format row("(f10.4,1x,4(e11.5,1x))");
  {
    rec::TextWriter out(p);
    for (int i = 0; i < 20000; ++i) out.write(row, {2000.0 + 0.005 * i, 1.0, 0.5, 0.25, 1e-3});
  }  // the destructor closes and flushes
  rec::TextReader in(p);
  double v[5] = {};
  int rows = 0;
  while (in.read_free({&v[0], &v[1], &v[2], &v[3], &v[4]}) == rec::ReadStatus::ok) {
    ASSERT_NEAR(v[0], 2000.0 + 0.005 * rows, 5e-5) << "row " << rows;
    ++rows;
  }
  EXPECT_EQ(rows, 20000);
  EXPECT_EQ(v[4], 1e-3);
}

TEST_F(TextFile, ReaderSplitsRecordsAtLf) {
  struct Case {
    const char* content;
    std::vector<std::string> records;
  } cases[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\nlast", {"a", "last"}},  // a last line without terminator is a record
      {"\n\n", {"", ""}},
      {"x\ry\n", {"x\ry"}},          // a CR inside a record stays
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.content)));
    std::string p = path("in");
    put(p, c.content);
    rec::TextReader in(p);
    std::vector<std::string> got;
    std::string r;
    while (in.next_record(r) == rec::ReadStatus::ok) got.push_back(r);
    EXPECT_EQ(got, c.records);
    EXPECT_EQ(in.record_number(), static_cast<int>(c.records.size()));
  }
}

TEST_F(TextFile, LinesLongerThanTheReadBlock) {
  std::string p = path("long");
  std::string longline(200000, 'q');
  put(p, "short\n" + longline + "\nend");
  rec::TextReader in(p);
  std::string r;
  ASSERT_EQ(in.next_record(r), rec::ReadStatus::ok);
  ASSERT_EQ(in.next_record(r), rec::ReadStatus::ok);
  EXPECT_EQ(r, longline);
  ASSERT_EQ(in.next_record(r), rec::ReadStatus::ok);
  EXPECT_EQ(r, "end");
}

TEST_F(TextFile, FormattedReadsOfADeck) {
  std::string p = path("input-vorne");
  put(p, "3 header lines\r\n/data/path/\r\n  12  3.5\r\nx\r\n");
  rec::TextReader in(p);
  std::string line(200, ' ');
  ASSERT_EQ(in.read(rec::Format("(a200)"), {&line}), rec::ReadStatus::ok);
  EXPECT_EQ(line.substr(0, 15), "3 header lines ");
  ASSERT_EQ(in.read(rec::Format("(a200)"), {&line}), rec::ReadStatus::ok);
  EXPECT_EQ(line.find(' '), 11u);  // the path prefix ends at its first blank
  int n = 0;
  float x = 0;
  ASSERT_EQ(in.read(rec::Format("(i4,f5.1)"), {&n, &x}), rec::ReadStatus::ok);
  EXPECT_EQ(n, 12);
  EXPECT_EQ(x, 3.5f);
  std::string a(1, ' '), b(1, ' ');
  EXPECT_EQ(in.read(rec::Format("(a1/a1)"), {&a, &b}), rec::ReadStatus::end);  // no record for b
  EXPECT_EQ(a, "x");
  EXPECT_EQ(in.read(rec::Format("(a1)"), {&a}), rec::ReadStatus::end);
}

TEST_F(TextFile, FormatReversionReadsOneRecordPerRound) {
  std::string p = path("vals");
  put(p, "  1\n  2\n  3\n");
  rec::TextReader in(p);
  int a = 0, b = 0, c = 0;
  ASSERT_EQ(in.read(rec::Format("(i3)"), {&a, &b, &c}), rec::ReadStatus::ok);
  EXPECT_EQ(a + 10 * b + 100 * c, 321);
}

TEST_F(TextFile, MissingAndUnwritableFilesAreNamed) {
  std::string missing = path("tropic.vmr");
  try {
    rec::TextReader in(missing);
    FAIL() << "no RecordError";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()), " Cannot open file " + missing + ": no such file");
  }
  std::string unwritable = path("no-such-dir/table71");
  try {
    rec::TextWriter out(unwritable);
    FAIL() << "no RecordError";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()), " Cannot create file " + unwritable + ": no such file");
  }
}

TEST_F(TextFile, ErrorsInAFileNameItsRecord) {
  std::string p = path("table73");
  put(p, " 1.0\n 2.0\n 3.q\n");
  rec::TextReader in(p);
  float x = 0;
  ASSERT_EQ(in.read(rec::Format("(f4.1)"), {&x}), rec::ReadStatus::ok);
  ASSERT_EQ(in.read(rec::Format("(f4.1)"), {&x}), rec::ReadStatus::ok);
  try {
    in.read(rec::Format("(f4.1)"), {&x});
    FAIL() << "no RecordError";
  } catch (const rec::RecordError& e) {
    EXPECT_EQ(std::string(e.what()), " Unreadable real number in record 3 of " + p + ", columns 1-4: found \" 3.q\"");
  }
}

// A file cut in the middle of its last record: rows of 8 characters from
// record 2 on, read to the end with free-form reads.
TEST_F(TextFile, LastRowCutShortIsRefused) {
  struct Case {
    const char* content;
    const char* report;  // empty: accepted
  } cases[] = {
      {"head\r\n 1.0 2.0\r\n 3.0 4.", "is cut short: it ends after 7 of its 8 characters without a line end"},
      {"head\r\n 1.0 2.0\r\n 3.0 4.\r", "is cut short: it ends after 7 of its 8 characters without a line end"},
      {"head\r\n 1.0 2.0\r\n 3.0", "is cut short: it ends after 4 of its 8 characters without a line end"},
      {"head\r\n 1.0 2.0\r\n 3.0 4E", "is cut short: it ends after 7 of its 8 characters without a line end"},
      {"head\r\n 1.0 2.0\r\n 3.0 4.0", ""},      // whole, only the line end is missing
      {"head\r\n 1.0 2.0\r\n 3.0 4.0\r", ""},  // cut between CR and LF
      {"head\r\n 1.0 2.0\r\n 3. 4.\n", ""},     // short, but ended: written that way
      {"hea", ""},                                 // no row: the header is not a row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.content)));
    const std::string p = path("table");
    put(p, c.content);
    rec::TextReader in(p);
    in.read_free();
    in.expect_rows(2, 8);
    float x = 0.0f;
    float y = 0.0f;
    std::string report;
    try {
      while (in.read_free({&x, &y}) == rec::ReadStatus::ok) {
      }
    } catch (const rec::RecordError& e) {
      report = e.what();
    }
    EXPECT_EQ(report, *c.report ? " Record 3 of " + p + " " + c.report : "");
  }
}

TEST_F(TextFile, MovedWriterKeepsWriting) {
  std::string p = path("moved");
  rec::TextWriter first(p);
  first.record("one");
  rec::TextWriter second(std::move(first));
  second.record("two");
  second.close();
  EXPECT_EQ(bytes(p), "one\r\ntwo\r\n");
}

}  // namespace
