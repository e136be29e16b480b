#include "examples/generator/solar_lines.hpp"

#include <algorithm>
#include <cmath>

#include "examples/generator/line_set.hpp"

namespace example {
namespace {

constexpr double kPhotosphere = 4500.0;  // K
constexpr double kDeepest = 0.30;
constexpr double kFullWidth = 0.03;  // cm-1

}  // namespace

std::vector<SolarLine> solar_lines() {
  const LinearBand band = co_fundamental();
  std::vector<SolarLine> lines;
  double strongest = 0.0;
  for (int branch = 0; branch < 2; ++branch) {
    const bool r = branch == 1;
    for (int j = r ? 0 : 1; j <= band.max_j; ++j) {
      const double nu = line_position(band, j, r);
      if (nu < kSolarStart || nu > kSolarEnd) continue;
      const double e_lower = rotational_term(band.b_lower, band.d_lower, j);
      const double weight = (r ? j + 1 : j) * std::exp(-kC2 * e_lower / kPhotosphere);
      strongest = std::max(strongest, weight);
      lines.push_back({nu, weight});
    }
  }
  for (SolarLine& line : lines) line.depth *= kDeepest / strongest;
  return lines;
}

double solar_value(const std::vector<SolarLine>& lines, double nu) {
  double value = 1.0;
  for (const SolarLine& line : lines) {
    const double x = (nu - line.position) / kFullWidth;
    value *= 1.0 - line.depth * std::exp(-4.0 * std::log(2.0) * x * x);
  }
  return value;
}

}  // namespace example
