#include "tesk/engine/line_shape.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "inputs/molecules.hpp"
#include "tesk/engine/molecular_mass.hpp"
#include "tesk/engine/radiation_constants.hpp"
#include "tesk/engine/voigt.hpp"
#include "tesk/engine/voigt_detail.hpp"
#include "tesk/partition/partition.hpp"
#include "tesk/partition/partition_table.hpp"

namespace tesk {

namespace {

constexpr float kInverseReferenceTemp = 0.0033783784f;  // 1/296 K-1
constexpr double kReferenceTemp = 296.0;                // K, of the line intensities

// sqrt(2 ln2 k / amu) / c: Doppler half width at half maximum per unit
// wavenumber and per sqrt(K/amu).
constexpr float kDopplerHwhm = 3.581e-7f;
constexpr double kFixedWidthPerMille = 0.002;  // half width, per mille of nu0, gases above 53

constexpr float kLorentzReferenceTemp = 296.0f;   // K, of the air-broadened widths
constexpr float kLorentzReferencePres = 1013.0f;  // hPa, of the air-broadened widths

}  // namespace

double line_intensity_at(const LineData& line, const LayerData& layer) {
  const double nu0 = line.nu0;
  const double elow = line.elow;
  const float temp = layer.temp;
  // The bracket is formed in the temperature's own single precision.
  double s = line.s296 * std::exp(kC2 * elow * static_cast<double>(kInverseReferenceTemp - 1.0f / temp));
  s = s * (1.0 - std::exp(-kC2 * nu0 / static_cast<double>(temp))) / (1.0 - std::exp(-kC2 * nu0 / kReferenceTemp));
  const int k = inputs::partition_index(line.gas);
  if (k <= kPartitionMolecules) s = s * static_cast<double>(partition_ratio(k, temp));
  return s * static_cast<double>(layer.column) * static_cast<double>(layer.pathfac);
}

float doppler_halfwidth(int gas, double nu0, float temp) {
  assert(gas >= 1);
  if (gas <= kMassTableGases) {
    return static_cast<float>(static_cast<double>(kDopplerHwhm) * nu0 * static_cast<double>(std::sqrt(temp / molecular_mass(gas))));
  }
  return static_cast<float>(nu0 * kFixedWidthPerMille / 1000.0);
}

float lorentz_halfwidth(float pres, float gamma_air, float temp_exponent, float temp) {
  return pres * gamma_air * std::pow(kLorentzReferenceTemp / temp, temp_exponent) /
         kLorentzReferencePres;
}

// The walk point by point, one Voigt evaluation and one threshold test per
// point: the reference that the blocked walk of voigt_wings.cpp reproduces.
int add_voigt_line_plain(std::span<double> row, double s_l, const IntervalGrid& g, const LineProfile& p,
                         float wing_threshold) {
  const double nu0 = p.nu0;
  const float alpha_d = p.alpha_d;
  const float alpha_l = p.alpha_l;
  using voigt_detail::kPi;
  using voigt_detail::kSqrtLn2;
  const int npts = g.npts;
  const float vstart = g.vstart, vend = g.vend, grid = g.grid;
  if (npts < 0) return 0;
  assert(row.size() > static_cast<std::size_t>(npts));
  // The grid, the widths and W are single precision; distances from nu0, the
  // line strength and the sums are carried in double, so each single value is
  // widened where it meets a double one.
  const double norm = static_cast<double>(kSqrtLn2) / (static_cast<double>(kPi) * static_cast<double>(alpha_d));
  const float y = kSqrtLn2 * alpha_l / alpha_d;

  if (nu0 < static_cast<double>(vstart)) {
    // Below the interval: walk up from its first point until the wing is negligible.
    const double offset = static_cast<double>(vstart) - nu0;
    for (int j = 0; j <= npts; ++j) {
      const double delta = static_cast<double>(static_cast<float>(j) * grid) + offset;
      const double v = s_l * static_cast<double>(voigt_w4(static_cast<float>(static_cast<double>(kSqrtLn2) * delta / static_cast<double>(alpha_d)), y));
      if (v < static_cast<double>(wing_threshold)) return j;
      row[static_cast<std::size_t>(j)] += v * norm;
    }
    return npts + 1;
  }
  if (nu0 > static_cast<double>(vend)) {
    // Above the interval: walk down from its last point.
    const double offset = nu0 - static_cast<double>(vstart);
    for (int j = npts; j >= 0; --j) {
      const double delta = offset - static_cast<double>(static_cast<float>(j) * grid);
      const double v = s_l * static_cast<double>(voigt_w4(static_cast<float>(static_cast<double>(kSqrtLn2) * delta / static_cast<double>(alpha_d)), y));
      if (v < static_cast<double>(wing_threshold)) return npts - j;
      row[static_cast<std::size_t>(j)] += v * norm;
    }
    return npts + 1;
  }

  // Inside: the centre goes on the nearest grid point, then both wings move
  // outwards together. The clamp keeps a line at vend on the last point when
  // the double-precision rounding here and the single-precision point count
  // disagree by one.
  const int jc = std::min(static_cast<int>((nu0 - static_cast<double>(vstart)) / static_cast<double>(grid) + 0.5), npts);
  row[static_cast<std::size_t>(jc)] += s_l * static_cast<double>(voigt_w4(0.0f, y)) * norm;
  bool upper_done = false;
  bool lower_done = false;
  // Points added when the wings stop after step i: the centre and each side
  // as far as it reached.
  auto added = [&](int i) { return 1 + std::min(i, npts - jc) + std::min(i, jc); };
  for (int i = 1; i <= npts; ++i) {
    const float w = voigt_w4(kSqrtLn2 * static_cast<float>(i) * grid / alpha_d, y);
    const double v = s_l * static_cast<double>(w);
    if (jc + i <= npts) {
      row[static_cast<std::size_t>(jc + i)] += v * norm;
    } else {
      upper_done = true;
    }
    if (jc - i >= 0) {
      row[static_cast<std::size_t>(jc - i)] += v * norm;
    } else {
      lower_done = true;
    }
    if ((upper_done && lower_done) || v < static_cast<double>(wing_threshold)) return added(i);
  }
  return added(npts);
}

}  // namespace tesk
