// Write statements: how a format and its items become records (reversion,
// items running out, X, slashes, "$"), and free-form output.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/records.hpp"

namespace {

using Records = std::vector<std::string>;
using namespace std::string_view_literals;

Records encode(const char* format, std::initializer_list<rec::OutItem> items, bool* pending = nullptr) {
  rec::Encoded out;
  rec::encode(rec::Format(format), items, out);
  if (pending) *pending = out.pending;
  return out.records;
}

TEST(WriteStatement, ThirtyCharacterRecordOfZeros) {
  Records r = encode("(1x,f9.4,1x,f7.1,1x,e11.5)", {0.0, 0.0, 0.0});
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0], "     .0000      .0  .00000E+00");
  EXPECT_EQ(r[0].size(), 30u);
}

TEST(WriteStatement, ReversionWithoutGroupRestartsTheFormat) {
  EXPECT_EQ(encode("(i3)", {1, 2, 3}), (Records{"  1", "  2", "  3"}));
  EXPECT_EQ(encode("(' x',i2)", {1, 2}), (Records{" x 1", " x 2"}));
}

TEST(WriteStatement, ReversionResumesAtTheLastTopLevelGroup) {
  // The group keeps its repeat count; the leading i2 is not repeated.
  EXPECT_EQ(encode("(i2,2(1x,i1))", {1, 2, 3, 4, 5, 6, 7}), (Records{" 1 2 3", " 4 5", " 6 7"}));
  EXPECT_EQ(encode("(i1,(i2),i3)", {1, 2, 3, 4, 5}), (Records{"1 2  3", " 4  5"}));
}

TEST(WriteStatement, OneHundredSixtyValuesPerRecord) {
  std::vector<rec::OutItem> items(161, rec::OutItem(1.25f));
  rec::Encoded out;
  rec::encode(rec::Format("(160(f9.2,1x))"), std::span<const rec::OutItem>(items), out);
  ASSERT_EQ(out.records.size(), 2u);
  EXPECT_EQ(out.records[0].size(), 1599u);  // the last 1x is not part of the record
  EXPECT_EQ(out.records[0].substr(0, 20), "     1.25      1.25 ");
  EXPECT_EQ(out.records[1], "     1.25");
}

TEST(WriteStatement, ItemsRunningOutStopAtTheNextDataDescriptor) {
  const char* kWorking = "(' Working at ',f8.1,' - ',f8.1,' cm-1')";
  EXPECT_EQ(encode(kWorking, {2000.0f}), (Records{" Working at   2000.0 - "}));
  EXPECT_EQ(encode(kWorking, {2000.0f, 2100.0f}), (Records{" Working at   2000.0 -   2100.0 cm-1"}));
  EXPECT_EQ(encode("(3(f9.3,4x))", {1.0, 2.0}), (Records{"    1.000        2.000"}));
  EXPECT_EQ(encode("(' Table71 (spectrum as table)')", {}), (Records{" Table71 (spectrum as table)"}));
  EXPECT_EQ(encode("(i3,' end')", {}), (Records{""}));
}

TEST(WriteStatement, SlashesAfterTheItemsAreStillExecuted) {
  EXPECT_EQ(encode("(5x,A///)", {"x"sv}), (Records{"     x", "", "", ""}));
  EXPECT_EQ(encode("(i1/i1)", {1, 2}), (Records{"1", "2"}));
  EXPECT_EQ(encode("(i1,2/,i1)", {1, 2}), (Records{"1", "", "2"}));
  EXPECT_EQ(encode("(/,i1,/)", {1}), (Records{"", "1", ""}));
}

TEST(WriteStatement, SkippedPositions) {
  EXPECT_EQ(encode("(i2,5x)", {1}), (Records{" 1"}));          // not part of the record at its end
  EXPECT_EQ(encode("(i1,3x,i1)", {1, 2}), (Records{"1   2"}));  // blanks before a later field
  EXPECT_EQ(encode("(1x,a)", {"t"sv}), (Records{" t"}));
}

