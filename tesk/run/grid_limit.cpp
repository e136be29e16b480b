#include "tesk/run/grid_limit.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tesk {
namespace {

constexpr float kLastDecimal = 1.0e-4f;  // cm-1, table71's wavenumbers are f10.4

}  // namespace

float finest_grid(float vlo, float vhi) {
  const float end = std::max(std::fabs(vlo), std::fabs(vhi));
  // The points lie below the end, so the spacing below it is the one they meet.
  const float spacing = end - std::nextafter(end, 0.0f);
  return std::max(kLastDecimal, 2.0f * spacing);
}

std::string grid_too_fine(float vlo, float vhi) {
  const float limit = finest_grid(vlo, vhi);
  char shown[32];
  // The shortest decimal that reads back at or above the limit; nine digits
  // give any single-precision value back exactly.
  for (int digits = 2; digits <= 9; ++digits) {
    std::snprintf(shown, sizeof shown, "%.*g", digits, static_cast<double>(limit));
    if (std::strtof(shown, nullptr) >= limit) break;
  }
  return "the grid spacing must be at least " + std::string(shown) + " cm-1 to keep the wavenumbers apart";
}

}  // namespace tesk
