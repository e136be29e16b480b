// Line intensities at a level, Doppler and Lorentz widths, and the Voigt
// profile accumulation: physical limits (Boltzmann and stimulated emission,
// Maxwell-Boltzmann width, conserved area, Lorentz wings) and the walking and
// cut-off rules at the interval edges.
#include "tesk/engine/line_shape.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "tesk/engine/voigt.hpp"
#include "tesk/partition/partition.hpp"

namespace {

using tesk::add_voigt_line;
using tesk::doppler_halfwidth;
using tesk::line_intensity_at;
using tesk::lorentz_halfwidth;

const double kPi = std::acos(-1.0);
const float kSqrtLn2 = static_cast<float>(std::sqrt(std::log(2.0)));

// ---------------------------------------------------------------- intensity

// Gases whose partition data need no vibrational fit, or have none: at 296 K
// the Boltzmann, emission and partition factors are all 1.
TEST(LineIntensity, AtReferenceTemperatureIsListedIntensityTimesPath) {
  struct Case {
    int gas;
    double nu0;
    double elow;
  };
  const Case cases[] = {
      {1, 1500.0, 0.0}, {5, 2100.0, 3000.0}, {22, 10.0, 50.0}, {54, 900.0, 500.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gas);
    const double s = line_intensity_at({c.gas, c.nu0, 2.0e-20, c.elow}, {296.0f, 2.5e19f, 1.5f});
    EXPECT_NEAR(s / (2.0e-20 * 2.5e19 * 1.5), 1.0, 1e-6);
  }
}

// Population of the lower state: lines of high E'' weaken in cold air. The
// program's c2 is 1.439 against hc/k = 1.43878 cm K, hence the tolerance.
TEST(LineIntensity, BoltzmannFactorOfTheLowerState) {
  const double c2 = 1.4387769;
  for (float t : {200.0f, 250.0f, 320.0f}) {
    SCOPED_TRACE(t);
    const double hot = line_intensity_at({2, 2300.0, 1e-20, 1500.0}, {t, 1e19f, 1.0f});
    const double cold = line_intensity_at({2, 2300.0, 1e-20, 0.0}, {t, 1e19f, 1.0f});
    EXPECT_NEAR(hot / cold / std::exp(-c2 * 1500.0 * (1.0 / static_cast<double>(t) - 1.0 / 296.0)), 1.0, 1e-3);
  }
}

// Stimulated emission: (1 - exp(-c2 nu/T)) / (1 - exp(-c2 nu/296)) is 296/T
// for nu -> 0 and 1 in the infrared. Gas 22 has no partition data, so only
// this factor is left at E'' = 0.
TEST(LineIntensity, StimulatedEmissionLimits) {
  const auto ratio = [](double nu0, float t) {
    return line_intensity_at({22, nu0, 1e-20, 0.0}, {t, 1e19f, 1.0f}) /
           line_intensity_at({22, nu0, 1e-20, 0.0}, {296.0f, 1e19f, 1.0f});
  };
  EXPECT_NEAR(ratio(0.5, 148.0f), 2.0, 3e-3);
  EXPECT_NEAR(ratio(0.5, 222.0f), 296.0 / 222.0, 3e-3);
  EXPECT_NEAR(ratio(4000.0, 148.0f), 1.0, 1e-8);
}

TEST(LineIntensity, PartitionRatioOnlyForMoleculesWithData) {
  for (float t : {180.0f, 240.0f, 300.0f}) {
    SCOPED_TRACE(t);
    const auto at = [t](int gas) {
      return line_intensity_at({gas, 2300.0, 1e-20, 400.0}, {t, 1e19f, 1.2f});
    };
    EXPECT_NEAR(at(2) / at(22) / static_cast<double>(tesk::partition_ratio(2, t)), 1.0, 1e-12);
    EXPECT_NEAR(at(6) / at(22) / static_cast<double>(tesk::partition_ratio(6, t)), 1.0, 1e-12);
    EXPECT_NEAR(at(46) / at(22) / static_cast<double>(tesk::partition_ratio(32, t)), 1.0, 1e-12);  // last row
    // Gases mapped to, or numbered, above 32 get the ratio 1.
    for (int gas : {27, 33, 34, 35, 51, 52}) EXPECT_EQ(at(gas), at(22)) << "gas " << gas;
    EXPECT_EQ(at(49), at(1));  // HDO has water's partition function
  }
}

// ------------------------------------------------------------------- widths

// sqrt(2 ln2 k T / m) nu0 / c from the physical constants.
double maxwell_hwhm(double nu0, double t, double mass_amu) {
  const double k = 1.380649e-23, amu = 1.66053906660e-27, c = 2.99792458e8;
  return nu0 / c * std::sqrt(2.0 * std::log(2.0) * k * t / (mass_amu * amu));
}

TEST(DopplerHalfwidth, IsTheMaxwellBoltzmannHalfWidthAtHalfMaximum) {
  struct Case {
    int gas;
    double mass;
    double nu0;
    float t;
  };
  const Case cases[] = {{1, 18, 1500.0, 290.0f}, {6, 16, 3000.0, 220.0f}, {2, 44, 2300.0, 250.0f},
                        {49, 19, 2700.0, 200.0f}, {53, 101, 1000.0, 296.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gas);
    EXPECT_NEAR(static_cast<double>(doppler_halfwidth(c.gas, c.nu0, c.t)) / maxwell_hwhm(c.nu0, static_cast<double>(c.t), c.mass), 1.0, 1e-3);
  }
}

TEST(DopplerHalfwidth, FixedRelativeWidthAboveTheMassTable) {
  for (int gas : {54, 60, 120}) {
    SCOPED_TRACE(gas);
    EXPECT_NEAR(static_cast<double>(doppler_halfwidth(gas, 2500.0, 200.0f)) / (2e-6 * 2500.0), 1.0, 1e-6);
    EXPECT_EQ(doppler_halfwidth(gas, 2500.0, 200.0f), doppler_halfwidth(gas, 2500.0, 300.0f));
  }
}

TEST(LorentzHalfwidth, ScalesWithPressureAndTemperature) {
  struct Case {
    float pres;
    float t;
    float n;
    double factor;  // of the 296 K, 1013 hPa width
  };
  const Case cases[] = {{1013.0f, 296.0f, 0.75f, 1.0},
                        {506.5f, 296.0f, 0.75f, 0.5},
                        {1013.0f, 148.0f, 0.5f, std::sqrt(2.0)},
                        {1013.0f, 148.0f, 0.75f, std::pow(2.0, 0.75)},
                        {1.013f, 222.0f, 0.0f, 1e-3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pres << " hPa, " << c.t << " K");
    EXPECT_NEAR(static_cast<double>(lorentz_halfwidth(c.pres, 0.07f, c.n, c.t)) / (0.07 * c.factor), 1.0, 1e-6);
  }
}

// ------------------------------------------------------------------ profile

// A grid whose points and differences are exact in binary.
struct Interval {
  float vstart;
  float grid;
  int npts;
  float vend() const { return vstart + static_cast<float>(npts) * grid; }
  double at(int j) const { return static_cast<double>(vstart) + j * static_cast<double>(grid); }
};

struct Line {
  double s_l;
  double nu0;
  float alpha_d;
  float alpha_l;
  float threshold = 1e-12f;
};

// The optical-depth row of one line on an interval, with guard cells on both
// sides that catch writes outside points 0..npts.
class Profile {
 public:
  Profile(const Interval& iv, const Line& line)
      : buf_(static_cast<std::size_t>(iv.npts + 1) + 2 * kGuard, 0.0) {
    add_voigt_line(std::span<double>(buf_).subspan(kGuard, buf_.size() - 2 * kGuard), line.s_l,
                   tesk::IntervalGrid{iv.vstart, iv.vend(), iv.grid, iv.npts},
                   tesk::LineProfile{line.nu0, line.alpha_d, line.alpha_l}, line.threshold);
  }
  double operator[](int j) const { return buf_[static_cast<std::size_t>(j) + kGuard]; }
  int npts() const { return static_cast<int>(buf_.size() - 2 * kGuard) - 1; }
  bool guards_clean() const {
    const auto zero = [](double v) { return v == 0.0; };
    return std::all_of(buf_.begin(), buf_.begin() + kGuard, zero) &&
           std::all_of(buf_.end() - kGuard, buf_.end(), zero);
  }
  int peak() const {
    int jc = 0;
    for (int j = 1; j <= npts(); ++j) {
      if ((*this)[j] > (*this)[jc]) jc = j;
    }
    return jc;
  }
  // Index of the last nonzero point, -1 if none.
  int last_nonzero() const {
    for (int j = npts(); j >= 0; --j) {
      if ((*this)[j] != 0.0) return j;
    }
    return -1;
  }

