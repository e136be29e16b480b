// The Lorentz convolution, the per-species measures, the solar pseudo-gas
// and the ranking of one window.
#include "kormal/analysis.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kormal/convolution.hpp"
#include "kormal/solar.hpp"
#include "program_run.hpp"

namespace {

using kormal::WindowMeasures;
using kormal::WindowRecord;
using testing_support::WorkDir;

// A grid index of the vectors below.
std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The weighted sum written out point by point, as the design states it.
std::vector<double> direct_convolution(const std::vector<double>& od, double gl, int k, int n) {
  std::vector<double> w(static_cast<std::size_t>(k) + 1);
  kormal::lorentz_weights(gl, k, w);
  const double total = kormal::weight_total(w, k);
  std::vector<double> tau(od.size(), -1.0);
  for (int i = k; i <= n - k; ++i) {
    double sum = 0.0;
    for (int m = 1; m <= k; ++m) sum += w[at(m)] * (od[at(i - m)] + od[at(i + m)]);
    tau[at(i)] = (w[0] * od[at(i)] + sum) / total;
  }
  return tau;
}

TEST(LorentzConvolution, EqualsTheDirectSumExactly) {
  const int k = 1000;
  const int n = 2600;
  std::vector<double> od(at(n + 1), 0.0);
  for (int i = 0; i <= n; i += 7) od[at(i)] = 1e-3 * ((i * 37) % 101);  // lines of many depths
  const double gl = 0.0734;
  const std::vector<double> expected = direct_convolution(od, gl, k, n);
  std::vector<double> w(at(k + 1)), sums(at(n + 1)), tau(at(n + 1), -1.0);
  kormal::lorentz_weights(gl, k, w);
  kormal::convolve_lorentz(od, w, kormal::weight_total(w, k), k, n, sums, tau);
  for (int i = k; i <= n - k; ++i) ASSERT_EQ(tau[at(i)], expected[at(i)]) << i;
  EXPECT_EQ(tau[at(k - 1)], -1.0);  // margins are not touched
  EXPECT_EQ(tau[at(n - k + 1)], -1.0);
}

TEST(LorentzConvolution, WeightsAndNormalisation) {
  std::vector<double> w(1001);
  kormal::lorentz_weights(0.1, 1000, w);
  EXPECT_DOUBLE_EQ(w[0], 1.0 / (3.1415 * 0.1));
  EXPECT_DOUBLE_EQ(w[20], 0.1 / (3.1415 * (0.01 + 0.0999999977648258 * 0.0999999977648258)));
  // A constant depth stays constant: the weights are normalised.
  std::vector<double> od(2401, 0.25), sums(2401), tau(2401);
  kormal::convolve_lorentz(od, w, kormal::weight_total(w, 1000), 1000, 2400, sums, tau);
  for (std::size_t i = 1000; i <= 1400; ++i) ASSERT_NEAR(tau[i], 0.25, 1e-15);
}

// A window of 0.4 cm-1: interior points 1000 to 1080.
WindowRecord small_window() { return kormal::decode_window("co       2000.00   0.40", {"table76", 2}); }

TEST(WindowAnalysis, ExtremesPeaksAndTransmissions) {
  const WindowRecord w = small_window();
  auto species = std::make_unique<kormal::SpeciesData>();
  auto m = std::make_unique<WindowMeasures>();
  for (int g = 1; g <= 4; ++g) species->gl(g) = 0.05 * g;
  // Target 2 and gas 1: one line each. Gas 3: the same depth everywhere, so
  // that all its maxima are equal and the first wins. Gas 4: no lines.
  species->od.row(2)[1010] = 0.4;
  species->od.row(1)[1030] = 0.2;
  for (double& v : species->od.row(3)) v = 0.01;
  kormal::analyse_species(w, 2, 4, *species, *m);

  std::vector<double> wt(1001), sums(at(w.n + 1)), tau1(at(w.n + 1)), tau2(at(w.n + 1)), tau3(at(w.n + 1));
  auto convolve = [&](int g, std::vector<double>& tau) {
    kormal::lorentz_weights(species->gl(g), w.k, wt);
    kormal::convolve_lorentz(species->od.row(g), wt, kormal::weight_total(wt, w.k), w.k, w.n, sums, tau);
  };
  convolve(1, tau1);
  convolve(2, tau2);
  convolve(3, tau3);
  EXPECT_EQ(m->imax(2), 1010);
  EXPECT_EQ(m->tmax(2), tau2[1010]);
  EXPECT_EQ(m->imax(1), 1030);
  EXPECT_EQ(m->tmin(1), std::min(tau1[1000], tau1[1080]));
  EXPECT_EQ(m->imax(3), w.k);
  EXPECT_EQ(m->tmax(3), tau3[at(w.k)]);
  EXPECT_EQ(m->s0, tau1[1010] + tau3[1010]);  // others in the order 3, 4, 1
  EXPECT_EQ(m->x, std::exp(-tau2[1010]));
  EXPECT_EQ(m->y, std::exp(-m->s0));
  EXPECT_EQ(m->rel(1), std::exp(-(m->tmax(1) - m->tmin(1))));
  EXPECT_EQ(m->abs(1), std::exp(-m->tmax(1)));
  for (int i = w.k; i <= w.n - w.k; ++i) {
    ASSERT_EQ(m->t_target(i), std::exp(-tau2[at(i)]));
    ASSERT_EQ(m->t_others(i), std::exp(-tau3[at(i)]) * std::exp(-tau1[at(i)]));
  }
  // No lines: depth 0 everywhere, peak at the first interior point.
  EXPECT_EQ(m->tmax(4), 0.0);
  EXPECT_EQ(m->tmin(4), 0.0);
  EXPECT_EQ(m->imax(4), w.k);
  EXPECT_EQ(m->rel(4), 1.0);
  EXPECT_EQ(m->abs(4), 1.0);
}

TEST(WindowAnalysis, DepthsAreCappedAt100) {
  const WindowRecord w = small_window();
  auto species = std::make_unique<kormal::SpeciesData>();
  auto m = std::make_unique<WindowMeasures>();
  species->gl(1) = species->gl(2) = 0.1;
  for (int i = 0; i <= w.n; ++i) species->od.row(1)[at(i)] = species->od.row(2)[at(i)] = 500.0;
  kormal::analyse_species(w, 1, 2, *species, *m);
  EXPECT_EQ(m->tmax(1), 100.0);
  EXPECT_EQ(m->abs(1), std::exp(-100.0));
  EXPECT_EQ(m->y, std::exp(-100.0));
  EXPECT_EQ(m->t_others(1040), std::exp(-100.0));
}

TEST(Ranking, StableSortAndPercentagesForBothLetters) {
  auto m = std::make_unique<WindowMeasures>();
  auto fill = [&] {
    m->nspeci = 4;
    const double rel[4] = {0.5, 0.9, 0.5, 0.25};
    const double abs[4] = {0.75, 0.5, 0.5, 1.0};
    for (int g = 1; g <= 4; ++g) {
      m->rel(g) = rel[g - 1];
      m->abs(g) = abs[g - 1];
    }
    m->x = 0.5;
    m->y = 0.75;
  };
  fill();
  kormal::rank_species('d', *m);
  const int order_d[4] = {4, 1, 3, 2};
  const double rel_d[4] = {75.0, 50.0, 50.0, 10.0};  // by rank
  const double abs_d[4] = {25.0, 50.0, 50.0, 0.0};   // by gas number
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(m->order(k), order_d[k - 1]) << k;
    EXPECT_DOUBLE_EQ(m->rel(k), rel_d[k - 1]) << k;
    EXPECT_DOUBLE_EQ(m->abs(k), abs_d[k - 1]) << k;
  }
  EXPECT_DOUBLE_EQ(m->total, 37.5);
  EXPECT_DOUBLE_EQ(m->contribution, 37.5);

