#include "inputs/line_list.hpp"
#include "inputs/molecules.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "program_run.hpp"

namespace {

using inputs::LineList;
using inputs::LineRecord;
using testing_support::WorkDir;

// A fixed-point field of `w` characters without the zero before the point,
// as fixed-column writers leave it out for values below 1.
std::string fixed(double v, int w, int d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", d, v);
  std::string s(buf);
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  return std::string(static_cast<std::size_t>(std::max(0, w - static_cast<int>(s.size()))), ' ') + s;
}

// A 100-character record in the list layout, without its line end.
std::string record(int mol, char iso, double pos, double intensity = 1.0e-20, double width = 0.07,
                   double elow = 100.0, double n = 0.75) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%2d%c%12.6f%10.3E%10s%s%s%10.4f%s%s%3d%3d%26s", mol, iso, pos, intensity, "",
                fixed(width, 5, 4).c_str(), fixed(0.08, 5, 4).c_str(), elow, fixed(n, 4, 2).c_str(),
                fixed(-0.002, 8, 6).c_str(), 0, 0, "");
  std::string r(buf);
  r.resize(100, ' ');
  return r;
}

std::string list_of(const std::vector<double>& positions, const std::string& end = "\n") {
  std::string s;
  for (double p : positions) s += record(2, '1', p) + end;
  return s;
}

TEST(LineRecordDecode, ReadsTheUsedColumns) {
  LineRecord l = inputs::decode_line_record(record(6, '1', 2950.123456, 1.234e-19, 0.0655, 1234.5678, 0.75),
                                          {"lines", 1});
  EXPECT_EQ(l.gas, 6);
  EXPECT_EQ(l.isotope, 1);
  EXPECT_DOUBLE_EQ(l.position, 2950.123456);
  EXPECT_DOUBLE_EQ(l.intensity, 1.234e-19);
  EXPECT_FLOAT_EQ(l.air_width, 0.0655f);
  EXPECT_DOUBLE_EQ(l.lower_energy, 1234.5678);
  EXPECT_FLOAT_EQ(l.temp_exponent, 0.75f);
}

TEST(LineRecordDecode, UnusedColumnsMayHoldAnything) {
  std::string r = record(6, '1', 2950.0);
  std::string garbage = r;
  for (int c : {26, 30, 35, 41, 45, 60, 67, 70, 73, 80, 99}) garbage[static_cast<std::size_t>(c - 1)] = '#';
  LineRecord a = inputs::decode_line_record(r, {"lines", 1});
  LineRecord b = inputs::decode_line_record(garbage, {"lines", 1});
  EXPECT_EQ(a.gas, b.gas);
  EXPECT_EQ(a.position, b.position);
  EXPECT_EQ(a.intensity, b.intensity);
  EXPECT_EQ(a.air_width, b.air_width);
  EXPECT_EQ(a.lower_energy, b.lower_energy);
  EXPECT_EQ(a.temp_exponent, b.temp_exponent);
}

TEST(LineRecordDecode, IsotopeLettersOfLongRecords) {
  struct Case {
    char column;
    int isotope;
  } cases[] = {{'1', 1}, {'9', 9}, {'0', 10}, {'A', 11}, {'B', 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    EXPECT_EQ(inputs::decode_line_record(record(2, c.column, 2300.0), {"lines", 1}).isotope, c.isotope);
  }
}

TEST(LineRecordDecode, UnreadableFieldNamesRecordAndColumns) {
  std::string r = record(6, '1', 2950.0);
  r.replace(3, 12, "  29x0.12345");
  try {
    inputs::decode_line_record(r, {"lines.hit", 17});
    FAIL() << "no error";
  } catch (const rec::RecordError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("lines.hit"), std::string::npos) << what;
    EXPECT_NE(what.find("17"), std::string::npos) << what;
  }
  std::string bad_iso = record(6, 'x', 2950.0);
  EXPECT_THROW(inputs::decode_line_record(bad_iso, {"lines.hit", 3}), rec::RecordError);
}

