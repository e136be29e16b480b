// Piecewise-linear interpolation with extrapolation along the end segments.

#include "tesk/atmosphere/interpolate.hpp"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "common/stop.hpp"

namespace tesk {
namespace {

struct Case {
  const char* what;
  std::vector<float> x;
  std::vector<float> y;
  float xq;
  float expected;
};

TEST(InterpolateProfile, BracketsAndExtrapolations) {
  const std::vector<float> x{0.0f, 1.0f, 3.0f, 7.0f};
  const std::vector<float> y{10.0f, 8.0f, 4.0f, 0.0f};
  const Case cases[] = {
      {"at the first abscissa", x, y, 0.0f, 10.0f},
      {"inside the first segment", x, y, 0.25f, 9.5f},
      {"at an inner abscissa: the segment above it", x, y, 1.0f, 8.0f},
      {"inside a middle segment", x, y, 2.0f, 6.0f},
      {"inside the last segment", x, y, 6.0f, 1.0f},
      {"at the last abscissa", x, y, 7.0f, 0.0f},
      {"below the profile: along the first segment", x, y, -1.0f, 12.0f},
      {"above the profile: along the last segment", x, y, 9.0f, -2.0f},
      {"two points, between them", {2.0f, 4.0f}, {1.0f, 3.0f}, 3.5f, 2.5f},
      {"two points, at the last", {2.0f, 4.0f}, {1.0f, 3.0f}, 4.0f, 3.0f},
      {"two points, below", {2.0f, 4.0f}, {1.0f, 3.0f}, 0.0f, -1.0f},
      {"negative abscissae, as the negated densities", {-9.0f, -5.0f, -1.0f}, {0.0f, 4.0f, 6.0f},
       -3.0f, 5.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FLOAT_EQ(interpolate_profile(c.x, c.y, c.xq), c.expected);
  }
}

TEST(InterpolateProfile, LastAbscissaGivesLastOrdinateExactly) {
  // A pressure-temperature profile ending at the model top gives the top
  // boundary exactly its last density, not an extrapolated neighbour.
  const std::vector<float> x{0.0f, 0.1f, 0.3f};
  const std::vector<float> y{1.0f, 0.7f, 0.123456789f};
  EXPECT_EQ(interpolate_profile(x, y, 0.3f), y[2]);
}

TEST(InterpolateProfile, EqualEndsStopWhenNothingBrackets) {
  const char* const msg = "something wrong in interpolation/extrapolation of vmr, ...";
  struct StopCase {
    const char* what;
    std::vector<float> x;
    float xq;
  };
  const StopCase cases[] = {
      {"equal ends, query above", {5.0f, 5.0f}, 6.0f},
      {"equal ends, query below", {5.0f, 5.0f}, 4.0f},
      {"equal ends, query on them", {5.0f, 5.0f}, 5.0f},
      {"a single point", {5.0f}, 5.0f},
      {"no point", {}, 0.0f},
      {"falling abscissae", {3.0f, 2.0f, 1.0f}, 2.5f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<float> y(c.x.size(), 1.0f);
    try {
      interpolate_profile(c.x, y, c.xq);
      ADD_FAILURE() << "no stop";
    } catch (const rec::Stop& e) {
      EXPECT_STREQ(e.what(), msg);
    }
  }
}

TEST(InterpolateProfile, EqualEndsWithABracketStillInterpolate) {
  // Only a query outside every segment needs rising ends.
  const std::vector<float> x{0.0f, 2.0f, 0.0f};
  const std::vector<float> y{0.0f, 4.0f, 0.0f};
  EXPECT_FLOAT_EQ(interpolate_profile(x, y, 1.0f), 2.0f);
}

}  // namespace
}  // namespace tesk
