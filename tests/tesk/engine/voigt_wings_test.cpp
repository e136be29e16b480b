// The blocked walk of the Voigt profile, as compiled for every vector unit
// the machine has, against the plain, point-by-point walk: the same
// optical-depth bits and the same point count for lines
// inside, on the edges of and outside the interval, for wings that end at
// every position of the first blocks, and for every region of the Voigt
// function.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <span>
#include <vector>

#include "tesk/engine/line_shape.hpp"
#include "tesk/engine/voigt.hpp"

namespace {

using tesk::IntervalGrid;

// sqrt(ln 2) as the line shapes hold it (one unit in the last place below
// the float nearest to the true value): thresholds placed on the values of
// single points must use the same arguments.
constexpr float kSqrtLn2 = 0.8325546f;

struct Line {
  double nu0;
  float alpha_d;
  float alpha_l;
  float threshold;
  double s_l = 1.0;
};

// The vector units this machine runs: the blocked walk of each is compared.
std::vector<tesk::VectorUnit> available_units() {
  std::vector<tesk::VectorUnit> units;
  for (tesk::VectorUnit u : {tesk::VectorUnit::baseline, tesk::VectorUnit::avx2, tesk::VectorUnit::avx512f}) {
    if (tesk::vector_unit_available(u)) units.push_back(u);
  }
  return units;
}

// Adds the line with the plain walk and with the blocked walk of every
// available vector unit to rows that already hold optical depths (so the
// additions themselves are compared, not just the profile values), with
// guard cells on both sides; expects the same bits everywhere and the same
// count. Returns that count.
int expect_same(const IntervalGrid& g, const Line& line) {
  constexpr int kGuard = 3;
  const std::size_t size = static_cast<std::size_t>(std::max(g.npts, 0)) + 1 + 2 * kGuard;
  std::vector<double> plain(size);
  for (std::size_t i = 0; i < size; ++i) plain[i] = 1e-3 * static_cast<double>(i % 7);
  const std::vector<double> before = plain;
  const auto row = [&](std::vector<double>& v) { return std::span<double>(v).subspan(kGuard, size - 2 * kGuard); };
  const int n_plain =
      tesk::add_voigt_line_plain(row(plain), line.s_l, g, {line.nu0, line.alpha_d, line.alpha_l}, line.threshold);
  for (tesk::VectorUnit unit : available_units()) {
    SCOPED_TRACE(testing::Message() << "vector unit " << static_cast<int>(unit));
    std::vector<double> blocked = before;
    const int n_blocked = tesk::add_voigt_line_on(unit, row(blocked), line.s_l, g,
                                                  {line.nu0, line.alpha_d, line.alpha_l}, line.threshold);
    EXPECT_EQ(n_blocked, n_plain);
    for (std::size_t i = 0; i < size; ++i) {
      if (std::memcmp(&plain[i], &blocked[i], sizeof(double)) != 0) {
        ADD_FAILURE() << "first difference at row index " << static_cast<int>(i) - kGuard << ": " << plain[i]
                      << " plain, " << blocked[i] << " blocked";
        break;
      }
    }
  }
  return n_plain;
}

IntervalGrid grid_of(float vstart, float grid, int npts) {
  return IntervalGrid{vstart, vstart + static_cast<float>(npts) * grid, grid, npts};
}

// Lines inside, on both edges and on both sides of intervals from a single
// point to several blocks; wings that cross block borders, reach the far
// edge, or stop early.
TEST(VoigtWings, SameBitsAsThePlainWalkAcrossIntervalsAndPositions) {
  const float grid = 0.001f;
  const float vstart = 2950.0f;
  for (int npts : {-1, 0, 1, 2, 63, 64, 65, 127, 128, 129, 700}) {
    const IntervalGrid g = grid_of(vstart, grid, npts);
    const double span = static_cast<double>(npts) * static_cast<double>(grid);
    const double positions[] = {vstart,
                                g.vend,
                                static_cast<double>(vstart) + 0.4 * static_cast<double>(grid),
                                static_cast<double>(vstart) + 0.5 * span,
                                static_cast<double>(vstart) + 0.37 * span,
                                static_cast<double>(g.vend) - 2.6 * static_cast<double>(grid),
                                static_cast<double>(vstart) - 0.3 * static_cast<double>(grid),
                                static_cast<double>(vstart) - 0.05,
                                static_cast<double>(vstart) - 1.5,
                                static_cast<double>(g.vend) + 0.3 * static_cast<double>(grid),
                                static_cast<double>(g.vend) + 0.07,
                                static_cast<double>(g.vend) + 1.9};
    for (double nu0 : positions) {
      for (float threshold : {1e-12f, 1e-8f, 1e-4f}) {
        SCOPED_TRACE(testing::Message() << "npts " << npts << ", nu0 " << nu0 << ", threshold " << threshold);
        expect_same(g, {nu0, 4.2e-3f, 1.5e-3f, threshold, 1e-3});
      }
    }
  }
}

// A grid whose last point lies above vend: a line just above vend is then
// below the last point, and the walk from the top starts on the far side of
// the centre, with negative distances.
TEST(VoigtWings, LineAboveTheIntervalButBelowItsLastPoint) {
  const IntervalGrid g{2950.0f, 2950.0f + 199.6f * 0.001f, 0.001f, 200};
  ASSERT_LT(g.vend, g.nu(g.npts));
  for (double nu0 : {std::nextafter(static_cast<double>(g.vend), 3000.0), static_cast<double>(g.vend) + 2e-4}) {
    SCOPED_TRACE(nu0);
    expect_same(g, {nu0, 4.2e-3f, 1e-4f, 1e-12f});
  }
}

// The Voigt function changes region where |x| + y passes 15 and 5.5 and,
// below that, where y passes 0.195 |x| - 0.176. Doppler widths of a few grid
// steps and Lorentz widths from the stratosphere to far below the ground put
// every region, and every change of region, inside the first blocks.
TEST(VoigtWings, SameBitsInEveryRegionOfTheVoigtFunction) {
  const IntervalGrid g = grid_of(2950.0f, 0.001f, 600);
  for (float y : {0.0f, 1e-3f, 0.03f, 0.3f, 1.0f, 3.0f, 6.0f, 12.0f, 16.0f}) {
    for (float alpha_d : {5e-4f, 2e-3f, 4.2e-3f, 2e-2f}) {
      const float alpha_l = y * alpha_d / kSqrtLn2;
      for (double nu0 : {2950.3004, 2950.0 - 0.02, 2950.6 + 0.013}) {
        SCOPED_TRACE(testing::Message() << "y " << y << ", alpha_d " << alpha_d << ", nu0 " << nu0);
        expect_same(g, {nu0, alpha_d, alpha_l, 1e-12f});
      }
    }
  }
}

// Thresholds that stop the wing at each position 0..kLast of the walk, so
// that it ends on the first point of a block, on its last point and
// everywhere between, for a line inside (both sides), below and above the
// interval. Each threshold lies just above the value at the chosen point and
// below the one before it, as the wing falls monotonically.
TEST(VoigtWings, ThresholdMetAtEveryPositionOfTheFirstBlocks) {
  constexpr int kLast = 200;
  const IntervalGrid g = grid_of(2950.0f, 0.001f, 1000);
  const float alpha_d = 4.2e-3f, alpha_l = 2e-3f;
  const float y = kSqrtLn2 * alpha_l / alpha_d;
  const double s_l = 1e-6;
  const auto above = [](double v) { return std::nextafter(static_cast<float>(v), 1.0f); };

  // Inside, centred on point 500: step i of the walk has the argument of i grid steps.
  std::set<int> inside_counts;
  for (int i = 1; i <= kLast; ++i) {
    const double v = s_l * static_cast<double>(tesk::voigt_w4(kSqrtLn2 * static_cast<float>(i) * g.grid / alpha_d, y));
    inside_counts.insert(expect_same(g, {static_cast<double>(g.nu(500)), alpha_d, alpha_l, above(v), s_l}));
  }
  // Outside, 0.05 cm-1 below vstart and above vend: point k of the walk is
  // grid point k, or npts - k.
  std::set<int> below_counts, above_counts;
  const double nu_below = static_cast<double>(g.vstart) - 0.05, nu_above = static_cast<double>(g.vend) + 0.05;
  const auto value = [&](double delta) {
    return s_l * static_cast<double>(tesk::voigt_w4(static_cast<float>(static_cast<double>(kSqrtLn2) * delta / static_cast<double>(alpha_d)), y));
  };
  for (int k = 0; k <= kLast; ++k) {
    const double v_below = value(static_cast<double>(static_cast<float>(k) * g.grid) + (static_cast<double>(g.vstart) - nu_below));
    const double v_above = value((nu_above - static_cast<double>(g.vstart)) - static_cast<double>(static_cast<float>(g.npts - k) * g.grid));
    below_counts.insert(expect_same(g, {nu_below, alpha_d, alpha_l, above(v_below), s_l}));
    above_counts.insert(expect_same(g, {nu_above, alpha_d, alpha_l, above(v_above), s_l}));
  }
  // Every stop position was met: inside lines add the centre and the point
  // where the wing ends on both sides, outside lines stop before it.
  for (int i = 1; i <= kLast; ++i) EXPECT_TRUE(inside_counts.count(1 + 2 * i)) << "inside, step " << i;
  for (int k = 0; k <= kLast; ++k) {
    EXPECT_TRUE(below_counts.count(k)) << "below, point " << k;
    EXPECT_TRUE(above_counts.count(k)) << "above, point " << k;
  }
}

}  // namespace
