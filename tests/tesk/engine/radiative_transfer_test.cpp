#include "tesk/engine/radiative_transfer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tesk/engine/air_path.hpp"
#include "tesk/engine/planck.hpp"
#include "tesk/limits.hpp"

namespace {

constexpr int kNlev = 80;
constexpr float kVstart = 2000.0f;
constexpr float kGrid = 0.5f;

// Optical depths of one class on every layer and grid point, with the
// driver's row layout (one row of points per layer).
struct Depths {
  Depths(int npts, double value = 0.0)
      : npts(npts), values(static_cast<std::size_t>(tesk::kMaxLevels * (npts + 1)), value) {}
  double& at(int layer, int j) { return values[static_cast<std::size_t>((layer - 1) * (npts + 1) + j)]; }
  void set_layer(int layer, double value) {
    for (int j = 0; j <= npts; ++j) at(layer, j) = value;
  }
  tesk::DepthRows rows() const { return {values, static_cast<std::size_t>(npts + 1)}; }
  int npts;
  std::vector<double> values;
};

struct GroundPath {
  GroundPath() : levorder(tesk::kMaxLevels), temp(tesk::kMaxLevels + 1) {
    nseg = tesk::path_order(kNlev, 0, tesk::Geometry::ground, levorder);
    for (int l = 1; l <= kNlev; ++l) temp(l) = 290.0f - 0.5f * static_cast<float>(l);
  }
  rec::Levels<int> levorder;
  rec::Levels<float> temp;
  int nseg = 0;
};

std::vector<double> spectrum(char transrad, const Depths& ext, const GroundPath& path, float tback = 5800.0f,
                             char geom = 'g') {
  std::vector<double> spec(static_cast<std::size_t>(ext.npts + 1), -7.0);
  tesk::SpectrumSetup s;
  s.quantity = static_cast<tesk::Quantity>(transrad);  // the enumerators carry the deck letters
  s.background_temp = tback;
  const tesk::LayerPath layers{path.temp, path.levorder, path.nseg, static_cast<tesk::Geometry>(geom)};
  tesk::layer_spectrum(s, layers, ext.rows(), tesk::IntervalGrid{kVstart, 0.0f, kGrid, ext.npts}, spec);
  return spec;
}

float nu_at(int j) { return kVstart + static_cast<float>(j) * kGrid; }

TEST(Transmission, NoAbsorptionGivesOne) {
  const GroundPath path;
  for (double t : spectrum('a', Depths(4), path)) EXPECT_EQ(t, 1.0);
}

TEST(Transmission, OpaqueFromADepthOfTwenty) {
  struct Case {
    double per_layer;  // optical depth of each of the 80 layers
    double expected;
    double tolerance;
  };
  const Case cases[] = {
      {0.25, 0.0, 0.0},                 // total exactly 20
      {0.3, 0.0, 0.0},                  // total 24
      {19.999 / 80.0, 2.06e-9, 5e-12},  // total 19.999 (to rounding)
      {0.01, std::exp(-0.8), 1e-15},
  };
  const GroundPath path;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.per_layer);
    const std::vector<double> spec = spectrum('a', Depths(3, c.per_layer), path);
    for (double t : spec) EXPECT_NEAR(t, c.expected, c.tolerance);
  }
}

TEST(Transmission, LimbPathCountsBothHalves) {
  rec::Levels<float> alt(tesk::kMaxLevels + 1);
  for (int l = 1; l <= kNlev; ++l) alt(l) = static_cast<float>(l) - 0.5f;
  rec::Levels<float> pathfac(tesk::kMaxLevels + 1);
  const int tangent = tesk::limb_path_lengths(30.0f, alt, kNlev, pathfac);
  GroundPath path;
  path.nseg = tesk::path_order(kNlev, tangent, tesk::Geometry::limb, path.levorder);
  Depths ext(2);
  double one_half = 0.0;
  for (int l = tangent; l <= kNlev; ++l) {
    ext.set_layer(l, 1.0e-3 * static_cast<double>(pathfac(l)));
    one_half += 1.0e-3 * static_cast<double>(pathfac(l));
  }
  for (double t : spectrum('a', ext, path, 0.0f, 's')) EXPECT_NEAR(t, std::exp(-2.0 * one_half), 1e-14);
}

