#include "kormal/columns.hpp"

#include <algorithm>
#include <cmath>

#include "common/constants.hpp"

namespace kormal {
namespace {

constexpr double kSurfacePressure = 1.024;  // atm at 0 km
constexpr double kScaleHeight = 7.0;        // km
constexpr double kMinWidthPressure = 0.1;   // atm: thinner air does not narrow the mean width further
constexpr double kSlabMolecules = 2.676e24; // molecules cm-2 per km of path per atm
constexpr double kWidthPerAtm = 0.1;        // cm-1 atm-1, one Lorentz width for every line
constexpr double kLoneLevelThickness = 1.0; // km: a file of one level stands for a 1 km slab

// The thickness (km) that level k stands for: half the distance to each
// neighbour. An end level has one neighbour; its slab reaches as far beyond
// it as towards that neighbour, so it stands for the whole distance to it.
// On 1 km levels every level, the ends included, stands for exactly 1 km.
double level_thickness(const Atmosphere& atm, int k) {
  const int n = atm.nlev;
  if (n < 2) return kLoneLevelThickness;
  const int below = k > 1 ? k - 1 : k;
  const int above = k < n ? k + 1 : k;
  const double span = std::fabs(static_cast<double>(atm.alt(above)) - static_cast<double>(atm.alt(below)));
  return k > 1 && k < n ? span / 2.0 : span;
}

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
      // Molecules per atm of the level's slab; its thickness also weights
      // the mean width. A thickness of exactly 1 km leaves both as they are.
      const double slab = kSlabMolecules * level_thickness(atm, k);
      const float a = static_cast<float>(p * slab);
      const float aw = static_cast<float>(pw * slab);
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
