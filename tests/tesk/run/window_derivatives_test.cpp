// The derivatives of one information window against central differences of
// the program's own recorded spectra (line pass, solar spectrum, instrument
// line shape) over a range wider than the window on both sides (45 cm-1 cm
// over the maximum path difference, at least 3 cm-1: half as much again as
// the step computes around a window), so that its padding is checked too.
#include "tesk/run/window_derivatives.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "examples/generator/example_files.hpp"
#include "examples/generator/line_set.hpp"
#include "path_run_fixture.hpp"
#include "tesk/kernels/apriori.hpp"
#include "tesk/kernels/retrieval_budget.hpp"
#include "tesk/run/setup.hpp"
#include "tesk/run/spectral_run.hpp"
#include "tesk/tables/solar_file.hpp"

namespace {

using testing_support::WorkDir;
using tesk::Atmosphere;

// A power of two: the window's points are exactly points of the wide range.
constexpr float kGrid = 1.0f / 256.0f;
// cm-1 on either side of the window for an instrument of `resol` cm.
float wider(float resol) { return std::max(3.0f, 45.0f / resol); }

// The path of the example's data with CO as the target (mixing ratio about
// 1e-7 near the ground), behind it a 500 K blackbody (radiance) or the sun.
struct Example {
  WorkDir dir;
  std::unique_ptr<tesk::RunState> state;
  std::unique_ptr<inputs::LineList> list;

  Example(char quantity, float resol, char geom, float geomval) : state(run_test::make_state(dir, geom, geomval, 0)) {
    example::write_example_files(dir.path().string());
    tesk::Deck& d = state->deck;
    d.linefile = (dir.path() / "lines.hit").string();
    d.nrec = inputs::count_records(d.linefile);
    d.margin = 2.0f;
    d.transrad = static_cast<tesk::Quantity>(quantity);  // the enumerators carry the deck letters
    d.solar = quantity == 'a';
    d.radunits = tesk::Units::radiance;
    d.tback = 500.0f;
    d.resol = resol;
    d.noise = 0.001f;
    state->setup = tesk::kernel_study_setup(tesk::spectrum_setup(d));
    state->sun.emplace(tesk::solar_file_source(d.inpath));
    tesk::set_up_path(*state);
    state->segments = tesk::path_segments(state->setup, tesk::PathModel{state->atm, state->path});
    list = std::make_unique<inputs::LineList>(d.linefile, d.reclen, d.nrec, 'h');
  }

  std::vector<tesk::Segment> layers() const { return tesk::state_layers(state->segments); }

  tesk::WindowDerivatives derivatives(const tesk::IntervalGrid& window) {
    const auto layers = this->layers();
    const Atmosphere warm = warmer(state->atm);
    const tesk::DerivativeModels m{{state->atm, state->path}, {warm, state->path}, state->segments, layers};
    tesk::WindowDerivatives d;
    tesk::window_derivatives(state->setup, m, *state->sun, window, *list, state->work, d);
    return d;
  }

  // The recorded spectrum of `atm` at the window's points, computed over the
  // wider range. The tables floor at zero the negative values that the
  // boxcar line shape rings to beside a saturated line; no difference can be
  // taken there, and such points come back as NaN.
  Eigen::VectorXd recorded(const Atmosphere& atm, const tesk::IntervalGrid& window) {
    tesk::IntervalGrid wide = window;
    const float margin = wider(state->setup.instrument.resolution);
    const int extra = static_cast<int>(std::lround(margin / kGrid));
    wide.vstart -= margin;
    wide.npts += 2 * extra;
    wide.vend = wide.nu(wide.npts);
    tesk::compute_interval_spectra(state->setup, {atm, state->path}, *state->sun, wide, *list, state->work);
    Eigen::VectorXd v = Eigen::Map<const Eigen::VectorXd>(&state->work.spec(tesk::kAllClass, extra), window.npts + 1);
    for (double& x : v) x = x > 0.0 ? x : std::nan("");
    return v;
  }

  // Every layer 1 K warmer, the air path kept.
  static Atmosphere warmer(Atmosphere a) {
    for (int l = 1; l <= a.nlev; ++l) a.temp(l) += 1.0f;
    return a;
  }

