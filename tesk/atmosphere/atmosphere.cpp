#include "tesk/atmosphere/atmosphere.hpp"

#include <cassert>
#include <cmath>
#include <string>

#include "common/path_prefix.hpp"
#include "common/stop.hpp"
#include "tesk/atmosphere/layers.hpp"
#include "tesk/atmosphere/profile_files.hpp"

namespace tesk {
namespace {

std::string input_file_name(std::string_view inpath, std::string_view name) {
  return atmosphere_prefix(inpath) + std::string(name);
}

std::string_view model_stem(char model) {
  switch (model) {
    case 't': return "tropic";
    case 'm': return "midlat";
    case 'p': return "arctic";
    default: rec::stop(kMsgModelChoice);
  }
}

}  // namespace

std::string atmosphere_prefix(std::string_view inpath) {
  // A name, path included, is kept to kInputNameLength characters, so the
  // path leaves room for the longest name behind it.
  return rec::path_prefix(inpath, kAtmospherePrefixLength, kMsgPathTooLong);
}

AtmosphereFiles atmosphere_files(char model, std::string_view inpath) {
  const std::string stem(model_stem(model));
  return {input_file_name(inpath, stem + ".vmr"), input_file_name(inpath, stem + ".mod")};
}

void read_atmosphere(int nlev, int target_gas, char model, float target_scale,
                     std::string_view inpath, Atmosphere& atm) {
  assert(nlev >= 1 && nlev <= kMaxLevels);
  const auto [vmr_path, pt_path] = atmosphere_files(model, inpath);

  VmrProfile vmr_profile;
  read_vmr_profile(vmr_path, target_gas, target_scale, vmr_profile);
  PtProfile pt_profile;
  read_pt_profile(pt_path, pt_profile);

  atm.alt.fill(0.0f);
  atm.pres.fill(0.0f);
  atm.temp.fill(0.0f);
  atm.column.fill(0.0f);
  atm.vmr.fill(0.0f);
  atm.nlev = nlev;
  build_layers(pt_profile, vmr_profile, atm);
  // A profile that stops well below the model top is extrapolated along its
  // last segment, which can take the density through zero: the layers above
  // then get no air or a temperature that radiates as no body can.
  for (int i = 1; i <= nlev; ++i) {
    if (!(atm.pres(i) > 0.0f && atm.temp(i) > 0.0f && std::isfinite(atm.pres(i)) && std::isfinite(atm.temp(i)))) {
      rec::stop(" Pressure-temperature profile " + pt_path + " does not reach layer " + std::to_string(i) +
                ": its extrapolation gives " + std::to_string(atm.pres(i)) + " hPa and " +
                std::to_string(atm.temp(i)) + " K");
    }
  }
}

}  // namespace tesk
