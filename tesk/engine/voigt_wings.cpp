// The profile accumulation of add_voigt_line, walked in blocks of points
// instead of point by point. A block's Voigt arguments and far-wing values are
// computed in one loop without branches, which the compiler turns into vector
// instructions; only then is the block searched for the first point under
// the threshold, and the points up to it are added in a second vector loop.
// A block that reaches nearer to the centre is evaluated again with the
// region of each point, the rational regions in a vector loop as well, the
// exponential one with the library's exp and cos point by point.
// The operations per point are those of add_voigt_line_plain in the same
// order and precision (IEEE vector arithmetic rounds each operation as the
// scalar one does, and contraction into fused multiply-adds is off), so both
// give the same bits. The loops are marked `omp simd`: at -O2 the compiler's
// cost model would otherwise leave loops of unknown length scalar.
#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>

#include "tesk/engine/line_shape.hpp"
#include "tesk/engine/voigt.hpp"
#include "tesk/engine/voigt_detail.hpp"

// The walks of a line are compiled for the baseline x86-64 and for the wider
// vector units (GCC's target attribute), and add_voigt_line takes the widest
// the machine has; the block loops are inlined into each.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define LF_VECTOR_UNITS 1
#endif

namespace tesk {

namespace {

using voigt_detail::far_wing;
using voigt_detail::kFarWing;
using voigt_detail::kPi;
using voigt_detail::kSqrtLn2;

// Points evaluated before the threshold is looked at: long enough for the
// vector loops, short enough that a wing ending inside a block wastes little.
constexpr int kBlock = 64;

// What the evaluation of a block found, as bits.
constexpr int kNear = 1;   // a point lies nearer the centre than the far wing
constexpr int kBelow = 2;  // a point lies under the threshold

// One block of a wing: the Voigt arguments of its points and the values
// s_l W, unnormalised, as the threshold compares them.
struct Block {
  std::array<float, kBlock> x;
  std::array<double, kBlock> v;
  std::array<float, kBlock> rational;   // rational part of the exponential region
  std::array<int, kBlock> exponential;  // the point lies in the exponential region
  int n = 0;                            // points in the block
  int found = 0;                        // kNear and kBelow
};

// The Voigt arguments and far-wing values s_l W of the points k = 0..n-1 of
// a line outside the interval, at the distances (a + k) grid + offset: from
// offset = vstart - nu0 and a = j for a line below the interval; for a line
// above, a = -j and offset = nu0 - vstart give the distance offset - j grid
// exactly as the plain walk forms it (a negated product and a sum with a
// negated term are exact).
[[gnu::always_inline]] inline int outside_block(float* __restrict x, double* __restrict v, int a, int n, float grid,
                                                double offset, float alpha_d, float y, double s_l, float threshold) {
  int near = 0;
  int below = 0;
#pragma omp simd reduction(| : near, below)
  for (int k = 0; k < n; ++k) {
    const double delta = static_cast<double>(static_cast<float>(a + k) * grid) + offset;
    const float xk = static_cast<float>(static_cast<double>(kSqrtLn2) * delta / static_cast<double>(alpha_d));
    const double vk = s_l * static_cast<double>(far_wing(xk, y));
    x[k] = xk;
    v[k] = vk;
    near |= !(std::fabs(xk) + y >= kFarWing);
    below |= vk < static_cast<double>(threshold);
  }
  return (near != 0 ? kNear : 0) | (below != 0 ? kBelow : 0);
}

// The same for the points i = a..a+n-1 grid steps from the centre of a line
// inside the interval.
[[gnu::always_inline]] inline int inside_block(float* __restrict x, double* __restrict v, int a, int n, float grid,
                                               float alpha_d, float y, double s_l, float threshold) {
  int near = 0;
  int below = 0;
#pragma omp simd reduction(| : near, below)
  for (int k = 0; k < n; ++k) {
    const float xk = kSqrtLn2 * static_cast<float>(a + k) * grid / alpha_d;
    const double vk = s_l * static_cast<double>(far_wing(xk, y));
    x[k] = xk;
    v[k] = vk;
    near |= !(std::fabs(xk) + y >= kFarWing);
    below |= vk < static_cast<double>(threshold);
  }
  return (near != 0 ? kNear : 0) | (below != 0 ? kBelow : 0);
}

// voigt_w4 wherever it does not take the exponential region. All three
// rational regions are computed and one is picked by bit masks: a branch on
// the region, or a choice the compiler could turn back into one, would keep
// the loop that calls this from being vectorised.
[[gnu::always_inline]] inline float rational_regions(float x, float y) {
  using namespace voigt_detail;
  const Cplx t = {y, -x};
  const Cplx u = mul(t, t);
  const float s = std::fabs(x) + y;
  const std::uint32_t far = 0u - static_cast<std::uint32_t>(s >= kFarWing);
  const std::uint32_t middle = ~far & (0u - static_cast<std::uint32_t>(s >= kMiddleWing));
  const std::uint32_t centre = ~far & ~middle;
  return std::bit_cast<float>((std::bit_cast<std::uint32_t>(region1(t, u)) & far) |
                              (std::bit_cast<std::uint32_t>(region2(t, u)) & middle) |
                              (std::bit_cast<std::uint32_t>(region3(t)) & centre));
}

// The rational part of the exponential region at x, y. (Named complex
// values inside the loop itself would keep it from being vectorised.)
[[gnu::always_inline]] inline float exponential_region_rational(float x, float y) {
  const voigt_detail::Cplx t = {y, -x};
  return voigt_detail::region4_rational(t, voigt_detail::mul(t, t));
}

// Values s_l W of a block that reaches into the nearer regions, in a vector
// loop, and the rational part of the exponential region; the points of that
// region are marked for the library's exp and cos, point by point. Returns
// whether any point is marked.
[[gnu::always_inline]] inline int near_block(const float* __restrict x, double* __restrict v,
                                             float* __restrict rational, int* __restrict exponential, int n, float y,
                                             double s_l) {
  int any = 0;
#pragma omp simd reduction(| : any)
  for (int k = 0; k < n; ++k) {
    const float xk = x[k];
    const int e = static_cast<int>(!(std::fabs(xk) + y >= voigt_detail::kMiddleWing)) &
                  static_cast<int>(!voigt_detail::centre_region(xk, y));
    v[k] = s_l * static_cast<double>(rational_regions(xk, y));
    rational[k] = exponential_region_rational(xk, y);
    exponential[k] = e;
    any |= e;
  }
  return any;
}

[[gnu::always_inline]] inline bool any_below(const double* __restrict v, int n, float threshold) {
  int below = 0;
#pragma omp simd reduction(| : below)
  for (int k = 0; k < n; ++k) below |= v[k] < static_cast<double>(threshold);
  return below != 0;
}

// row[k] += v[k] norm for k = 0..n-1.
[[gnu::always_inline]] inline void add_upwards(double* __restrict row, const double* __restrict v, int n, double norm) {
#pragma omp simd
  for (int k = 0; k < n; ++k) row[k] += v[k] * norm;
}

// row[-k] += v[k] norm for k = 0..n-1: a wing that runs towards lower points.
[[gnu::always_inline]] inline void add_downwards(double* __restrict row, const double* __restrict v, int n,
                                                 double norm) {
#pragma omp simd
  for (int k = 0; k < n; ++k) row[-k] += v[k] * norm;
}

// Completes a block whose points reach into the nearer regions (the far-wing
// values of its loop are then replaced), and looks for the threshold again.
[[gnu::always_inline]] inline void finish_near_block(Block& b, float y, double s_l, float threshold) {
  if ((b.found & kNear) == 0) return;
  if (near_block(b.x.data(), b.v.data(), b.rational.data(), b.exponential.data(), b.n, y, s_l) != 0) {
    for (int k = 0; k < b.n; ++k) {
      const auto ku = static_cast<std::size_t>(k);
      if (b.exponential[ku] == 0) continue;
      const voigt_detail::Cplx t = {y, -b.x[ku]};
      b.v[ku] = s_l * static_cast<double>(voigt_detail::region4_exponential(voigt_detail::mul(t, t)) - b.rational[ku]);
    }
  }
  b.found = kNear | (any_below(b.v.data(), b.n, threshold) ? kBelow : 0);
}

// The number of leading points at or above the threshold.
[[gnu::always_inline]] inline int points_above(const Block& b, float threshold) {
  int k = 0;
  while (k < b.n && !(b.v[static_cast<std::size_t>(k)] < static_cast<double>(threshold))) ++k;
  return k;
}

// A line outside the interval, walked from the nearest edge: point k of the
// walk is grid point k (line below, upwards = true) or npts - k (line above).
// The first point is evaluated alone, so that a weak distant line costs one
// evaluation. Returns the points added.
[[gnu::always_inline]] inline int outside_walk(double* row, int npts, bool upwards, double offset,
                                               const IntervalGrid& g, float alpha_d, float y, double s_l, double norm,
                                               float threshold) {
  Block b;
  int k = 0;
  while (k <= npts) {
    b.n = std::min(k == 0 ? 1 : kBlock, npts + 1 - k);
    const int a = upwards ? k : k - npts;
    b.found = outside_block(b.x.data(), b.v.data(), a, b.n, g.grid, offset, alpha_d, y, s_l, threshold);
    finish_near_block(b, y, s_l, threshold);
    const bool below = (b.found & kBelow) != 0;
    const int m = below ? points_above(b, threshold) : b.n;
    if (upwards) {
      add_upwards(row + k, b.v.data(), m, norm);
    } else {
      add_downwards(row + (npts - k), b.v.data(), m, norm);
    }
    if (below) return k + m;
    k += b.n;
  }
  return npts + 1;
}

// A line inside the interval, centred on point jc: both wings move outwards
// together, the value i steps from the centre going to jc + i and jc - i
// while they lie on the grid; the first point under the threshold is still
// added on both sides. Returns the points added, the centre included.
[[gnu::always_inline]] inline int inside_walk(double* row, int npts, int jc, const IntervalGrid& g, float alpha_d,
                                              float y, double s_l, double norm, float threshold) {
  const int upper = npts - jc;  // points above the centre
  const int lower = jc;         // points below it
  const int last = std::max(upper, lower);
  Block b;
  int i = 1;
  while (i <= last) {
    b.n = std::min(kBlock, last + 1 - i);
    b.found = inside_block(b.x.data(), b.v.data(), i, b.n, g.grid, alpha_d, y, s_l, threshold);
    finish_near_block(b, y, s_l, threshold);
    const bool below = (b.found & kBelow) != 0;
    const int m = below ? points_above(b, threshold) + 1 : b.n;
    const int up = std::clamp(upper - i + 1, 0, m);
    const int down = std::clamp(lower - i + 1, 0, m);
    if (up > 0) add_upwards(row + jc + i, b.v.data(), up, norm);
    if (down > 0) add_downwards(row + jc - i, b.v.data(), down, norm);
    if (below) {
      const int reach = i + m - 1;
      return 1 + std::min(reach, upper) + std::min(reach, lower);
    }
    i += b.n;
  }
  return 1 + upper + lower;
}

// Both walks compiled for one vector unit.
struct Walks {
  int (*outside)(double* row, int npts, bool upwards, double offset, const IntervalGrid& g, float alpha_d, float y,
                 double s_l, double norm, float threshold);
  int (*inside)(double* row, int npts, int jc, const IntervalGrid& g, float alpha_d, float y, double s_l,
                double norm, float threshold);
};

#define LF_DEFINE_WALKS(unit, ...)                                                                             \
  __VA_ARGS__ int outside_##unit(double* row, int npts, bool upwards, double offset, const IntervalGrid& g,   \
                                 float alpha_d, float y, double s_l, double norm, float threshold) {           \
    return outside_walk(row, npts, upwards, offset, g, alpha_d, y, s_l, norm, threshold);                     \
  }                                                                                                            \
  __VA_ARGS__ int inside_##unit(double* row, int npts, int jc, const IntervalGrid& g, float alpha_d, float y, \
                                double s_l, double norm, float threshold) {                                    \
    return inside_walk(row, npts, jc, g, alpha_d, y, s_l, norm, threshold);                                   \
  }

