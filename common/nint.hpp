// Nearest-integer conversion of the whole system: add 0.5 (subtract it for a
// negative value) and truncate, so halves go away from zero.
#pragma once

namespace rec {

constexpr int nint(double x) { return x >= 0.0 ? static_cast<int>(x + 0.5) : static_cast<int>(x - 0.5); }
constexpr int nint(float x) { return x >= 0.0f ? static_cast<int>(x + 0.5f) : static_cast<int>(x - 0.5f); }

}  // namespace rec
