// Piecewise-linear interpolation of a tabulated profile, with linear
// extrapolation along the end segments. The atmosphere model uses it for
// density against altitude, altitude/pressure/temperature against density, and
// mixing ratios against altitude.
#pragma once

#include <span>
#include <string_view>

namespace tesk {

inline constexpr std::string_view kMsgInterpolation =
    "something wrong in interpolation/extrapolation of vmr, ...";

// The ordinate at `xq` of the profile (x(k), y(k)), k = 1..n with n = x.size()
// = y.size() and increasing abscissae. The first segment with x(k) <= xq <
// x(k+1) brackets the query; a query below x(1) or above x(n) is extrapolated
// along the first or last segment, and xq = x(n) gives y(n). Single precision
// throughout. Stops (rec::Stop) with kMsgInterpolation when no segment
// brackets the query and the profile does not rise from x(1) to x(n) (equal
// ends, fewer than two points, or falling abscissae). No files, no console.
float interpolate_profile(std::span<const float> x, std::span<const float> y, float xq);

}  // namespace tesk
