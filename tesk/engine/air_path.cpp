#include "tesk/engine/air_path.hpp"

#include <cmath>

#include "common/stop.hpp"
#include "tesk/constants.hpp"

namespace tesk {

namespace {

constexpr float kEarthRadius = 6370.0f;  // km, mean radius of a spherical Earth

}  // namespace

void ground_airmass(float zenith_deg, const rec::Levels<float>& alt, int nlev,
                    rec::Levels<float>& pathfac) {
  const float c = std::cos(zenith_deg * kPiFourDecimals / 180.0f);
  for (int l = 1; l <= nlev; ++l) {
    const float h = alt(l) / kEarthRadius;
    pathfac(l) = (1.0f + h) / std::sqrt(c * c + 2.0f * h + h * h);
  }
}

int limb_path_lengths(float tangent_km, const rec::Levels<float>& alt, int nlev,
                      rec::Levels<float>& pathfac) {
  int tangent_layer = 1;
  while (tangent_layer <= nlev && alt(tangent_layer) < tangent_km) {
    pathfac(tangent_layer) = 0.0f;
    ++tangent_layer;
  }
  if (tangent_layer > nlev) rec::stop(kTangentAboveAtmosphere);

  // Distance from the tangent point to where the ray reaches altitude alt(l).
  // The difference of squares loses digits near the tangent; stored spectra
  // were computed this way, so it stays in single precision.
  const float r0 = tangent_km + kEarthRadius;
  float s_prev = 0.0f;
  for (int l = tangent_layer; l <= nlev; ++l) {
    const float r = alt(l) + kEarthRadius;
    const float s = std::sqrt(r * r - r0 * r0);
    pathfac(l) = s - s_prev;
    s_prev = s;
  }
  return tangent_layer;
}

int path_order(int nlev, int tangent_layer, Geometry geom, rec::Levels<int>& levorder) {
  const int cap = levorder.size();
  if (geom == Geometry::limb) {
    const int m = nlev - tangent_layer + 1;
    for (int i = 1; i <= m && i <= cap; ++i) levorder(i) = nlev - i + 1;
    for (int i = 1; i <= m && m + i <= cap; ++i) levorder(m + i) = tangent_layer + i - 1;
    return 2 * m;
  }
  for (int i = 1; i <= nlev && i <= cap; ++i) levorder(i) = nlev - i + 1;
  return nlev;
}

}  // namespace tesk