TEST(Radiance, EmptyPathShowsTheBackgroundBlackbody) {
  const GroundPath path;
  const std::vector<double> spec = spectrum('r', Depths(4), path, 5800.0f);
  for (int j = 0; j <= 4; ++j) EXPECT_DOUBLE_EQ(spec[static_cast<std::size_t>(j)], tesk::planck(nu_at(j), 5800.0f)) << j;
}

TEST(Radiance, IsothermalOpaquePathGivesItsPlanckRadiance) {
  GroundPath path;
  for (int l = 1; l <= kNlev; ++l) path.temp(l) = 250.0f;
  const std::vector<double> spec = spectrum('r', Depths(6, 1.0), path, 5800.0f);
  for (int j = 0; j <= 6; ++j) {
    SCOPED_TRACE(j);
    const double b = tesk::planck(nu_at(j), 250.0f);
    EXPECT_NEAR(spec[static_cast<std::size_t>(j)], b, 1e-12 * b);
  }
}

TEST(Radiance, ThinIsothermalPathMixesLayerAndBackground) {
  GroundPath path;
  for (int l = 1; l <= kNlev; ++l) path.temp(l) = 270.0f;
  const std::vector<double> spec = spectrum('r', Depths(2, 0.005), path, 5800.0f);
  const double t = std::exp(-0.4);
  for (int j = 0; j <= 2; ++j) {
    SCOPED_TRACE(j);
    const double expected = tesk::planck(nu_at(j), 270.0f) * (1.0 - t) + tesk::planck(nu_at(j), 5800.0f) * t;
    EXPECT_NEAR(spec[static_cast<std::size_t>(j)], expected, 1e-12 * expected);
  }
}

TEST(Radiance, LayerNextToTheInstrumentHidesTheOthers) {
  const GroundPath path;
  Depths ext(1, 0.1);
  ext.set_layer(1, 40.0);
  const std::vector<double> spec = spectrum('r', ext, path);
  for (int j = 0; j <= 1; ++j) {
    const double b = tesk::planck(nu_at(j), path.temp(1));
    EXPECT_NEAR(spec[static_cast<std::size_t>(j)], b, 1e-12 * b) << j;
  }
}

// The opaque test belongs to the segment whose attenuation is applied. A
// transparent layer near the ground must not turn opaque because another
// layer of the path is; the opaque layer itself must block what lies behind.
TEST(Radiance, OpaqueTestLooksAtTheAttenuatingSegment) {
  const GroundPath path;  // levorder(2) is layer 79
  struct Case {
    int opaque_layer;
    double depth;
  };
  const Case cases[] = {{79, 20.0}, {79, 25.0}, {2, 20.0}, {40, 1000.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opaque_layer);
    SCOPED_TRACE(c.depth);
    Depths ext(2);
    ext.set_layer(c.opaque_layer, c.depth);
    const std::vector<double> spec = spectrum('r', ext, path, 5800.0f);
    for (int j = 0; j <= 2; ++j) {
      EXPECT_DOUBLE_EQ(spec[static_cast<std::size_t>(j)], tesk::planck(nu_at(j), path.temp(c.opaque_layer))) << j;
    }
  }
}

TEST(Radiance, LimbPathCountsBothHalves) {
  GroundPath path;
  path.nseg = tesk::path_order(kNlev, 41, tesk::Geometry::limb, path.levorder);  // 40 layers, 80 segments
  for (int l = 1; l <= kNlev; ++l) path.temp(l) = 220.0f;
  Depths ext(1);
  for (int l = 41; l <= kNlev; ++l) ext.set_layer(l, 0.01);
  const std::vector<double> spec = spectrum('r', ext, path, 0.0f, 's');
  const double b = tesk::planck(nu_at(0), 220.0f);
  EXPECT_NEAR(spec[0], b * (1.0 - std::exp(-0.8)), 1e-12 * b);
}

}  // namespace