TEST(WriteStatement, DollarLeavesTheRecordOpen) {
  bool pending = false;
  EXPECT_EQ(encode("(a,$)", {"Continue? "sv}, &pending), (Records{"Continue? "}));
  EXPECT_TRUE(pending);
  encode("(a)", {"x"sv}, &pending);
  EXPECT_FALSE(pending);
  encode("(a,i3,$)", {"x"sv}, &pending);  // stopped at i3, before the "$"
  EXPECT_FALSE(pending);
}

TEST(WriteStatement, ScaleFactorAppliesToExponentFieldsOnly) {
  EXPECT_EQ(encode("(1pe9.2,1x,1pe9.2,1x,f5.1)", {1.0f, 2.0f, 12.5f}), (Records{" 1.00E+00  2.00E+00  12.5"}));
  EXPECT_EQ(encode("(1pe9.2,e9.2)", {1.5, 1.5}), (Records{" 1.50E+00 1.50E+00"}));  // stays in force
  EXPECT_EQ(encode("(1p,e9.2,0p,e9.2)", {1.5, 1.5}), (Records{" 1.50E+00  .15E+01"}));
  EXPECT_EQ(encode("(' K ',9(1pe9.2,1x))", {1.0, 2.0}), (Records{" K  1.00E+00  2.00E+00"}));
}

TEST(WriteStatement, QuotedTextBlanksAndCase) {
  EXPECT_EQ(encode("(1x,i2,'a''b')", {3}), (Records{"  3a'b"}));
  EXPECT_EQ(encode("(\"say \"\"hi\"\"\")", {}), (Records{"say \"hi\""}));
  EXPECT_EQ(encode("( 5X , A / )", {"x"sv}), encode("(5x,a/)", {"x"sv}));
  EXPECT_EQ(encode("(' 3 ',i3)", {22}), (Records{" 3  22"}));
  EXPECT_EQ(encode("(2i3)", {1, 2}), (Records{"  1  2"}));
}

TEST(WriteStatement, RecordsAreReusedAcrossStatements) {
  rec::Encoded out;
  rec::encode(rec::Format("(i1/i1/i1)"), {1, 2, 3}, out);
  rec::encode(rec::Format("(i2)"), {7}, out);
  EXPECT_EQ(out.records, (Records{" 7"}));
  EXPECT_FALSE(out.pending);
}

TEST(WriteStatement, WrongItemsAreBugs) {
  EXPECT_THROW(encode("(i3)", {1.0}), std::invalid_argument);
  EXPECT_THROW(encode("(f5.1)", {1}), std::invalid_argument);
  EXPECT_THROW(encode("(e9.2)", {"x"sv}), std::invalid_argument);
  EXPECT_THROW(encode("(a)", {1}), std::invalid_argument);
  EXPECT_THROW(encode("('no data')", {1}), std::invalid_argument);
  EXPECT_THROW(encode("(i1,2('x'))", {1, 2}), std::invalid_argument);  // reversion finds no data
}

TEST(FreeFormWrite, MemoryLine) {
  EXPECT_EQ(rec::encode_free({" Program requires approx. "sv, 141, " Mbytes"sv}),
            "  Program requires approx. 141 Mbytes");
}

TEST(FreeFormWrite, NoItemsIsAnEmptyRecord) { EXPECT_EQ(rec::encode_free({}), ""); }

TEST(FreeFormWrite, NumbersAreKeptApartByOneBlank) {
  EXPECT_EQ(rec::encode_free({1, -2, "x"sv, 3, " y"sv}), " 1 -2 x 3 y");
  EXPECT_EQ(rec::encode_free({2.5f, -3.0, 0.0, 0.25}), " 2.5 -3.0 0.0 0.25");
  EXPECT_EQ(rec::encode_free({1e20, 0.001f, 123456.7f}), " 1.0E+20 1.0E-03 123456.7");
  EXPECT_EQ(rec::encode_free({0.1f, 1.0 / 3.0}), " 0.1 0.3333333333333333");
  EXPECT_EQ(rec::encode_free({std::numeric_limits<double>::infinity()}), " ***");
}

}  // namespace
