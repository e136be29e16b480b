// Air-path geometry: the slant-path factor of every model layer for an
// instrument on the ground looking at the sun, the path lengths through the
// layers of a limb path, and the order in which the line of sight meets the
// layers. Line intensities are multiplied by the factor, so optical depths
// come out as slant optical depths.
#pragma once

#include <string_view>

#include "common/arrays.hpp"
#include "tesk/options.hpp"

namespace tesk {

inline constexpr std::string_view kTangentAboveAtmosphere =
    " Tangent altitude above the model atmosphere";

// Ground path at solar zenith angle `zenith_deg` (degrees): for l = 1..nlev,
// pathfac(l) = secant of the local zenith angle of a straight ray through a
// spherical shell at altitude alt(l) (km), 1/cos(zenith) at the ground.
// Single-precision arithmetic. Precondition: alt and pathfac hold nlev levels.
// Touches no file or console.
void ground_airmass(float zenith_deg, const rec::Levels<float>& alt, int nlev,
                    rec::Levels<float>& pathfac);

// Limb path through the tangent altitude `tangent_km` (km): every layer below
// the tangent gets pathfac 0; from the first layer whose altitude is not below
// the tangent (the returned tangent layer) up to nlev, pathfac(l) is the
// distance in km along the ray, on one side of the tangent point, between the
// altitudes of layer l - 1 and layer l (0 for the tangent layer itself when
// its altitude equals the tangent altitude). Single-precision arithmetic.
// Throws rec::Stop(kTangentAboveAtmosphere) when every layer lies below the
// tangent altitude. Touches no file or console.
int limb_path_lengths(float tangent_km, const rec::Levels<float>& alt, int nlev,
                      rec::Levels<float>& pathfac);

// Layers met by the path segments, from the top of the atmosphere along the
// line of sight, into levorder(1..nseg); returns nseg. Limb path:
// down from nlev to `tangent_layer` and up again, nseg = 2 (nlev -
// tangent_layer + 1). Ground path: nlev down to 1, nseg = nlev, `tangent_layer` unused. Only a limb path
// reads this order back: a ground path numbers its segments from the
// instrument up (segment s is layer s, see segment_layer), so its levorder is
// filled but never consulted. Entries beyond
// the capacity of levorder are not written: the caller stops the run when the
// returned nseg exceeds kMaxLevels. Touches no file or console.
int path_order(int nlev, int tangent_layer, Geometry geom, rec::Levels<int>& levorder);

// The model layer whose optical depth and temperature path segment s carries.
// A limb path crosses every layer above the tangent twice, on the way down and
// up again, so segment s is layer levorder(s) and both halves count. On a
// ground path segment s is layer s, segment 1 next to the instrument.
// Precondition: 1 <= s <= nseg of the path built by path_order.
inline int segment_layer(Geometry geom, const rec::Levels<int>& levorder, int s) {
  return geom == Geometry::limb ? levorder(s) : s;
}

}  // namespace tesk
