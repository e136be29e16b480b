#include "tesk/run/window_derivatives.hpp"

#include <algorithm>
#include <cmath>

#include "common/nint.hpp"
#include "tesk/engine/convolution.hpp"
#include "tesk/engine/parallel_for.hpp"
#include "tesk/engine/planck.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/run/spectral_run.hpp"

namespace tesk {
namespace {

constexpr float kLeastPadding = 0.1f;       // cm-1
constexpr float kPaddingPathDifference = 30.0f;  // cm-1 cm: padding x maximum path difference

// -dI/dtau_s at point j for every segment s = 1..L of the path, into d[s - 1]:
// how much the monochromatic spectrum drops per unit optical depth added to
// segment s. Transmission (with the sun if any): the spectrum itself.
// Radiance, segment 1 next to the instrument with transmission t_s to the far
// side of segment s: the light from beyond s (emission and background) minus
// the segment's own emission B_s t_s. `t` and `b` are work space of L + 1
// values, kept by the caller from point to point.
void depth_derivatives(const SpectrumSetup& s, const Extinction& ext, const Spectra& spec,
                       std::span<const Segment> segs, float nu, int j, std::vector<double>& d,
                       std::vector<double>& t, std::vector<double>& b) {
  const auto n = segs.size();
  if (s.quantity == Quantity::transmission) {
    std::fill(d.begin(), d.end(), spec(kAllClass, j));
    return;
  }
  t[0] = 1.0;
  for (std::size_t k = 1; k <= n; ++k) {
    t[k] = t[k - 1] * std::exp(-ext(kAllClass, segs[k - 1].layer, j));
    b[k] = planck(nu, segs[k - 1].temp);
  }
  double beyond = planck(nu, s.background_temp) * t[n];  // light from beyond segment k
  for (std::size_t k = n; k >= 1; --k) {
    d[k - 1] = beyond - b[k] * t[k];
    beyond += b[k] * (t[k - 1] - t[k]);
  }
}

}  // namespace

std::vector<Segment> state_layers(std::span<const Segment> segments) {
  std::vector<Segment> layers;
  for (const Segment& s : segments) {
    const bool seen = std::any_of(layers.begin(), layers.end(), [&](const Segment& l) { return l.layer == s.layer; });
    if (!seen) layers.push_back(s);
  }
  return layers;
}

double sample_noise(const SpectrumSetup& s, std::span<const Segment> segments, float nu) {
  double continuum = 1.0;
  if (s.quantity == Quantity::radiance) {
    float hottest = s.background_temp;
    for (const Segment& seg : segments) hottest = std::max(hottest, seg.temp);
    continuum = planck(nu, hottest);
  }
  return static_cast<double>(s.retrieval.noise) * continuum;
}

double point_noise(const SpectrumSetup& s, std::span<const Segment> segments, float nu, float grid) {
  const Instrument& ils = s.instrument;
  const double sample = ils.convolves() ? 1.0 / (2.0 * static_cast<double>(ils.resolution)) : static_cast<double>(grid);
  return sample_noise(s, segments, nu) * std::sqrt(sample / static_cast<double>(grid));
}

LineBlocks::LineBlocks(float vlo, float grid)
    : vlo_(static_cast<double>(vlo)),
      grid_(static_cast<double>(grid)),
      points_(std::max(1LL, static_cast<long long>(rec::nint(kLineBlock / grid)))) {}

long long LineBlocks::of(long long point) const {
  return point >= 0 ? point / points_ : -((-point + points_ - 1) / points_);
}

long long LineBlocks::at(float nu) const {
  return of(std::llround((static_cast<double>(nu) - vlo_) / grid_));
}

LineReach LineBlocks::reach(long long block) const {
  const auto edge = [&](long long point) { return static_cast<float>(vlo_ + static_cast<double>(point) * grid_); };
  return {edge(first_point(block)), edge(last_point(block) + 1)};
}

Padding window_padding(const Instrument& ils, const IntervalGrid& window) {
  if (!ils.convolves()) return {};
  const float pad = std::max(kLeastPadding, kPaddingPathDifference / ils.resolution);
  const float spread = field_of_view_spread(window.vend, ils.fov_area);
  return {static_cast<int>(std::ceil(pad / window.grid)), static_cast<int>(std::ceil((pad + spread) / window.grid))};
}

void window_derivatives(const SpectrumSetup& s, const DerivativeModels& m, SolarSpectrum& sun,
                        const IntervalGrid& window, inputs::LineList& list, IntervalWork& w, WindowDerivatives& out,
                        std::optional<LineReach> reach) {
  const Padding pad = window_padding(s.instrument, window);
  IntervalGrid g = window;
  g.npts = window.npts + pad.below + pad.above;
  g.vstart = window.vstart - static_cast<float>(pad.below) * window.grid;
  g.vend = g.nu(g.npts);
  const int points = g.npts + 1;

  // The monochromatic spectra in radiance (or transmission) units.
  SpectrumSetup mono = s;
  mono.instrument = Instrument{};
  mono.units = Units::radiance;

  const auto nstate = static_cast<Eigen::Index>(m.state.size());
  const auto nseg = static_cast<Eigen::Index>(m.segments.size());
  // Columns 0..nstate-1 the target per layer, then the other gases, then the
  // temperature. The work space is kept from window to window.
  out.columns.resize(points, nstate + 2);
  Eigen::MatrixXd& d = out.columns;
  d.setZero();
  compute_all_gases_spectrum(mono, m.warm, sun, g, list, w, reach);
  for (int j = 0; j < points; ++j) d(j, nstate + 1) = w.spec(kAllClass, j);
  compute_all_gases_spectrum(mono, m.base, sun, g, list, w, reach);
  for (int j = 0; j < points; ++j) d(j, nstate + 1) -= w.spec(kAllClass, j);

  // -dI/dtau of every segment at every point. For transmission it is the
  // spectrum itself, the same for every segment.
  const bool radiance = s.quantity == Quantity::radiance;
  if (radiance) {
    out.depths.resize(points, nseg);
    constexpr int kBlock = 256;
    parallel_for(0, (points - 1) / kBlock, [&](int b) {
      std::vector<double> dtau(m.segments.size()), t(m.segments.size() + 1), bb(m.segments.size() + 1);
      for (int j = b * kBlock; j < std::min(points, (b + 1) * kBlock); ++j) {
        depth_derivatives(s, w.ext, w.spec, m.segments, g.nu(j), j, dtau, t, bb);
        for (Eigen::Index k = 0; k < nseg; ++k) out.depths(j, k) = dtau[static_cast<std::size_t>(k)];
      }
    });
  }
  const auto depth = [&](Eigen::Index k, int j) { return radiance ? out.depths(j, k) : w.spec(kAllClass, j); };
  std::vector<int> state_of(m.segments.size());
  for (std::size_t k = 0; k < m.segments.size(); ++k) {
    const auto it = std::find_if(m.state.begin(), m.state.end(),
                                 [&](const Segment& l) { return l.layer == m.segments[k].layer; });
    state_of[k] = static_cast<int>(it - m.state.begin());
  }
  // Column by column, each summing its segments in path order whatever the
  // thread count; the other gases' column, a term from every segment, is
  // about as much work as all the target's columns together.
  parallel_for(0, static_cast<int>(nstate), [&](int c) {
    for (std::size_t k = 0; k < m.segments.size(); ++k) {
      const Segment& seg = m.segments[k];
      const auto kk = static_cast<Eigen::Index>(k);
      if (c == nstate) {
        for (int j = 0; j < points; ++j) d(j, nstate) += depth(kk, j) * w.ext(kOtherClass, seg.layer, j);
      } else if (state_of[k] == c && seg.target_vmr > 0.0f) {
        // The target's optical depth is proportional to its mixing ratio.
        const double vmr = static_cast<double>(seg.target_vmr);
        for (int j = 0; j < points; ++j) d(j, c) += depth(kk, j) * w.ext(kTargetClass, seg.layer, j) / vmr;
      }
    }
  });
  if (s.instrument.convolves()) {
    parallel_for(0, static_cast<int>(nstate) + 1, [&](int c) {
      convolve_spectrum(s.instrument, g, w.plans, std::span<double>(d.col(c).data(), static_cast<std::size_t>(points)));
    });
  }

  const int rows = window.npts + 1;
  out.k = d.block(pad.below, 0, rows, nstate);
  out.interferer = d.col(nstate).segment(pad.below, rows);
  out.temperature = d.col(nstate + 1).segment(pad.below, rows);
  out.sigma.resize(rows);
  for (int j = 0; j < rows; ++j) out.sigma(j) = point_noise(s, m.segments, window.nu(j), window.grid);
}

}  // namespace tesk
