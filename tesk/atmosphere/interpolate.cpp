#include "tesk/atmosphere/interpolate.hpp"

#include <cassert>
#include <cstddef>
#include <limits>

#include "common/stop.hpp"

namespace tesk {

float interpolate_profile(std::span<const float> x, std::span<const float> y, float xq) {
  assert(x.size() == y.size());
  const std::size_t n = x.size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (x[i] <= xq && xq < x[i + 1]) {
      return y[i] + (xq - x[i]) * (y[i + 1] - y[i]) / (x[i + 1] - x[i]);
    }
  }
  // Outside the profile: only a rising profile has end segments to follow.
  if (n < 2 || !(x[n - 1] > x[0])) rec::stop(kMsgInterpolation);
  if (xq < x[0]) return y[0] + (xq - x[0]) * (y[1] - y[0]) / (x[1] - x[0]);
  if (xq > x[n - 1]) {
    return y[n - 2] + (xq - x[n - 2]) * (y[n - 1] - y[n - 2]) / (x[n - 1] - x[n - 2]);
  }
  if (xq == x[n - 1]) return y[n - 1];
  return std::numeric_limits<float>::quiet_NaN();  // a NaN query has no place on the profile
}

}  // namespace tesk