  fill();
  kormal::rank_species('a', *m);
  const int order_a[4] = {2, 3, 1, 4};
  const double rel_a[4] = {50.0, 10.0, 50.0, 75.0};  // by gas number
  const double abs_a[4] = {50.0, 50.0, 25.0, 0.0};   // by rank
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(m->order(k), order_a[k - 1]) << k;
    EXPECT_DOUBLE_EQ(m->rel(k), rel_a[k - 1]) << k;
    EXPECT_DOUBLE_EQ(m->abs(k), abs_a[k - 1]) << k;
  }
}

TEST(SolarPseudoGas, StrictWindowBounds) {
  struct Case {
    double fmin, fmax;
    bool applies;
  } cases[] = {{650.0, 651.0, false},
               {std::nextafter(650.0, 700.0), 651.0, true},
               {4600.0, 4606.4, false},
               {4600.0, std::nextafter(4606.4, 0.0), true},
               {2000.0, 2001.0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fmin);
    WindowRecord w;
    w.fmin = c.fmin;
    w.fmax = c.fmax;
    EXPECT_EQ(kormal::solar_applies(w), c.applies);
  }
}

// A window whose interior points get solar values: pairs every `step` cm-1
// from 1999 to 2001 with values falling from 1 by 0.001 a pair.
struct SolarRun {
  WindowRecord w = small_window();
  std::unique_ptr<WindowMeasures> m = std::make_unique<WindowMeasures>();
  kormal::GasTable gases;
  bool covered = false;
};

