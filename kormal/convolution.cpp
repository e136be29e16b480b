#include "kormal/convolution.hpp"

#include <cassert>
#include <cstddef>

#include "common/constants.hpp"
#include "kormal/limits.hpp"

namespace kormal {

void lorentz_weights(double gl, int k, std::span<double> weights) {
  assert(static_cast<int>(weights.size()) > k);
  for (int m = 0; m <= k; ++m) {
    const double dnu = static_cast<double>(m) * kSpacing;
    weights[static_cast<std::size_t>(m)] = gl / (rec::kPiFourDecimals * (gl * gl + dnu * dnu));
  }
}

double weight_total(std::span<const double> weights, int k) {
  double sum = 0.0;
  for (int m = 1; m <= k; ++m) sum += weights[static_cast<std::size_t>(m)];
  return weights[0] + 2.0 * sum;
}

void convolve_lorentz(std::span<const double> od, std::span<const double> weights, double total, int k, int n,
                      std::span<double> sums, std::span<double> tau) {
  if (n - k < k) return;
  assert(static_cast<int>(od.size()) > n && static_cast<int>(sums.size()) > n && static_cast<int>(tau.size()) > n);
  const std::size_t first = static_cast<std::size_t>(k);
  const std::size_t count = static_cast<std::size_t>(n - 2 * k + 1);
  double* s = sums.data() + first;
  for (std::size_t j = 0; j < count; ++j) s[j] = 0.0;
  // Every point's sum still receives its terms in order of m; only the points
  // are visited together, which lets the inner loop run over a row.
  for (int m = 1; m <= k; ++m) {
    const double wm = weights[static_cast<std::size_t>(m)];
    const double* below = od.data() + first - static_cast<std::size_t>(m);
    const double* above = od.data() + first + static_cast<std::size_t>(m);
    for (std::size_t j = 0; j < count; ++j) s[j] += wm * (below[j] + above[j]);
  }
  const double w0 = weights[0];
  for (std::size_t j = 0; j < count; ++j) tau[first + j] = (w0 * od[first + j] + s[j]) / total;
}

}  // namespace kormal
