// The deck reader of the interfering-gas program: the optional sixteenth
// line, the solar zenith angle, in the free forms a deck may give it.
#include "kormal/deck.hpp"

#include <gtest/gtest.h>

#include <string>

#include "common/stop.hpp"
#include "kormal/columns.hpp"
#include "program_run.hpp"

namespace {

const std::string kFifteenLines =
    "lines.hit\ntable76\n \n \nh 101\n0\nm\n0.0\ny\n6\n1.\n0.5\nd\nn\nn\n";

double angle_of(const std::string& deck) {
  testing_support::WorkDir dir;
  dir.write("input-kormal", deck);
  return kormal::read_deck((dir.path() / "input-kormal").string()).zenith_angle;
}

TEST(KormalDeck, ReadsTheSolarZenithAngleOfTheSixteenthLine) {
  EXPECT_EQ(angle_of(kFifteenLines), kormal::kDefaultZenithAngle);
  EXPECT_EQ(angle_of(kFifteenLines + "   \n"), kormal::kDefaultZenithAngle);  // blank: not given
  EXPECT_EQ(angle_of(kFifteenLines + "30.5  degrees\n"), 30.5);
  EXPECT_EQ(angle_of(kFifteenLines + "+4.5d1,comment\n"), 45.0);
  EXPECT_EQ(angle_of(kFifteenLines + "0\nmore text after the deck\n"), 0.0);
  EXPECT_EQ(angle_of(kFifteenLines + "89.99"), 89.99);  // no final line end
  EXPECT_THROW(angle_of(kFifteenLines + "90.0\n"), rec::Stop);
  EXPECT_THROW(angle_of(kFifteenLines + "-1e-9\n"), rec::Stop);
  EXPECT_THROW(angle_of(kFifteenLines + "inf\n"), rec::Stop);
}

// The angle is in degrees: 60 degrees doubles the vertical column (to the
// four decimals of pi the factor is formed with).
TEST(KormalDeck, SlantFactorOfTheAngle) {
  EXPECT_NEAR(kormal::slant_factor(60.0), 2.0, 2e-4);
  EXPECT_FLOAT_EQ(kormal::slant_factor(0.0), 1.0f);
}

}  // namespace
