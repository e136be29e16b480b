// Nearest-integer conversion of the whole system: add 0.5 (subtract it for a
// negative value) and truncate, so halves go away from zero. The sum is
// formed in the argument's own precision. A value beyond the range of int
// gives the nearer end of the range, and NaN gives the lowest int, so that a
// count read from a file can be refused by its range check instead of
// overflowing the conversion.
#pragma once

#include <limits>

namespace rec {

constexpr int nint(double x) {
  if (!(x < 2147483647.5)) return x != x ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  if (x <= -2147483648.5) return std::numeric_limits<int>::min();
  return x >= 0.0 ? static_cast<int>(x + 0.5) : static_cast<int>(x - 0.5);
}
constexpr int nint(float x) {
  // Floats next to 2^31 are 128 apart: x + 0.5f stays below 2^31 for every x below it.
  if (!(x < 2147483648.0f)) return x != x ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  if (x < -2147483648.0f) return std::numeric_limits<int>::min();
  return x >= 0.0f ? static_cast<int>(x + 0.5f) : static_cast<int>(x - 0.5f);
}

}  // namespace rec
