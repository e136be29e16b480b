// The two large arrays of a spectral run: optical depths per spectrum class,
// path layer and grid point, and the spectra per class and grid point. Both
// are sized once for the largest interval and reused for every interval.
#pragma once

#include <cassert>
#include <cstddef>
#include <span>
#include <vector>

#include "tesk/engine/large_pages.hpp"
#include "tesk/engine/radiative_transfer.hpp"
#include "tesk/limits.hpp"

namespace tesk {

inline std::size_t point(int j) {
  assert(j >= 0 && j <= kMaxIntervalSteps);
  return static_cast<std::size_t>(j);
}

// Spectrum classes, the first index of both arrays.
inline constexpr int kTargetClass = 1;     // the target gas alone
inline constexpr int kOtherClass = 2;      // every other line
inline constexpr int kAllClass = 3;        // classes 1 and 2 together
inline constexpr int kScaledClass = 4;     // all gases, the target times tfactor

// ext(c, l, j): classes 1..4, layers 1..kMaxLevels, points 0..kMaxIntervalSteps,
// each (class, layer) row contiguous over the points.
class Extinction {
 public:
  static constexpr std::size_t kRow = kMaxIntervalSteps + 1;
  Extinction() : v_(static_cast<std::size_t>(kSpectrumClasses) * kMaxLevels * kRow, 0.0) {}

  double& operator()(int c, int l, int j) { return v_[index(c, l) + point(j)]; }
  double operator()(int c, int l, int j) const { return v_[index(c, l) + point(j)]; }

  // Points 0..npts of one class and layer; npts is 0..kMaxIntervalSteps.
  std::span<double> row(int c, int l, int npts) {
    return std::span<double>(v_).subspan(index(c, l), point(npts) + 1);
  }
  // All layers of one class, as the spectrum step reads them.
  DepthRows depths(int c) const {
    return DepthRows{std::span<const double>(v_).subspan(index(c, 1), kMaxLevels * kRow), kRow};
  }

 private:
  static std::size_t index(int c, int l) {
    assert(c >= 1 && c <= kSpectrumClasses && l >= 1 && l <= kMaxLevels);
    return (static_cast<std::size_t>(c - 1) * kMaxLevels + static_cast<std::size_t>(l - 1)) * kRow;
  }
  std::vector<double, LargePageAllocator<double>> v_;
};

// spec(c, j): classes 1..4, points 0..kMaxIntervalSteps.
class Spectra {
 public:
  static constexpr std::size_t kRow = kMaxIntervalSteps + 1;
  Spectra() : v_(static_cast<std::size_t>(kSpectrumClasses) * kRow, 0.0) {}

  double& operator()(int c, int j) { return v_[index(c) + point(j)]; }
  double operator()(int c, int j) const { return v_[index(c) + point(j)]; }
  std::span<double> row(int c, int npts) {
    return std::span<double>(v_).subspan(index(c), point(npts) + 1);
  }
  std::span<const double> row(int c, int npts) const {
    return std::span<const double>(v_).subspan(index(c), point(npts) + 1);
  }

 private:
  static std::size_t index(int c) {
    assert(c >= 1 && c <= kSpectrumClasses);
    return static_cast<std::size_t>(c - 1) * kRow;
  }
  std::vector<double> v_;
};

}  // namespace tesk
