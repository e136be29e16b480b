// The spectrum tables of every run: table71 holds the spectra of every
// interval point by point, table70 the target's mixing-ratio profile on the
// segments of the path. Later steps and users' scripts read both back.
#pragma once

#include <span>

#include "common/records.hpp"
#include "tesk/engine/spectra.hpp"

namespace tesk {

// Appends the rows of one interval, points 0..npts at vstart + j grid
// (cm-1), to table71; the header goes before the rows of the first interval
// only. Studies s, w and a write target, other gases and all gases; studies
// d and i also the difference of all gases and the scaled spectrum.
void write_spectrum_rows(rec::TextWriter& table71, bool first_interval, char study, char transrad,
                         const Spectra& spec, float vstart, float grid, int npts);

// Writes table70, one row per path segment (target vmr, its logarithm,
// altitude in km), closes table70 and table71 and says so on the console. A
// zero mixing ratio has no logarithm: its row shows -30, the logarithm of the
// 1.0E-30 floor that the weighting functions use.
void write_profile_table(rec::TextWriter& table70, rec::TextWriter& table71, rec::Console& console,
                         std::span<const float> target_vmr, std::span<const float> altitude);

}  // namespace tesk