 private:
  static constexpr std::size_t kGuard = 4;
  std::vector<double> buf_;
};

// A thin high layer: the Lorentz width (0.01 hPa) is a ten-thousandth of the
// Doppler width, so the profile is the Gaussian of the Doppler half width.
TEST(AddVoigtLine, DopplerCoreOfAThinHighLayerHasTheGaussianWidth) {
  const int gas = 6;  // CH4
  const double nu0 = 3000.0;
  const float t = 220.0f;
  const float alpha_d = doppler_halfwidth(gas, nu0, t);
  const float alpha_l = lorentz_halfwidth(0.01f, 0.06f, 0.75f, t);
  ASSERT_LT(alpha_l, 1e-3f * alpha_d);
  const Interval iv{2999.98f, 1e-5f, 4000};
  const Profile r(iv, {1.0, nu0, alpha_d, alpha_l});
  const int jc = r.peak();
  const double half = r[jc] / 2.0;
  int i = 1;
  while (r[jc + i] >= half) ++i;
  EXPECT_EQ(r[jc + i], r[jc - i]);  // symmetric about the centre
  const double hwhm = static_cast<double>(iv.grid) * ((i - 1) + (r[jc + i - 1] - half) / (r[jc + i - 1] - r[jc + i]));
  EXPECT_NEAR(2.0 * hwhm / (2.0 * maxwell_hwhm(nu0, static_cast<double>(t), 16.0)), 1.0, 1e-3);
}

// The rectangle sum over a well-resolved line equals its optical depth,
// less the Lorentz tails beyond the interval, (alpha_l / pi)(1/a + 1/b); far
// out the profile is the Lorentz one, S alpha_l / (pi (d^2 + alpha_l^2)), up
// to the Doppler correction 3 / (2 x^2) < 1e-5.
TEST(AddVoigtLine, WellResolvedLineConservesArea) {
  struct Case {
    float y;       // alpha_l / alpha_d
    float offset;  // line centre above a grid point, in grid steps
  };
  const Case cases[] = {{1e-3f, 0.0f}, {0.1f, 0.0f}, {1.0f, 0.3f}, {4.0f, 0.0f}, {1.0f, -0.45f}};
  const Interval iv{1000.0f, 1.0f / 64.0f, 30000};
  const float alpha_d = 0.25f;  // 16 grid steps
  const int jc = 15000;
  const double s_l = 3.7;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "y = " << c.y << ", offset = " << c.offset);
    const double alpha_l = c.y * alpha_d;
    const Profile r(iv, {s_l, iv.at(jc) + static_cast<double>(c.offset * iv.grid), alpha_d, c.y * alpha_d});
    ASSERT_TRUE(r.guards_clean());
    double area = 0.0;
    for (int j = 0; j <= iv.npts; ++j) area += r[j] * static_cast<double>(iv.grid);
    const double a = (jc + 0.5) * static_cast<double>(iv.grid);
    const double b = (iv.npts - jc + 0.5) * static_cast<double>(iv.grid);
    EXPECT_NEAR(area / (s_l * (1.0 - alpha_l / kPi * (1.0 / a + 1.0 / b))), 1.0, 1e-3);
    const double d = 14000 * static_cast<double>(iv.grid);  // 219 cm-1
    EXPECT_NEAR(r[jc + 14000] / (s_l * alpha_l / (kPi * (d * d + alpha_l * alpha_l))), 1.0, 1e-4);
  }
}

