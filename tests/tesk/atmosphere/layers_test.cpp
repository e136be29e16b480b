// The 80-layer model atmosphere: mean-density altitudes, extrapolation of
// short profiles, mixing ratios at the layer altitudes, the air number
// density, and the model-top check of the vmr profile.

#include "tesk/atmosphere/atmosphere.hpp"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/stop.hpp"
#include "tesk/atmosphere/test_files.hpp"

namespace tesk {
namespace {

using atmtest::PtLevel;
using atmtest::stop_message;
using atmtest::TempDir;

constexpr int kGases = 5;

// A mid-latitude model ('m') written into `dir` from the given profiles.
void write_model(const TempDir& dir, const std::vector<PtLevel>& pt, const std::vector<double>& vmr_alts,
                 const std::function<double(int, double)>& vmr = atmtest::sample_vmr) {
  dir.write("midlat.mod", atmtest::pt_text(pt));
  dir.write("midlat.vmr", atmtest::vmr_text(kGases, vmr_alts, vmr));
}

Atmosphere load(const TempDir& dir, int target = 0, float scale = 1.0f) {
  Atmosphere atm;
  read_atmosphere(kModelLayers, target, 'm', scale, dir.prefix(), atm);
  return atm;
}

// Whole kilometres 0..80, temperature and pressure falling: density is
// linear between the profile levels, so a layer's mean density lies at its
// midpoint and its pressure and temperature are the means of its boundaries.
std::vector<PtLevel> whole_km_levels() {
  std::vector<PtLevel> v;
  for (int z = 0; z <= 80; ++z) v.push_back({1013.0 * std::exp(-z / 7.0), 290.0 - 1.1 * z, z * 1000.0});
  return v;
}

TEST(ModelLayers, WholeKilometreProfileGivesLayerMidpoints) {
  TempDir dir;
  const auto pt = whole_km_levels();
  write_model(dir, pt, atmtest::km_range(0, 100));
  const Atmosphere atm = load(dir);
  EXPECT_EQ(atm.nlev, 80);
  EXPECT_EQ(atm.ngas, kGases);
  for (int i = 1; i <= 80; ++i) {
    SCOPED_TRACE(i);
    // Single-precision rounding of the densities shifts the midpoint by a
    // few ulps of the altitude at most.
    EXPECT_NEAR(atm.alt(i), i - 0.5, 2e-5);
    const double t_mid = (pt[static_cast<std::size_t>(i - 1)].temp + pt[static_cast<std::size_t>(i)].temp) / 2.0;
    const double p_mid = (pt[static_cast<std::size_t>(i - 1)].pres + pt[static_cast<std::size_t>(i)].pres) / 2.0;
    EXPECT_NEAR(atm.temp(i), t_mid, 1e-5 * t_mid);
    EXPECT_NEAR(atm.pres(i), p_mid, 1e-5 * p_mid);
  }
}

TEST(ModelLayers, ExponentialDensityPutsEveryLayerBelowItsMidpoint) {
  // With d ~ exp(-z / H), the mean of the densities at z0 and z0 + 1 km lies
  // at z0 - H ln((1 + exp(-1/H)) / 2), the same offset for every layer.
  TempDir dir;
  const double scale_km = 8.0;
  write_model(dir, atmtest::exponential_levels(0.0, 85.0, 0.01, scale_km), atmtest::km_range(0, 90));
  const Atmosphere atm = load(dir);
  const double offset = -scale_km * std::log((1.0 + std::exp(-1.0 / scale_km)) / 2.0);
  EXPECT_LT(atm.alt(1), 0.5f);
  for (int i = 1; i <= 80; ++i) {
    SCOPED_TRACE(i);
    // 10 m profile steps, densities in single precision.
    EXPECT_NEAR(atm.alt(i) - (i - 1), offset, 1e-3);
  }
}

TEST(ModelLayers, ShortProfileIsExtrapolatedAlongItsEndSegments) {
  // A profile from 2 to 70 km: density at the missing boundaries comes from
  // the end segments, and so do the layer's altitude and temperature.
  TempDir dir;
  std::vector<PtLevel> pt;
  for (int z = 2; z <= 70; z += 2) pt.push_back({1000.0 - 11.0 * z, 280.0 - 0.5 * z, z * 1000.0});
  write_model(dir, pt, atmtest::km_range(0, 100));
  const Atmosphere atm = load(dir);
  for (int i : {1, 2, 40, 71, 80}) {
    SCOPED_TRACE(i);
    const float alt = atm.alt(i);
    EXPECT_GT(alt, i - 1.0f);
    EXPECT_LT(alt, static_cast<float>(i));
    // The end segments continue the profile's own straight lines.
    EXPECT_NEAR(atm.pres(i), 1000.0 - 11.0 * static_cast<double>(alt), 1e-3 * (1000.0 - 11.0 * static_cast<double>(alt)));
    EXPECT_NEAR(atm.temp(i), 280.0 - 0.5 * static_cast<double>(alt), 1e-3 * (280.0 - 0.5 * static_cast<double>(alt)));
  }
}

TEST(ModelLayers, VmrProfileMustReachAboveTheModelTop) {
  const auto with_top = [](double top) {
    std::vector<double> alts = atmtest::km_range(0, 79);
    alts.push_back(top);
    return alts;
  };
  struct Case {
    const char* what;
    std::vector<double> alts;
    bool accepted;
  };
  const Case cases[] = {
      {"ends exactly at 80 km", with_top(80.0), false},
      {"ends at 80.1 km", with_top(80.1), true},
      {"ends below 80 km", atmtest::km_range(0, 60), false},
      {"has no level", {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    write_model(dir, whole_km_levels(), c.alts);
    EXPECT_EQ(stop_message([&] { load(dir); }), c.accepted ? "(no stop)" : " VMR profile not high enough");
  }
}

TEST(ModelLayers, SingleLevelPressureTemperatureProfileStops) {
  TempDir dir;
  write_model(dir, {{1000.0, 280.0, 0.0}}, atmtest::km_range(0, 100));
  EXPECT_EQ(stop_message([&] { load(dir); }),
            "something wrong in interpolation/extrapolation of vmr, ...");
}

TEST(ModelLayers, VmrIsLinearInAltitudeAtTheLayerAltitude) {
  // Vmr profile every 5 km, linear in altitude with a kink at 40 km: the
  // layer value is the line through its neighbours at the layer altitude.
  TempDir dir;
  const auto vmr = [](int g, double z) { return 1.0e-6 * g * (z < 40.0 ? 1.0 + 0.1 * z : 5.0 - 0.05 * (z - 40.0)); };
  std::vector<double> alts;
  for (int z = 0; z <= 100; z += 5) alts.push_back(z);
  write_model(dir, atmtest::exponential_levels(0.0, 85.0, 0.05), alts, vmr);
  const Atmosphere atm = load(dir);
  for (int i : {1, 7, 40, 41, 80}) {
    for (int g = 1; g <= kGases; ++g) {
      SCOPED_TRACE(testing::Message() << "layer " << i << " gas " << g);
      const double expected = vmr(g, static_cast<double>(atm.alt(i)));
      EXPECT_NEAR(atm.vmr(g, i), expected, 1e-5 * expected);
    }
  }
}

TEST(ModelLayers, TargetScaleChangesOnlyTheTarget) {
  TempDir dir;
  // Gas 3 is absent from the file below 10 km: its floor is scaled too.
  const auto vmr = [](int g, double z) { return g == 3 && z < 10.0 ? 0.0 : atmtest::sample_vmr(g, z); };
  write_model(dir, atmtest::exponential_levels(0.0, 85.0, 0.1), atmtest::km_range(0, 100), vmr);
  const Atmosphere base = load(dir, 3, 1.0f);
  const Atmosphere doubled = load(dir, 3, 2.0f);
  for (int i = 1; i <= 80; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(doubled.alt(i), base.alt(i));
    EXPECT_EQ(doubled.column(i), base.column(i));
    for (int g = 1; g <= kGases; ++g) {
      if (g == 3) {
        EXPECT_FLOAT_EQ(doubled.vmr(g, i), 2.0f * base.vmr(g, i));
      } else {
        EXPECT_EQ(doubled.vmr(g, i), base.vmr(g, i)) << "gas " << g;
      }
    }
  }
  EXPECT_FLOAT_EQ(base.vmr(3, 1), 1.0e-20f);
  EXPECT_FLOAT_EQ(doubled.vmr(3, 1), 2.0e-20f);
}

TEST(ModelLayers, AirNumberDensity) {
  TempDir dir;
  write_model(dir, whole_km_levels(), atmtest::km_range(0, 100));
  const Atmosphere atm = load(dir);
  for (int i : {1, 30, 80}) {
    SCOPED_TRACE(i);
    // Loschmidt's number at 273.16 K scaled to the layer: molecules cm-2 km-1.
    const double hand = static_cast<double>(atm.pres(i)) * 7.3411755e26 / (static_cast<double>(atm.temp(i)) * 1013.25);
    EXPECT_NEAR(atm.column(i), hand, 1e-6 * hand);
    // The ideal gas law gives the same number density to the constant's
    // published digits: n = p / (k T), per cm3, times 1e5 cm per km.
    const double ideal = static_cast<double>(atm.pres(i)) * 100.0 / (1.380649e-23 * static_cast<double>(atm.temp(i))) * 1e-6 * 1e5;
    EXPECT_NEAR(atm.column(i), ideal, 5e-4 * ideal);
  }
}

TEST(ModelLayers, SlotsAboveTheModelTopAreZero) {
  TempDir dir;
  write_model(dir, whole_km_levels(), atmtest::km_range(0, 100));
  Atmosphere atm;
  atm.temp.fill(1.0f);  // a reused atmosphere keeps nothing of its past
  atm.vmr.fill(1.0f);
  read_atmosphere(kModelLayers, 0, 'm', 1.0f, dir.prefix(), atm);
  for (int i = 81; i <= kMaxLevels + 1; ++i) {
    EXPECT_EQ(atm.alt(i), 0.0f);
    EXPECT_EQ(atm.pres(i), 0.0f);
    EXPECT_EQ(atm.temp(i), 0.0f);
    EXPECT_EQ(atm.column(i), 0.0f);
  }
  EXPECT_EQ(atm.vmr(1, 81), 0.0f);
  EXPECT_EQ(atm.vmr(kGases + 1, 1), 0.0f);
}

}  // namespace
}  // namespace tesk
