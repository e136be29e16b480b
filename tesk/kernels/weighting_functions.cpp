#include "tesk/kernels/weighting_functions.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "common/stop.hpp"
#include "tesk/constants.hpp"
#include "tesk/engine/planck.hpp"

namespace tesk {
namespace {

constexpr float kSmallestArgument = 1.0e-40f;

// Divides by the segment's target mixing ratio; a zero ratio (a target
// scaled to nothing) gives the floor instead of an infinity.
double per_vmr(double numerator, float vmr) { return vmr > 0.0f ? numerator / static_cast<double>(vmr) : kZeroFloor; }

}  // namespace

WeightingMatrix make_weighting_matrix() { return WeightingMatrix(kMaxKernelPoints, kMaxLevels); }

double normalisation_factor(const Spectra& spec, int npts, Normalisation norm) {
  if (norm != Normalisation::normalised) return 1.0;
  double sum = 0.0;
  for (int j = 0; j <= npts; ++j) sum += spec(kAllClass, j);
  // An opaque interval sums to 0: the floor keeps f finite, and the weighting
  // functions of a spectrum without light are then the floor, as with 'f'.
  return static_cast<double>(npts) / std::max(sum, kZeroFloor);
}

void compute_weighting_functions(const SpectrumSetup& s, const IntervalGrid& g, const Spectra& spec,
                                 const Extinction& ext, std::span<const Segment> segments, double f,
                                 WeightingMatrix& k) {
  if (g.npts + 1 > kMaxKernelPoints) rec::stop(kTooManyKernelPoints);
  weighting_function_rows(s, g, spec, ext, segments, f, PointRange{0, g.npts + 1}, k);
}

void weighting_function_rows(const SpectrumSetup& setup, const IntervalGrid& g, const Spectra& spec,
                             const Extinction& ext, std::span<const Segment> segments, double f, PointRange range,
                             WeightingMatrix& k) {
  const int first = range.first;
  const int count = range.count;
  const float tback = setup.background_temp;
  assert(first >= 0 && count >= 0 && count <= kMaxKernelPoints && first + count - 1 <= g.npts);
  const int nseg = static_cast<int>(segments.size());
  std::vector<double> t(static_cast<std::size_t>(nseg) + 1);   // running transmission t_0..t_L
  std::vector<double> b(static_cast<std::size_t>(nseg) + 1);   // B(nu, T(k)), 1-based
  for (int r = 1; r <= count; ++r) {
    const int i = first + r - 1;
    const float nu = g.nu(i);
    if (setup.quantity == Quantity::transmission) {
      for (int s = 1; s <= nseg; ++s) {
        const Segment& seg = segments[static_cast<std::size_t>(s - 1)];
        double v = per_vmr(ext(kTargetClass, seg.layer, i) * spec(kAllClass, i) * f, seg.target_vmr);
        k(r, s) = v <= kZeroFloor ? kZeroFloor : v;
      }
    } else {
      t[0] = 1.0;
      for (int s = 1; s <= nseg; ++s) {
        const Segment& seg = segments[static_cast<std::size_t>(s - 1)];
        t[static_cast<std::size_t>(s)] = t[static_cast<std::size_t>(s - 1)] * std::exp(-ext(kAllClass, seg.layer, i));
        b[static_cast<std::size_t>(s)] = planck(nu, seg.temp);
      }
      // The running product over all segments is the whole path's transmission.
      const double s_bb = planck(nu, tback) * t[static_cast<std::size_t>(nseg)];
      for (int s = 1; s <= nseg; ++s) {
        const Segment& seg = segments[static_cast<std::size_t>(s - 1)];
        const double e_k = b[static_cast<std::size_t>(s)] * t[static_cast<std::size_t>(s)];
        double s_k = 0.0;  // emission from beyond segment s
        for (int q = s + 1; q <= nseg; ++q) {
          s_k += b[static_cast<std::size_t>(q)] * (t[static_cast<std::size_t>(q - 1)] - t[static_cast<std::size_t>(q)]);
        }
        double v = per_vmr((s_k + s_bb - e_k) * ext(kTargetClass, seg.layer, i) * f, seg.target_vmr);
        if (std::fabs(v) <= kZeroFloor) v = v >= 0.0 ? kZeroFloor : -kZeroFloor;
        k(r, s) = v;
      }
    }
    if (setup.units == Units::brightness_temperature) {
      for (int s = 1; s <= nseg; ++s) {
        double x = inverse_planck_argument(nu, k(r, s));
        if (x < static_cast<double>(kSmallestArgument)) x = static_cast<double>(kSmallestArgument);
        const double v = inverse_planck(nu, x) / 1.0e6;
        // x of exactly 1 has no temperature; keep the table finite.
        k(r, s) = std::isfinite(v) ? v : 0.0;
      }
    }
  }
}

}  // namespace tesk