TEST(HitranRenumbering, TableOfMolecules) {
  struct Case {
    int molecule, isotope, gas, isotope_after;
  } cases[] = {
      {1, 1, 1, 1},   {1, 2, 1, 2},   {1, 4, 49, 1},  {2, 4, 2, 4},   {21, 1, 21, 1}, {22, 1, 41, 1},
      {23, 1, 28, 1}, {24, 1, 30, 1}, {25, 1, 23, 1}, {26, 1, 40, 1}, {27, 1, 38, 1}, {28, 1, 0, 1},
      {29, 1, 36, 1}, {30, 1, 50, 1}, {31, 1, 47, 1}, {32, 1, 46, 1}, {33, 1, 22, 1}, {34, 1, 0, 1},
      {35, 1, 27, 1}, {36, 1, 0, 1},  {37, 1, 0, 1},  {38, 1, 39, 1}, {39, 1, 0, 1},  {40, 1, 44, 1},
      {42, 1, 31, 1}, {49, 1, 43, 1}, {51, 1, 29, 1}, {54, 1, 45, 1}, {55, 1, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.molecule);
    int iso = c.isotope;
    EXPECT_EQ(inputs::hitran_to_internal_gas(c.molecule, iso), c.gas);
    EXPECT_EQ(iso, c.isotope_after);
  }
}

TEST(HitranRenumbering, TypeAListsKeepTheirNumbers) {
  LineRecord l;
  EXPECT_TRUE(inputs::read_line(record(38, '1', 2950.0), 'a', {"lines", 1}, l));
  EXPECT_EQ(l.gas, 38);
  EXPECT_TRUE(inputs::read_line(record(28, '1', 2950.0), 'a', {"lines", 1}, l));
  EXPECT_EQ(l.gas, 28);
  EXPECT_FALSE(inputs::read_line(record(28, '1', 2950.0), 'h', {"lines", 1}, l));
  EXPECT_TRUE(inputs::read_line(record(38, '1', 2950.0), 'h', {"lines", 1}, l));
  EXPECT_EQ(l.gas, 39);
}

class LineListFile : public ::testing::Test {
 protected:
  std::string write(const std::string& content) {
    dir_.write("lines.hit", content);
    return (dir_.path() / "lines.hit").string();
  }
  WorkDir dir_;
};

TEST_F(LineListFile, BisectionFindsLastRecordBelow) {
  std::string path = write(list_of({2000.1, 2000.5, 2000.5, 2001.0, 2002.0}));
  LineList list(path, 101, 5, 'h');
  struct Case {
    float nu;
    int expected;
  } cases[] = {
      {1999.0f, 0},    // below the first line
      {2000.1f, 0},    // equal to the first: not below it
      {2000.3f, 1},    //
      {2000.5f, 1},    // a tie goes to the upper side: neither equal record counts
      {2000.7f, 3},    //
      {2002.0f, 4},    //
      {2100.0f, 5},    // above the last line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nu);
    EXPECT_EQ(list.locate_wavenumber(c.nu), c.expected);
  }
}

// The 64-bit probe sees positions that a 32-bit float cannot tell apart:
// 2000.000001 rounds to 2000.0f, so only the 64-bit probe counts the record
// at 2000.000000 as below it.
TEST_F(LineListFile, ProbePrecisionDecidesAtTheBoundary) {
  std::string path = write(list_of({1999.5, 2000.0, 2000.000002, 2001.0}));
  LineList single(path, 101, 4, 'h');
  LineList wide(path, 101, 4, 'h', inputs::Probe::double_precision);
  EXPECT_EQ(single.locate_wavenumber(2000.000001), 1);
  EXPECT_EQ(wide.locate_wavenumber(2000.000001), 2);
  EXPECT_EQ(wide.locate_wavenumber(2000.000003), 3);
  // The limits of a range are formed in the probe's precision too.
  EXPECT_EQ(wide.record_range(2000.000001, 2000.5, 0.0).first, 3);
  EXPECT_EQ(single.record_range(2000.000001, 2000.5, 0.0).first, 2);
}

TEST_F(LineListFile, RecordRangeOfAnInterval) {
  std::string path = write(list_of({2000.1, 2000.5, 2000.5, 2001.0, 2002.0}));
  LineList list(path, 101, 5, 'h');
  LineList::Range r = list.record_range(2000.5f, 2000.9f, 0.0f);
  EXPECT_EQ(r.first, 2);  // the first of the pair at the interval's start
  EXPECT_EQ(r.last, 3);
  r = list.record_range(2000.5f, 2000.9f, 0.2f);
  EXPECT_EQ(r.first, 2);
  EXPECT_EQ(r.last, 4);
  EXPECT_TRUE(list.record_range(2003.0f, 2004.0f, 0.5f).empty());
  EXPECT_TRUE(list.record_range(1990.0f, 1995.0f, 0.5f).empty());

  std::vector<double> seen;
  list.for_each_line(list.record_range(2000.0f, 2001.5f, 0.0f), [&](const LineRecord& l) { seen.push_back(l.position); });
  EXPECT_EQ(seen, (std::vector<double>{2000.1, 2000.5, 2000.5, 2001.0}));
}