  // -dI/dp from the spectra with p times 1 + eps and 1 - eps, divided by the
  // change of p that `scale` reports (float rounding included).
  Eigen::VectorXd minus_derivative(const tesk::IntervalGrid& window, double eps,
                                   const std::function<double(Atmosphere&, double)>& scale) {
    Atmosphere up = state->atm, down = state->atm;
    const double change = scale(up, 1.0 + eps) - scale(down, 1.0 - eps);
    return (recorded(down, window) - recorded(up, window)) / change;
  }
};

// The window of 0.25 cm-1 around the strongest CO line of 2145-2160 cm-1.
tesk::IntervalGrid strong_line_window(float grid) {
  double strongest = 0.0, at = 0.0;
  for (const auto& l : example::example_lines(2145.0, 2160.0)) {
    if (l.molecule == example::kCO && l.intensity > strongest) strongest = l.intensity, at = l.position;
  }
  tesk::IntervalGrid g;
  g.vstart = static_cast<float>(std::round(at * 256.0) / 256.0) - 0.125f;
  g.grid = grid;
  g.npts = static_cast<int>(std::lround(0.25f / grid));
  g.vend = g.nu(g.npts);
  return g;
}

// The points where `fd` has a value (its spectra are not floored).
template <class Matrix>
Eigen::MatrixXd kept_rows(const Matrix& m, const Eigen::MatrixXd& fd) {
  std::vector<Eigen::Index> rows;
  for (Eigen::Index j = 0; j < fd.rows(); ++j) {
    if (fd.row(j).allFinite()) rows.push_back(j);
  }
  return m(rows, Eigen::all);
}

// The degrees of freedom of the window from `k` at the points where `fd` has values.
double window_dofs(const tesk::WindowDerivatives& d, const Eigen::MatrixXd& k, std::span<const tesk::Segment> layers,
                   const Eigen::MatrixXd& fd) {
  tesk::PointInformation info(k.cols());
  tesk::add_points(kept_rows(k, fd), kept_rows(d.interferer, fd), kept_rows(d.temperature, fd),
                   kept_rows(d.sigma, fd), info);
  const tesk::AprioriSpec spec{tesk::AprioriKind::percent, 0.0, 50.0, 4.0, tesk::CorrelationShape::exponential};
  tesk::ColumnModel column;
  column.partial_air = Eigen::VectorXd::Ones(k.cols());
  column.profile = Eigen::VectorXd::Ones(k.cols());
  return tesk::retrieval_budget(info, tesk::apriori_covariance(spec, layers), column).dofs;
}

// Within `share` (1 %) of the step's largest value, at the nine tenths or
// more of the points that have a difference.
void expect_close(const Eigen::VectorXd& fd, const Eigen::VectorXd& step, const std::string& what,
                  double share = 0.01) {
  const double largest = step.cwiseAbs().maxCoeff();
  EXPECT_GT(largest, 0.0) << what;
  const Eigen::MatrixXd kept_fd = kept_rows(fd, fd);
  EXPECT_GE(kept_fd.rows(), 9 * fd.rows() / 10) << what;
  EXPECT_LE((kept_fd - kept_rows(step, fd)).cwiseAbs().maxCoeff(), share * largest) << what << ": largest " << largest;
}

// A relative step that the layer's spectrum changes by well above the
// single-precision rounding of the convolution: the thin layers aloft take
// large ones, where the curvature of their optically thin contribution is
// negligible in a central difference.
double layer_step(const tesk::Segment& layer) { return layer.alt < 20.0f ? 0.05 : 1.0; }

double scale_layer(Atmosphere& a, int layer, double f) {
  a.vmr(example::kCO, layer) = static_cast<float>(static_cast<double>(a.vmr(example::kCO, layer)) * f);
  return a.vmr(example::kCO, layer);
}

// A ground path at 30 degrees: radiance against the hot background, then
// transmission with the sun, through the instrument of maximum path
// difference `resol` cm.
void check_ground_window(float resol) {
  for (char quantity : {'r', 'a'}) {
    SCOPED_TRACE(quantity);
    Example ex(quantity, resol, 'g', 30.0f);
    const tesk::IntervalGrid window = strong_line_window(kGrid);
    const tesk::WindowDerivatives d = ex.derivatives(window);
    const auto layers = ex.layers();
    ASSERT_EQ(d.k.cols(), static_cast<Eigen::Index>(layers.size()));

    // Every layer for the degrees of freedom; a low, a middle and a high one column by column.
    Eigen::MatrixXd k(d.k.rows(), d.k.cols());
    for (Eigen::Index i = 0; i < k.cols(); ++i) {
      const int layer = layers[static_cast<std::size_t>(i)].layer;
      k.col(i) = ex.minus_derivative(window, layer_step(layers[static_cast<std::size_t>(i)]),
                                     [&](Atmosphere& a, double f) { return scale_layer(a, layer, f); });
      if (layer == 1 || layer == 15 || layer == 25) {
        expect_close(k.col(i), d.k.col(i), "layer " + std::to_string(layer));
      }
    }

    const auto others = ex.minus_derivative(window, 0.05, [](Atmosphere& a, double f) {
      for (int g = 1; g <= tesk::kMaxGases; ++g) {
        if (g == example::kCO) continue;
        for (int l = 1; l <= a.nlev; ++l) a.vmr(g, l) = static_cast<float>(static_cast<double>(a.vmr(g, l)) * f);
      }
      return f;
    });
    // The other gases and the temperature change the spectrum everywhere, and
    // the unapodised line shape rings far: at 5 cm what lies beyond the step's
    // 6 cm-1 still moves the window's points by a percent or so.
    const double broad = resol < 10.0f ? 0.02 : 0.01;
    expect_close(others, d.interferer, "other gases", broad);
    const Eigen::VectorXd warmer = ex.recorded(Example::warmer(ex.state->atm), window);
    expect_close(warmer - ex.recorded(ex.state->atm, window), d.temperature, "temperature", broad);

    const double dofs = window_dofs(d, d.k, layers, k);
    EXPECT_GT(dofs, 0.5);
    EXPECT_NEAR(window_dofs(d, k, layers, k), dofs, 0.01 * dofs);
  }
}

TEST(WindowDerivatives, AgreeWithDifferencesAtFiftyCentimetres) { check_ground_window(50.0f); }

TEST(WindowDerivatives, AgreeWithDifferencesAtFiveCentimetres) { check_ground_window(5.0f); }

TEST(WindowDerivatives, LimbLayersCountOnce) {
  // Solar occultation at 20 km: layers 21..80, each passed twice.
  Example ex('a', 50.0f, 's', 20.0f);
  const auto layers = ex.layers();
  ASSERT_EQ(ex.state->segments.size(), 120u);
  ASSERT_EQ(layers.size(), 60u);
  ASSERT_EQ(layers.back().layer, 21);
  const tesk::IntervalGrid window = strong_line_window(kGrid);
  const tesk::WindowDerivatives d = ex.derivatives(window);
  // The tangent layer and two above it, near the end of the state: the path meets the top layer first.
  for (std::size_t i : {59u, 55u, 50u}) {
    const int layer = layers[i].layer;
    SCOPED_TRACE(layer);
    expect_close(ex.minus_derivative(window, 0.05,
                                     [&](Atmosphere& a, double f) { return scale_layer(a, layer, f); }),
                 d.k.col(static_cast<Eigen::Index>(i)), "layer " + std::to_string(layer));
  }
}

TEST(WindowDerivatives, DegreesOfFreedomDoNotDependOnTheGrid) {
  Example ex('a', 50.0f, 'g', 30.0f);
  const auto layers = ex.layers();
  const tesk::WindowDerivatives coarse = ex.derivatives(strong_line_window(0.002f));
  const double dofs = window_dofs(coarse, coarse.k, layers, coarse.k);
  const tesk::WindowDerivatives fine = ex.derivatives(strong_line_window(0.001f));
  EXPECT_NEAR(window_dofs(fine, fine.k, layers, fine.k), dofs, 0.02 * dofs);
}

}  // namespace
