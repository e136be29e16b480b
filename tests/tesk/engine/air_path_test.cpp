#include "tesk/engine/air_path.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "common/stop.hpp"
#include "tesk/limits.hpp"

namespace {

constexpr int kNlev = 80;
constexpr double kRadius = 6370.0;

// Layer altitudes at the middle of 1-km layers, in the level arrays' size.
rec::Levels<float> mid_layer_altitudes() {
  rec::Levels<float> alt(tesk::kMaxLevels + 1);
  for (int l = 1; l <= kNlev; ++l) alt(l) = static_cast<float>(l) - 0.5f;
  return alt;
}

TEST(GroundAirmass, OverheadSunGivesOneAtEveryLevel) {
  const rec::Levels<float> alt = mid_layer_altitudes();
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1);
  tesk::ground_airmass(0.0f, alt, kNlev, pathfac);
  for (int l = 1; l <= kNlev; ++l) {
    SCOPED_TRACE(l);
    EXPECT_NEAR(pathfac(l), 1.0f, 2.0e-7f);  // a rounding of (1 + h)^2 apart
  }
}

TEST(GroundAirmass, SecantOfZenithAngleAtTheGround) {
  struct Case {
    float zenith;
    double expected;  // 1 / cos of the angle converted with pi = 3.1415
  };
  const Case cases[] = {{0.0f, 1.0},
                        {30.0f, 1.0 / std::cos(30.0 * 3.1415 / 180.0)},
                        {60.0f, 1.0 / std::cos(60.0 * 3.1415 / 180.0)},
                        {75.0f, 1.0 / std::cos(75.0 * 3.1415 / 180.0)}};
  rec::Levels<float> alt(tesk::kMaxLevels + 1);  // all at 0 km
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zenith);
    tesk::ground_airmass(c.zenith, alt, kNlev, pathfac);
    EXPECT_NEAR(pathfac(1), c.expected, 2.0e-6 * c.expected);
  }
}

TEST(GroundAirmass, SixtyDegreesIsTwoAtTheGroundAndLessAbove) {
  rec::Levels<float> alt = mid_layer_altitudes();
  alt(1) = 0.0f;
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1);
  tesk::ground_airmass(60.0f, alt, kNlev, pathfac);
  EXPECT_NEAR(pathfac(1), 2.0f, 1.0e-3f);  // pi = 3.1415 makes it 1.99968
  for (int l = 2; l <= kNlev; ++l) {
    SCOPED_TRACE(l);
    EXPECT_LT(pathfac(l), pathfac(l - 1));
    EXPECT_GT(pathfac(l), 1.9f);  // the shell curvature at 80 km is small
  }
}

// Distance along the ray from the tangent point to altitude z, computed in
// double precision by hand.
double ray_distance(double z, double z0) {
  const double r = z + kRadius;
  const double r0 = z0 + kRadius;
  return std::sqrt(r * r - r0 * r0);
}

// Single-precision squares of 6380 km carry an error of a few km^2, so the
// distances near the tangent are good to a few tens of metres.
constexpr double kLimbTolerance = 0.05;  // km

TEST(LimbPathLengths, MatchesHandComputedDistances) {
  const rec::Levels<float> alt = mid_layer_altitudes();
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1, -1.0f);
  const int tangent = tesk::limb_path_lengths(10.0f, alt, kNlev, pathfac);
  ASSERT_EQ(tangent, 11);  // 10.5 km is the first altitude not below 10 km
  for (int l = 1; l < tangent; ++l) EXPECT_EQ(pathfac(l), 0.0f) << l;
  EXPECT_NEAR(pathfac(11), std::sqrt(0.5 * 12760.5), kLimbTolerance);  // 79.877 km
  EXPECT_NEAR(pathfac(12), std::sqrt(1.5 * 12761.5) - std::sqrt(0.5 * 12760.5), kLimbTolerance);
  double total = 0.0;
  for (int l = tangent; l <= kNlev; ++l) {
    SCOPED_TRACE(l);
    EXPECT_NEAR(pathfac(l), ray_distance(alt(l), 10.0) - (l == tangent ? 0.0 : ray_distance(alt(l - 1), 10.0)),
                kLimbTolerance);
    total += static_cast<double>(pathfac(l));
  }
  // The pieces add up to the distance from the tangent point to the top layer.
  EXPECT_NEAR(total, ray_distance(79.5, 10.0), kLimbTolerance);
  EXPECT_EQ(pathfac(kNlev + 1), -1.0f);
}