// A line exactly on either edge is an inside line: it is centred on the edge
// point and spreads one wing into the interval, with the same values, bit for
// bit, as the same line in the middle of a wider interval. Just outside, the
// line is walked from the edge, with the same profile to the precision of the
// single-precision distance.
TEST(AddVoigtLine, LineOnAnEdgeCountsAsInside) {
  const Interval iv{1000.0f, 0.0625f, 400};
  const Interval wide{1000.0f - 400 * 0.0625f, 0.0625f, 800};
  const float alpha_d = 0.2f;
  const float alpha_l = 0.05f;
  const Profile mid(wide, {1.0, wide.at(400), alpha_d, alpha_l});
  const Profile at_start(iv, {1.0, static_cast<double>(iv.vstart), alpha_d, alpha_l});
  const Profile at_end(iv, {1.0, static_cast<double>(iv.vend()), alpha_d, alpha_l});
  EXPECT_TRUE(at_start.guards_clean());
  EXPECT_TRUE(at_end.guards_clean());
  for (int i = 0; i <= iv.npts; ++i) {
    ASSERT_EQ(at_start[i], mid[400 + i]) << i;
    ASSERT_EQ(at_end[iv.npts - i], mid[400 - i]) << i;
  }
  EXPECT_GT(at_start[iv.npts], 0.0);  // a negligible threshold lets the wing reach the far edge
  EXPECT_GT(at_end[0], 0.0);

  const Profile below(iv, {1.0, std::nextafter(static_cast<double>(iv.vstart), 0.0), alpha_d, alpha_l});
  const Profile above(iv, {1.0, std::nextafter(static_cast<double>(iv.vend()), 2000.0), alpha_d, alpha_l});
  for (int j : {0, 1, 10, 100, 399, 400}) {
    EXPECT_NEAR(below[j] / at_start[j], 1.0, 1e-5) << j;
    EXPECT_NEAR(above[j] / at_end[j], 1.0, 1e-5) << j;
  }
}

