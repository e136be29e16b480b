#include "kormal/solar.hpp"

#include <algorithm>
#include <vector>

#include "inputs/solar_file.hpp"

namespace kormal {
namespace {

constexpr std::string_view kSolarName = "solar";
constexpr double kStartWavenumber = 640.0;  // the pair assumed below the file's first one
constexpr double kStartValue = 1.0;

}  // namespace

bool solar_applies(const WindowRecord& w) { return w.fmin > kSolarLow && w.fmax < kSolarHigh; }

bool add_solar_pseudo_gas(std::string_view inpath, const WindowRecord& w, int target, GasTable& gases,
                          WindowMeasures& m) {
  // The transmission at every interior point first: the window gets the
  // pseudo-gas only when the file reaches past its last point, so that a
  // window beyond the file's end neither keeps a minimum that no point set
  // nor is rated on the part of it that the file covers.
  std::vector<double> values;
  values.reserve(static_cast<std::size_t>(std::max(0, w.n - 2 * w.k + 1)));
  inputs::SolarFile file(inpath);
  double prev_nu = kStartWavenumber;
  double prev_value = kStartValue;
  double nu = 0.0;
  double value = 0.0;
  int i = w.k;
  if (file.next(nu, value)) {
    while (i <= w.n - w.k) {
      const double at = w.nu(i);
      // A point exactly on the earlier pair's wavenumber is taken with that
      // pair: skipping on to the next pair would leave every later point of
      // the window behind the walk.
      if (prev_nu > at || at >= nu) {
        prev_nu = nu;
        prev_value = value;
        if (!file.next(nu, value)) break;
        continue;
      }
      values.push_back((prev_value + value) / 2.0);
      ++i;
    }
  }
  file.close();
  if (values.empty() || i <= w.n - w.k) return false;

  const int g = ++m.nspeci;
  gases.set(g, kSolarName);
  m.tmax(g) = 0.0;
  m.tmin(g) = kNoMinimum;
  m.imax(g) = w.k;
  const int peak_of_target = m.imax(target);
  for (i = w.k; i <= w.n - w.k; ++i) {
    const double v = values[static_cast<std::size_t>(i - w.k)];
    if (v < m.tmin(g)) m.tmin(g) = v;
    if (v > m.tmax(g)) {
      m.tmax(g) = v;
      m.imax(g) = i;
    }
    m.t_others(i) = v * m.t_others(i);
    if (i == peak_of_target) m.y = v * m.y;
  }
  m.rel(g) = 1.0 - (m.tmax(g) - m.tmin(g));
  m.abs(g) = m.tmin(g);
  return true;
}

}  // namespace kormal
