#include "tesk/kernels/information_content.hpp"

#include <algorithm>
#include <cassert>

#include "common/stop.hpp"
#include "tesk/kernels/averaging_kernels.hpp"

namespace tesk {
namespace {

// The bound of the kernel study's products: the single-precision 1.0E36.

// A kernel area above it marks an altitude the retrieval resolves.
constexpr float kResolvedArea = 0.5f;

}  // namespace

void clear_information(int nseg, Matrix& g) {
  for (int i = 1; i <= nseg; ++i) {
    std::span<double> row = g.row(i);
    std::fill(row.begin(), row.begin() + nseg, 0.0);
  }
}

bool add_information(int nseg, int npoints, const WeightingMatrix& k, float noise, Matrix& g) {
  assert(nseg >= 0 && nseg <= kMaxLevels && npoints >= 0 && npoints <= kMaxKernelPoints);
  // Se^-1 is diagonal with 1 / sn^2; the kernel study forms K^T Se^-1 first
  // and then its product with K, each sum over the points in order. Walking
  // the points in the outer loop keeps that order for every element of G
  // and reads K by rows.
  const float noise_variance = noise * noise;
  if (noise_variance == 0.0f) return false;
  const double inverse = 1.0 / static_cast<double>(noise_variance);
  const auto n = static_cast<std::size_t>(nseg);
  for (int l = 1; l <= npoints; ++l) {
    const double* kl = k.row(l).data();
    for (int i = 1; i <= nseg; ++i) {
      const double t = kl[i - 1] * inverse;  // element (i, l) of K^T Se^-1
      if (t > kMatrixNumberBound) rec::stop(kMatrixNumbersTooBig);
      double* gi = g.row(i).data();
      bool too_big = false;
      for (std::size_t j = 0; j < n; ++j) {
        gi[j] += t * kl[j];
        too_big |= gi[j] > kMatrixNumberBound;
      }
      if (too_big) rec::stop(kMatrixNumbersTooBig);
    }
  }
  return true;
}

InformationContent information_content(const Matrix& g, float apriori_sigma, std::span<const Segment> segments,
                                       InformationWork& work, Matrix& a) {
  const int l = static_cast<int>(segments.size());
  InformationContent c;
  // Sa^-1 as the kernel study makes it: sa^2 on the diagonal, inverted.
  Matrix& sa = work.sa_inverse;
  clear_information(l, sa);
  for (int i = 1; i <= l; ++i) sa(i, i) = static_cast<double>(apriori_sigma * apriori_sigma);
  if (invert_matrix(l, sa) == 0.0 || !kernels_from_information(l, g, sa, work.t2, a)) {
    c.singular = true;
    return c;
  }
  bool resolved = false;
  for (int i = 1; i <= l; ++i) {
    c.dofs += a(i, i);
    if (!(kernel_area(a, i, l) > kResolvedArea)) continue;
    // A limb path passes every altitude twice, so the extremes are searched.
    const float z = segments[static_cast<std::size_t>(i - 1)].alt;
    c.zlow = resolved ? std::min(c.zlow, z) : z;
    c.zhigh = resolved ? std::max(c.zhigh, z) : z;
    resolved = true;
  }
  return c;
}

}  // namespace tesk
