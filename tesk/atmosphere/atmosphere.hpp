// The model atmosphere of the line-finding program: a standard atmosphere's
// pressure-temperature and mixing-ratio files, chosen by a one-letter answer,
// turned into model layers of 1 km from the ground up, each represented at the
// altitude where the density equals the layer's mean density.
#pragma once

#include <string>
#include <string_view>

#include "common/arrays.hpp"
#include "tesk/limits.hpp"

namespace tesk {

inline constexpr std::string_view kMsgPathTooLong = "Path for input files to long";
inline constexpr std::string_view kMsgModelChoice = " model/vmr choice must be t,m, or p";

// Level arrays, index 1 = the lowest layer. Slots above nlev hold 0 (a limb
// path counts more path levels than there are layers), and so do the vmrs of
// gases above ngas.
struct Atmosphere {
  int nlev = 0;                                  // model layers filled
  int ngas = 0;                                  // gases (vmr columns) of the vmr file
  rec::Levels<float> alt{kMaxLevels + 1};        // km, mean-density altitude of the layer
  rec::Levels<float> pres{kMaxLevels + 1};       // hPa (the unit of the .mod file)
  rec::Levels<float> temp{kMaxLevels + 1};       // K
  rec::Levels<float> column{kMaxLevels + 1};     // air molecules cm-2 per km of path
  rec::Table<float> vmr{kMaxGases, kMaxLevels};  // vmr(gas, level), volume fraction
};

// The input prefix `inpath` (a deck path answer) as the atmosphere files'
// names begin with it: up to its first blank. Stops (rec::Stop) with
// kMsgPathTooLong when it holds more than kAtmospherePrefixLength characters.
// No files, no console.
std::string atmosphere_prefix(std::string_view inpath);

// The files of the standard atmosphere `model` on `inpath`, as
// read_atmosphere names them (below), in the order it reads them. Stops as it
// does for the prefix and the letter. No files, no console.
struct AtmosphereFiles {
  std::string vmr;  // mixing ratios, "<name>.vmr"
  std::string pt;   // pressure and temperature, "<name>.mod"
};
AtmosphereFiles atmosphere_files(char model, std::string_view inpath);

// Reads the standard atmosphere `model` ('t' tropic, 'm' midlat, 'p' arctic)
// and fills `atm` for layers 1..nlev (nlev = kModelLayers in a run, at most
// kMaxLevels): layer i spans i - 1 to i km. The files "<name>.vmr" and
// "<name>.mod" are looked up on `inpath`, the deck's path prefix: the file
// name is written at its first blank (rec::path_prefix), so a directory
// must end with its separator and anything after the blank is a comment. The
// vmrs of `target_gas` are multiplied by `target_scale` as they are read; a
// zero vmr becomes 1.0e-20.
// Stops (rec::Stop) with kMsgPathTooLong when the prefix holds more than
// kAtmospherePrefixLength characters, kMsgModelChoice for another letter, " VMR
// profile not high enough" unless the vmr profile ends above nlev km, and
// with the messages of read_vmr_profile, read_pt_profile and
// interpolate_profile. Throws rec::RecordError for a missing or unreadable
// file. Reads both files; no console output.
void read_atmosphere(int nlev, int target_gas, char model, float target_scale,
                     std::string_view inpath, Atmosphere& atm);

}  // namespace tesk