// The centre goes on the nearest grid point, halves upwards.
TEST(AddVoigtLine, CentreOnTheNearestGridPoint) {
  const Interval iv{1000.0f, 0.0625f, 40};
  const struct {
    double offset;  // line above vstart, in grid steps
    int jc;
  } cases[] = {{0.49, 0}, {0.51, 1}, {2.5, 3}, {7.3, 7}, {39.6, 40}, {40.0, 40}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offset);
    const Profile r(iv, {1.0, static_cast<double>(iv.vstart) + c.offset * static_cast<double>(iv.grid), 0.2f, 0.05f});
    EXPECT_EQ(r.peak(), c.jc);
    if (c.jc > 0 && c.jc < iv.npts) {
      EXPECT_EQ(r[c.jc - 1], r[c.jc + 1]);
    }
  }
}

// A centre on point 0 has no lower wing: the upper one runs until it falls
// below the threshold, or to the last point, and nothing is written outside.
TEST(AddVoigtLine, CentreOnFirstPointFillsOnlyTheUpperSide) {
  const Interval short_iv{1000.0f, 0.0625f, 20};
  const Profile full(short_iv, {1.0, static_cast<double>(short_iv.vstart) + 0.4 * static_cast<double>(short_iv.grid), 0.2f, 0.01f, 1e-12f});
  EXPECT_TRUE(full.guards_clean());
  EXPECT_EQ(full.last_nonzero(), short_iv.npts);

  const Interval iv{1000.0f, 0.0625f, 400};
  const Profile cut(iv, {1.0, static_cast<double>(iv.vstart) + 0.4 * static_cast<double>(iv.grid), 0.2f, 0.01f, 1e-4f});
  EXPECT_TRUE(cut.guards_clean());
  const int last = cut.last_nonzero();
  EXPECT_GT(last, 5);
  EXPECT_LT(last, iv.npts);
  for (int j = 1; j <= last; ++j) EXPECT_LT(cut[j], cut[j - 1]) << j;
}