LF_DEFINE_WALKS(baseline)
#ifdef LF_VECTOR_UNITS
LF_DEFINE_WALKS(avx2, [[gnu::target("avx2")]])
LF_DEFINE_WALKS(avx512f, [[gnu::target("avx512f")]])
#endif

Walks walks_for(VectorUnit unit) {
  assert(vector_unit_available(unit));
  switch (unit) {
#ifdef LF_VECTOR_UNITS
    case VectorUnit::avx2: return {outside_avx2, inside_avx2};
    case VectorUnit::avx512f: return {outside_avx512f, inside_avx512f};
#else
    case VectorUnit::avx2:
    case VectorUnit::avx512f:
#endif
    case VectorUnit::baseline: break;
  }
  return {outside_baseline, inside_baseline};
}

}  // namespace

bool vector_unit_available(VectorUnit unit) {
  switch (unit) {
#ifdef LF_VECTOR_UNITS
    case VectorUnit::avx2: return __builtin_cpu_supports("avx2");
    case VectorUnit::avx512f: return __builtin_cpu_supports("avx512f");
#else
    case VectorUnit::avx2:
    case VectorUnit::avx512f: return false;
#endif
    case VectorUnit::baseline: break;
  }
  return true;
}

int add_voigt_line(std::span<double> row, double s_l, const IntervalGrid& g, const LineProfile& p,
                   float wing_threshold) {
  VectorUnit widest = VectorUnit::baseline;
  for (VectorUnit u : {VectorUnit::avx2, VectorUnit::avx512f}) {
    if (vector_unit_available(u)) widest = u;
  }
  return add_voigt_line_on(widest, row, s_l, g, p, wing_threshold);
}

