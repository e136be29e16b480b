// The two files of a standard atmosphere: a mixing-ratio profile (.vmr, one
// column per gas number) and a pressure-temperature profile (.mod). Both are
// free-format text, read sequentially to their end, levels in ascending
// altitude; the profiles are kept as read, for the layer construction.
#pragma once

#include <string>
#include <string_view>

#include "common/arrays.hpp"
#include "tesk/limits.hpp"

namespace tesk {

inline constexpr std::string_view kMsgTooManyGases = "Increase nuber of gases MGAS in FTESK";
inline constexpr std::string_view kMsgTooManyVmrLevels = " Increase number of levels MLEV in FTESK";
inline constexpr std::string_view kMsgTooManyPtLevels =
    "Increase nuber of input altitude levels NUM in TESK";

// Mixing ratios by level: at most kMaxLevels - 1 levels, kMaxGases gases.
struct VmrProfile {
  int nlev = 0;                                      // levels read
  int ngas = 0;                                      // vmr columns: gas numbers 1..ngas
  rec::Levels<float> alt{kMaxLevels - 1};            // km, strictly increasing
  rec::Table<float> vmr{kMaxGases, kMaxLevels - 1};  // vmr(gas, level), volume fraction
};

// Pressure, temperature and density by level: at most kMaxProfileLevels - 1.
struct PtProfile {
  int nlev = 0;                                   // levels read
  rec::Levels<float> pres{kMaxProfileLevels - 1};  // hPa, as in the file
  rec::Levels<float> temp{kMaxProfileLevels - 1};  // K
  rec::Levels<float> alt{kMaxProfileLevels - 1};   // km (the file gives m), strictly increasing
  rec::Levels<float> dens{kMaxProfileLevels - 1};  // reduced density p * 273.16 / T, hPa
  rec::Levels<float> neg_dens{kMaxProfileLevels - 1};  // -dens: rises with altitude
};

// Reads the vmr file at `path`: line 1 holds the number of header lines
// (itself included) and the number of columns c; the header is skipped; then
// each level is a free-form record of the altitude (km) and c - 1 mixing
// ratios, possibly over several lines, until end of file (a level cut short by
// the end of file is dropped). A mixing ratio of exactly 0 becomes 1.0e-20;
// the column of `target_gas` is then multiplied by `target_scale`.
// Stops (rec::Stop) with kMsgTooManyGases for c - 1 > kMaxGases, with
// kMsgTooManyVmrLevels when level kMaxLevels is read (each with a detail line
// naming the file and the limit), and, naming the file,
// when c < 1 or an altitude is not above the one before (with its record). Throws rec::RecordError for a missing file, an unreadable number or
// a file without its first line. Reads the file; no console output.
void read_vmr_profile(const std::string& path, int target_gas, float target_scale, VmrProfile& prof);

// Reads the pressure-temperature file at `path`: line 1 holds the number of
// header lines (itself included); the header is skipped; then each level is a
// free-form record of pressure (hPa), temperature (K) and altitude (m), until
// end of file. Stops (rec::Stop) with kMsgTooManyPtLevels (and its detail
// line) when level kMaxProfileLevels is read, and, naming the file and the record, when an
// altitude is not above the one before or a temperature is not positive.
// Throws rec::RecordError as read_vmr_profile does. Reads the file; no console.
void read_pt_profile(const std::string& path, PtProfile& prof);

}  // namespace tesk
