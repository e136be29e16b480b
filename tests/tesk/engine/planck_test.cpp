#include "tesk/engine/planck.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "common/stop.hpp"

namespace {

constexpr double kC1 = 1.1e-8f;  // the radiation constants as the program holds them
constexpr double kC2 = 1.43f;

TEST(Planck, ZeroTemperatureGivesZero) {
  EXPECT_EQ(tesk::planck(2000.0f, 0.0f), 0.0);
  EXPECT_EQ(tesk::planck(2000.0f, -0.0f), 0.0);
}

TEST(Planck, NegativeTemperatureStops) {
  for (float t : {-1.0f, -300.0f, -1.0e-20f}) {
    SCOPED_TRACE(t);
    try {
      tesk::planck(2000.0f, t);
      ADD_FAILURE() << "no stop";
    } catch (const rec::Stop& e) {
      EXPECT_STREQ(e.what(), "Blackbody temperature is negative");
    }
  }
}

TEST(Planck, TinyTemperatureGivesTinyFiniteRadiance) {
  for (float t : {1.0f, 1.0e-3f, 1.0e-30f}) {
    SCOPED_TRACE(t);
    const double b = tesk::planck(3000.0f, t);
    EXPECT_GT(b, 0.0);
    EXPECT_NEAR(b, kC1 * 27.0e9 * std::exp(-200.0), 1e-12 * b);  // exponent capped at 200
  }
}

TEST(Planck, RayleighJeansLimitAtLowWavenumber) {
  // c1 nu^3 / (exp(x) - 1) -> c1 nu^2 T / c2 (1 - x/2) for x = c2 nu / T << 1.
  const float nu = 1.0f;
  const float t = 5000.0f;
  const double x = kC2 * static_cast<double>(nu) / static_cast<double>(t);
  const double expected = kC1 * static_cast<double>(nu) * static_cast<double>(nu) * static_cast<double>(t) / kC2 * (1.0 - x / 2.0);
  EXPECT_NEAR(tesk::planck(nu, t), expected, 1e-7 * expected);
}

TEST(BrightnessTemperature, InvertsPlanck) {
  const float vstart = 700.0f;
  const float grid = 125.0f;
  const int npts = 32;  // 700 to 4700 cm-1
  for (float t : {180.0f, 250.0f, 296.0f, 1000.0f, 5800.0f}) {
    SCOPED_TRACE(t);
    std::vector<double> spec(npts + 1);
    for (int j = 0; j <= npts; ++j) spec[static_cast<std::size_t>(j)] = tesk::planck(vstart + static_cast<float>(j) * grid, t);
    tesk::brightness_temperature(spec, tesk::IntervalGrid{vstart, 0.0f, grid, npts});
    for (int j = 0; j <= npts; ++j) EXPECT_NEAR(spec[static_cast<std::size_t>(j)], t, 1e-9 * static_cast<double>(t)) << j;
  }
}

TEST(BrightnessTemperature, ValuesWithoutATemperatureBecomeZero) {
  std::vector<double> spec = {0.0, -1.0e-3, std::numeric_limits<double>::quiet_NaN(), -0.0, 1.0};
  tesk::brightness_temperature(spec, tesk::IntervalGrid{2000.0f, 0.0f, 0.01f, 3});
  EXPECT_EQ(spec[0], 0.0);
  EXPECT_EQ(spec[1], 0.0);
  EXPECT_EQ(spec[2], 0.0);
  EXPECT_EQ(spec[3], 0.0);
  EXPECT_EQ(spec[4], 1.0);  // beyond npts: untouched
}

}  // namespace