SolarRun run_solar(const std::string& pairs) {
  WorkDir dir;
  dir.write("solar.dat", "0.0 1.0\n" + pairs);
  SolarRun r;
  r.m->nspeci = 1;
  r.m->imax(1) = 1040;
  r.m->y = 1.0;
  for (int i = 1; i <= r.w.n; ++i) r.m->t_others(i) = 1.0;
  r.covered = kormal::add_solar_pseudo_gas(dir.path().string() + "/", r.w, 1, r.gases, *r.m);
  return r;
}

TEST(SolarPseudoGas, EachPointTakesTheMeanOfItsPairs) {
  std::string pairs;
  std::vector<double> nu, value;
  for (int j = 0; j <= 200; ++j) {
    nu.push_back(1999.0 + 0.01 * j);
    value.push_back(1.0 - 0.001 * j);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f %.4f\n", nu.back(), value.back());
    pairs += buf;
  }
  SolarRun r = run_solar(pairs);
  const WindowMeasures& m = *r.m;
  EXPECT_TRUE(r.covered);
  EXPECT_EQ(m.nspeci, 2);
  EXPECT_EQ(r.gases.name(2), "solar  ");
  double vmin = 1e22, vmax = 0.0;
  int imax = 0;
  for (int i = r.w.k; i <= r.w.n - r.w.k; ++i) {
    const double at = r.w.nu(i);
    std::size_t j = 0;
    while (!(nu[j] < at && at < nu[j + 1])) ++j;
    const double v = (value[j] + value[j + 1]) / 2.0;
    ASSERT_EQ(m.t_others(i), v) << i;
    vmin = std::min(vmin, v);
    if (v > vmax) {
      vmax = v;
      imax = i;
    }
  }
  EXPECT_EQ(m.tmin(2), vmin);
  EXPECT_EQ(m.tmax(2), vmax);
  EXPECT_EQ(m.imax(2), imax);
  EXPECT_EQ(m.y, m.t_others(1040));
  EXPECT_DOUBLE_EQ(m.rel(2), 1.0 - (vmax - vmin));
  EXPECT_EQ(m.abs(2), vmin);
}

TEST(SolarPseudoGas, PointsOnAPairWavenumberKeepTheWalkGoing) {
  // Pairs exactly on every other grid point: the walk must reach the end.
  SolarRun probe;
  std::string pairs;
  for (int i = probe.w.k - 10; i <= probe.w.n - probe.w.k + 10; i += 2) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g 0.5\n", probe.w.nu(i));
    pairs += buf;
  }
  SolarRun r = run_solar(pairs);
  for (int i = r.w.k; i <= r.w.n - r.w.k; ++i) ASSERT_EQ(r.m->t_others(i), 0.5) << i;
}

// A file that ends inside the window (at 2000.0 cm-1, the window's interior
// runs to 2000.2) or before it leaves the window without the pseudo-gas:
// no entry, no minimum of 1e22, the other gases' transmissions untouched.
TEST(SolarPseudoGas, AWindowTheFileDoesNotCoverGetsNone) {
  for (const char* pairs : {"1999.9 0.5\n2000.0 0.5\n", "1500.0 0.5\n", ""}) {
    SCOPED_TRACE(pairs);
    SolarRun r = run_solar(pairs);
    EXPECT_FALSE(r.covered);
    EXPECT_EQ(r.m->nspeci, 1);
    EXPECT_EQ(r.gases.name(2), "co2    ");
    EXPECT_EQ(r.m->y, 1.0);
    for (int i = 1; i <= r.w.n; ++i) ASSERT_EQ(r.m->t_others(i), 1.0) << i;
  }
}

}  // namespace
