#include "kormal/analysis.hpp"

#include <algorithm>
#include <cmath>

#include "common/sort_keys.hpp"
#include "kormal/convolution.hpp"

namespace kormal {
namespace {

bool has_lines(std::span<const double> od, int n) {
  return std::any_of(od.begin(), od.begin() + n + 1, [](double v) { return v != 0.0; });
}

// Extremes of one species over the interior, and its share of the window's
// transmissions.
void take_species(const WindowRecord& w, int g, int target, std::span<const double> tau, WindowMeasures& m) {
  const int peak_of_target = m.imax(target);
  for (int i = w.k; i <= w.n - w.k; ++i) {
    double t = tau[static_cast<std::size_t>(i)];
    if (t < m.tmin(g)) m.tmin(g) = t;
    if (t > m.tmax(g)) {
      m.tmax(g) = t;
      m.imax(g) = i;
    }
    if (g != target && i == peak_of_target) m.s0 += t;
    t = std::min(t, kMaxOpticalDepth);
    if (g == target) {
      m.t_target(i) = std::exp(-t);
    } else {
      m.t_others(i) = m.t_others(i) * std::exp(-t);
    }
  }
}

}  // namespace

void analyse_species(const WindowRecord& w, int target, int nspeci, const SpeciesData& species,
                     WindowMeasures& m) {
  for (int i = 1; i <= w.n; ++i) {
    m.t_target(i) = 1.0;
    m.t_others(i) = 1.0;
  }
  m.s0 = 0.0;
  const bool has_interior = w.k <= w.n - w.k;
  int g = target;
  do {
    m.tmax(g) = 0.0;
    m.tmin(g) = kNoMinimum;
    m.imax(g) = w.k;
    const std::span<const double> od = species.od.row(g);
    if (has_lines(od, w.n)) {
      lorentz_weights(species.gl(g), w.k, m.weights);
      const double total = weight_total(m.weights, w.k);
      convolve_lorentz(od, m.weights, total, w.k, w.n, m.sums, m.tau);
      take_species(w, g, target, m.tau, m);
    } else if (has_interior) {
      // Zero at every point: transmissions and s0 stay as they are.
      m.tmin(g) = 0.0;
    }
    m.rel(g) = std::exp(-std::min(kMaxOpticalDepth, m.tmax(g) - m.tmin(g)));
    m.tmax(g) = std::min(kMaxOpticalDepth, m.tmax(g));
    m.abs(g) = std::exp(-m.tmax(g));
    g = g == nspeci ? 1 : g + 1;
  } while (g != target);

  m.nspeci = nspeci;
  m.x = std::exp(-m.tmax(target));
  m.y = std::exp(-std::min(kMaxOpticalDepth, m.s0));
}

void rank_species(char sortkey, WindowMeasures& m) {
  const std::size_t n = static_cast<std::size_t>(m.nspeci);
  for (int k = 1; k <= m.nspeci; ++k) m.order(k) = k;
  rec::Levels<double>& keys = sortkey == 'd' ? m.rel : m.abs;
  rec::sort_keys_ascending(keys.span().subspan(0, n), m.order.span());
  for (int g = 1; g <= m.nspeci; ++g) {
    m.rel(g) = (1.0 - m.rel(g)) * 100.0;
    m.abs(g) = (1.0 - m.abs(g)) * 100.0;
  }
  m.total = m.y * m.x * 100.0;
  m.contribution = (m.y - m.y * m.x) * 100.0;
}

}  // namespace kormal
