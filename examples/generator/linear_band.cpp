#include "examples/generator/linear_band.hpp"

#include <cmath>

namespace example {
namespace {

// Rotational partition function of the lower state at temperature t (K),
// summed directly over J until the terms no longer count.
double rotational_partition(const LinearBand& band, double t) {
  double q = 0.0;
  for (int j = 0; j < 2000; ++j) {
    const double term = (2 * j + 1) * std::exp(-kC2 * rotational_term(band.b_lower, band.d_lower, j) / t);
    q += term;
    if (j > 10 && term < 1e-12 * q) break;
  }
  return q;
}

}  // namespace

double rotational_term(double b, double d, int j) {
  const double x = static_cast<double>(j) * (j + 1);
  return b * x - d * x * x;
}

double line_position(const LinearBand& band, int j_lower, bool r_branch) {
  const int j_upper = r_branch ? j_lower + 1 : j_lower - 1;
  return band.origin + rotational_term(band.b_upper, band.d_upper, j_upper) -
         rotational_term(band.b_lower, band.d_lower, j_lower);
}

std::vector<ExampleLine> band_lines(const LinearBand& band, double lo, double hi) {
  const double t = kReferenceTemperature;
  const double q_rot = rotational_partition(band, t);
  // The stimulated-emission factor of the band origin is part of the band
  // strength; each line carries its own relative to it.
  const double emission_origin = 1.0 - std::exp(-kC2 * band.origin / t);
  std::vector<ExampleLine> lines;
  for (int branch = 0; branch < 2; ++branch) {
    const bool r = branch == 1;
    for (int j = r ? 0 : 1; j <= band.max_j; ++j) {
      const double nu = line_position(band, j, r);
      if (nu < lo || nu > hi) continue;
      // Hoenl-London factor of a parallel (Sigma-Sigma) band: J''+1 in R, J'' in P.
      const int m = r ? j + 1 : -j;
      const double hoenl_london = std::abs(m);
      const double e_lower = rotational_term(band.b_lower, band.d_lower, j);
      const double population = std::exp(-kC2 * e_lower / t) / q_rot;
      const double emission = (1.0 - std::exp(-kC2 * nu / t)) / emission_origin;
      ExampleLine line;
      line.molecule = band.molecule;
      line.isotope = band.isotope;
      line.position = nu;
      line.intensity = band.band_strength * (nu / band.origin) * hoenl_london * population * emission;
      line.air_width = band.width_far + band.width_near * std::exp(-std::abs(m) / band.width_scale);
      line.self_width = band.self_over_air * line.air_width;
      line.lower_energy = e_lower;
      line.temp_exponent = band.temp_exponent;
      line.shift = band.shift;
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace example
