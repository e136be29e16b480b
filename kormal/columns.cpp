#include "kormal/columns.hpp"

#include <algorithm>
#include <cmath>

#include "common/constants.hpp"

namespace kormal {
namespace {

constexpr double kSurfacePressure = 1.024;  // atm at 0 km
constexpr double kScaleHeight = 7.0;        // km
constexpr double kMinWidthPressure = 0.1;   // atm: thinner air does not narrow the mean width further
constexpr double kSlabMolecules = 2.676e24; // molecules cm-2 of a 1 km slab per atm
constexpr double kWidthPerAtm = 0.1;        // cm-1 atm-1, one Lorentz width for every line

}  // namespace

float slant_factor(double zenith_angle) {
  return static_cast<float>(1.0 / std::cos(zenith_angle * rec::kPiFourDecimals / 180.0));
}

void compute_columns(const Atmosphere& atm, SpeciesData& species) {
  const float s = slant_factor(species.zenith_angle);
  for (int g = 1; g <= atm.nspeci; ++g) {
    float col = 0.0f;
    double s1 = 0.0;
    double s2 = 0.0;
    for (int k = 1; k <= atm.nlev; ++k) {
      const double p = kSurfacePressure * std::exp(-static_cast<double>(atm.alt(k)) / kScaleHeight);
      const double pw = p > kMinWidthPressure ? p : kMinWidthPressure;
      const float a = static_cast<float>(p * kSlabMolecules);
      const float aw = static_cast<float>(pw * kSlabMolecules);
      const float x = atm.vmr(k, g);
      col += a * s * x;
      const float xaw = x * aw;
      s1 += static_cast<double>(xaw) * pw;
      s2 += static_cast<double>(xaw);
    }
    species.col(g) = col;
    species.gl(g) = kWidthPerAtm * s1 / s2;
    std::ranges::fill(species.od.row(g), 0.0);
  }
}

}  // namespace kormal