int add_voigt_line_on(VectorUnit unit, std::span<double> row, double s_l, const IntervalGrid& g,
                      const LineProfile& p, float wing_threshold) {
  const Walks walk = walks_for(unit);
  const double nu0 = p.nu0;
  const float alpha_d = p.alpha_d;
  const float alpha_l = p.alpha_l;
  const int npts = g.npts;
  if (npts < 0) return 0;
  assert(row.size() > static_cast<std::size_t>(npts));
  // Single-precision grid and widths, double distances and sums, as in the
  // plain walk.
  const double norm = static_cast<double>(kSqrtLn2) / (static_cast<double>(kPi) * static_cast<double>(alpha_d));
  const float y = kSqrtLn2 * alpha_l / alpha_d;

  if (nu0 < static_cast<double>(g.vstart)) {
    return walk.outside(row.data(), npts, true, static_cast<double>(g.vstart) - nu0, g, alpha_d, y, s_l, norm, wing_threshold);
  }
  if (nu0 > static_cast<double>(g.vend)) {
    return walk.outside(row.data(), npts, false, nu0 - static_cast<double>(g.vstart), g, alpha_d, y, s_l, norm, wing_threshold);
  }
  // The centre as the plain walk places it (see there for the clamp).
  const int jc = std::min(static_cast<int>((nu0 - static_cast<double>(g.vstart)) / static_cast<double>(g.grid) + 0.5), npts);
  row[static_cast<std::size_t>(jc)] += s_l * static_cast<double>(voigt_w4(0.0f, y)) * norm;
  return walk.inside(row.data(), npts, jc, g, alpha_d, y, s_l, norm, wing_threshold);
}

}  // namespace tesk