TEST(LimbPathLengths, TangentAtALevelAltitudeStartsThereWithZeroLength) {
  const rec::Levels<float> alt = mid_layer_altitudes();
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1);
  const int tangent = tesk::limb_path_lengths(20.5f, alt, kNlev, pathfac);
  ASSERT_EQ(tangent, 21);
  EXPECT_EQ(pathfac(21), 0.0f);
  EXPECT_NEAR(pathfac(22), std::sqrt(1.0 * (2.0 * kRadius + 41.0 + 1.0)), kLimbTolerance);  // 113.06 km
}

TEST(LimbPathLengths, TangentBelowTheLowestLevelUsesAllLayers) {
  const rec::Levels<float> alt = mid_layer_altitudes();
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1);
  EXPECT_EQ(tesk::limb_path_lengths(0.0f, alt, kNlev, pathfac), 1);
  EXPECT_NEAR(pathfac(1), ray_distance(0.5, 0.0), kLimbTolerance);
}

TEST(LimbPathLengths, TangentAboveEveryLevelStops) {
  const rec::Levels<float> alt = mid_layer_altitudes();
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1);
  for (float z0 : {79.6f, 100.0f}) {
    SCOPED_TRACE(z0);
    try {
      tesk::limb_path_lengths(z0, alt, kNlev, pathfac);
      ADD_FAILURE() << "no stop";
    } catch (const rec::Stop& e) {
      EXPECT_STREQ(e.what(), " Tangent altitude above the model atmosphere");
    }
  }
}

TEST(PathOrder, GroundPathRunsFromTheTopDown) {
  rec::Levels<int> levorder(tesk::kMaxLevels);
  EXPECT_EQ(tesk::path_order(kNlev, 0, tesk::Geometry::ground, levorder), kNlev);
  for (int i = 1; i <= kNlev; ++i) EXPECT_EQ(levorder(i), kNlev - i + 1) << i;
  for (int s = 1; s <= kNlev; ++s) EXPECT_EQ(tesk::segment_layer(tesk::Geometry::ground, levorder, s), s) << s;
}

TEST(PathOrder, LimbPathGoesDownToTheTangentAndUpAgain) {
  rec::Levels<int> levorder(tesk::kMaxLevels);
  const int nseg = tesk::path_order(kNlev, 11, tesk::Geometry::limb, levorder);
  ASSERT_EQ(nseg, 140);
  for (int i = 1; i <= 70; ++i) {
    EXPECT_EQ(levorder(i), kNlev - i + 1) << i;
    EXPECT_EQ(levorder(70 + i), 10 + i) << i;
  }
  // Every layer from the tangent up is crossed exactly twice, no other layer.
  int crossings[kNlev + 1] = {};
  for (int s = 1; s <= nseg; ++s) ++crossings[tesk::segment_layer(tesk::Geometry::limb, levorder, s)];
  for (int l = 1; l <= kNlev; ++l) EXPECT_EQ(crossings[l], l >= 11 ? 2 : 0) << l;
}

TEST(PathOrder, TooLongLimbPathReportsItsLengthWithoutOverrunningTheArray) {
  rec::Levels<int> levorder(tesk::kMaxLevels, -1);
  const int nseg = tesk::path_order(kNlev, 1, tesk::Geometry::limb, levorder);
  EXPECT_EQ(nseg, 160);
  EXPECT_GT(nseg, tesk::kMaxLevels);  // the caller's stop
  EXPECT_EQ(levorder(80), 1);
  EXPECT_EQ(levorder(81), 1);
  EXPECT_EQ(levorder(tesk::kMaxLevels), tesk::kMaxLevels - 80);
}

}  // namespace