// Lines outside the interval are walked from the nearest edge: a line above
// gives the mirror image of a line as far below, and each wing ends at the
// first point under the threshold without adding it.
TEST(AddVoigtLine, OutsideLinesWalkFromTheNearestEdge) {
  const Interval iv{1000.0f, 0.0625f, 400};
  const float alpha_d = 0.2f;
  const Profile below(iv, {1.0, static_cast<double>(iv.vstart) - 1.0, alpha_d, 0.05f, 1e-4f});
  const Profile above(iv, {1.0, static_cast<double>(iv.vend()) + 1.0, alpha_d, 0.05f, 1e-4f});
  EXPECT_TRUE(below.guards_clean());
  EXPECT_TRUE(above.guards_clean());
  const int last = below.last_nonzero();
  ASSERT_GT(last, 0);
  ASSERT_LT(last, iv.npts);
  for (int j = 0; j <= iv.npts; ++j) ASSERT_EQ(below[j], above[iv.npts - j]) << j;
  // The last point added is at or above the threshold, without the norm.
  const double norm = static_cast<double>(kSqrtLn2) / (kPi * static_cast<double>(alpha_d));
  EXPECT_GE(below[last] / norm, 1e-4 * (1.0 - 1e-6));
}

// The threshold compares S * W without the area normalisation c / (pi alpha_d),
// here 26.5: a first value of half the threshold stops the line at once, a
// first value of twice the threshold is added.
TEST(AddVoigtLine, ThresholdUsesTheUnnormalisedValue) {
  const Interval iv{1000.0f, 0.0625f, 400};
  const float alpha_d = 0.01f;
  const float alpha_l = 0.002f;
  const float threshold = 1e-8f;
  const float y = kSqrtLn2 * alpha_l / alpha_d;
  const double distance = 0.5;  // line below vstart
  const double w_first = tesk::voigt_w4(static_cast<float>(static_cast<double>(kSqrtLn2) * distance / static_cast<double>(alpha_d)), y);
  ASSERT_GT(static_cast<double>(kSqrtLn2) / (kPi * static_cast<double>(alpha_d)), 20.0);
  const double nu0 = static_cast<double>(iv.vstart) - distance;
  const Profile under(iv, {0.5 * static_cast<double>(threshold) / w_first, nu0, alpha_d, alpha_l, threshold});
  const Profile over(iv, {2.0 * static_cast<double>(threshold) / w_first, nu0, alpha_d, alpha_l, threshold});
  EXPECT_EQ(under.last_nonzero(), -1);
  EXPECT_GE(over.last_nonzero(), 0);

  // Inside: the centre is added without a test; the first wing point under
  // the threshold is still added on both sides, and the wing ends there.
  const Interval fine{1000.0f, 1.0f / 4096.0f, 400};
  const double w1 = tesk::voigt_w4(kSqrtLn2 * fine.grid / alpha_d, y);
  const Profile r(fine, {0.5 * static_cast<double>(threshold) / w1, fine.at(200), alpha_d, alpha_l, threshold});
  for (int j : {199, 200, 201}) EXPECT_GT(r[j], 0.0) << j;
  EXPECT_EQ(r[198], 0.0);
  EXPECT_EQ(r[202], 0.0);
}

// The count a line reports is the number of points it changed, for lines
// inside the interval, at its edges and outside it on both sides.
TEST(AddVoigtLine, CountsThePointsItAddsTo) {
  const int npts = 400;
  const float vstart = 2000.0f, grid = 0.01f;
  const float vend = vstart + npts * grid;
  for (double nu0 : {2000.0, 2001.003, 2003.999, 2004.0, 1999.5, 2004.7, 1990.0}) {
    SCOPED_TRACE(nu0);
    std::vector<double> row(npts + 1, 0.0);
    const int n = add_voigt_line(row, 1e-3, tesk::IntervalGrid{vstart, vend, grid, npts},
                                 tesk::LineProfile{nu0, 3e-3f, 0.05f}, 1e-8f);
    int changed = 0;
    for (double v : row) changed += v != 0.0;
    EXPECT_EQ(n, changed);
  }
}

}  // namespace
