// The layer construction of the model atmosphere: 1-km layers from the ground,
// each placed at its mean-density altitude, with pressure, temperature, air
// number density and mixing ratios interpolated there.
#pragma once

#include <string_view>

#include "tesk/atmosphere/atmosphere.hpp"
#include "tesk/atmosphere/profile_files.hpp"

namespace tesk {

inline constexpr std::string_view kMsgVmrNotHigh = " VMR profile not high enough";

// Fills layers 1..atm.nlev (1 <= nlev <= kMaxLevels) of `atm` and its ngas
// from the two profiles. The density is interpolated at the whole kilometres
// 0..nlev; a layer's altitude, temperature and pressure are those at which the
// pressure-temperature profile has the mean of the densities at its two
// boundaries (extrapolated along the end segments when the profile does not
// reach them); its vmrs are interpolated linearly in altitude there. `column`
// is the air number density in molecules cm-2 km-1. Leaves the other slots as
// they are. Stops (rec::Stop) with kMsgVmrNotHigh unless the vmr profile's top
// lies above nlev km, and with kMsgInterpolation for a profile of fewer than
// two levels. No files, no console.
void build_layers(const PtProfile& pt, const VmrProfile& vp, Atmosphere& atm);

}  // namespace tesk