TEST_F(LineListFile, EmptyListHasNoLines) {
  std::string path = write("");
  EXPECT_EQ(inputs::count_records(path), 0);
  LineList list(path, 101, 0, 'h');
  EXPECT_EQ(list.locate_wavenumber(2000.0f), 0);
  EXPECT_TRUE(list.record_range(1000.0f, 3000.0f, 10.0f).empty());
}

TEST_F(LineListFile, CountsRecords) {
  std::vector<double> positions;
  for (int i = 0; i < 1000; ++i) positions.push_back(2000.0 + 0.001 * i);
  EXPECT_EQ(inputs::count_records(write(list_of(positions))), 1000);
}

TEST_F(LineListFile, CrLfListsWorkWithTheirOwnLength) {
  std::string path = write(list_of({2000.1, 2000.5, 2001.0}, "\r\n"));
  EXPECT_EQ(inputs::count_records(path), 3);
  LineList list(path, 102, 3, 'h');
  EXPECT_EQ(list.locate_wavenumber(2000.6f), 2);
}

TEST_F(LineListFile, LongRecordLayoutShareTheUsedColumns) {
  std::string s;
  for (double p : {2000.1, 2000.5, 2001.0}) s += record(2, 'A', p) + std::string(60, '9') + "\n";
  std::string path = write(s);
  LineList list(path, 161, 3, 'h');
  std::vector<int> isotopes;
  list.for_each_line({1, 3}, [&](const LineRecord& l) { isotopes.push_back(l.isotope); });
  EXPECT_EQ(isotopes, (std::vector<int>{11, 11, 11}));
}

TEST_F(LineListFile, WrongRecordLengthIsReported) {
  std::string path = write(list_of({2000.1, 2000.5}));
  try {
    LineList list(path, 102, 2, 'h');
    FAIL() << "no error";
  } catch (const rec::RecordError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("102"), std::string::npos) << what;
    EXPECT_NE(what.find("101"), std::string::npos) << what;
  }
}

TEST_F(LineListFile, RecordCountBeyondTheFileIsReported) {
  std::string path = write(list_of({2000.1, 2000.5, 2001.0}));
  LineList list(path, 101, 10, 'h');
  try {
    list.locate_wavenumber(2000.2f);
    FAIL() << "no error";
  } catch (const rec::RecordError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("10 records"), std::string::npos) << what;
    EXPECT_NE(what.find("holds 3"), std::string::npos) << what;
  }
}

TEST_F(LineListFile, UnsortedListIsReported) {
  std::string path = write(list_of({2000.1, 2000.5, 2000.3, 2001.0}));
  try {
    inputs::count_records(path);
    FAIL() << "no error";
  } catch (const rec::RecordError& e) {
    EXPECT_NE(std::string(e.what()).find("record 3"), std::string::npos) << e.what();
  }
  LineList list(path, 101, 4, 'h');
  EXPECT_THROW(list.for_each_line({1, 4}, [](const LineRecord&) {}), rec::RecordError);
}

TEST_F(LineListFile, MissingFileIsReported) {
  EXPECT_THROW(inputs::count_records((dir_.path() / "none.hit").string()), rec::RecordError);
  EXPECT_THROW(LineList((dir_.path() / "none.hit").string(), 101, 1, 'h'), rec::RecordError);
}

// The real extract: records of several molecules, 2900-3070 cm-1. It grows
// as gases are added, so the count is checked against the file's size.
TEST(LineListRealData, CountAndSearchTheExtract) {
  const std::string path = std::string(LF_SHARED_DATA) + "/lines_2900-3070.hit";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "shared data not found: " << path;
  const int n = inputs::count_records(path);
  EXPECT_EQ(static_cast<std::uintmax_t>(n) * 101u, std::filesystem::file_size(path));
  LineList list(path, 101, n, 'h');
  LineList::Range r = list.record_range(3000.0f, 3001.0f, 0.0f);
  ASSERT_FALSE(r.empty());
  int gas38 = 0, gas39 = 0;
  list.for_each_line(r, [&](const LineRecord& l) {
    EXPECT_GE(l.position, 3000.0 - 1e-3);
    EXPECT_LT(l.position, 3001.0 + 1e-3);
    EXPECT_GT(l.intensity, 0.0);
    gas38 += l.gas == 38;
    gas39 += l.gas == 39;
  });
  // Ethane (HITRAN 27) and ethylene (HITRAN 38) both have lines here and must
  // not be confused.
  EXPECT_GT(gas38, 0);
  EXPECT_GT(gas39, 0);
  std::string_view before = list.raw_record(r.first - 1);
  EXPECT_LT(inputs::decode_line_record(before, {path, r.first - 1}).position, 3000.0 + 1e-3);
}

}  // namespace
