// The spectrum tables of every run: table71 holds the spectra of every
// interval point by point, table70 the target's mixing-ratio profile on the
// segments of the path. Later steps and users' scripts read both back
// (table71_reader.hpp).
#pragma once

#include <span>

#include "common/records.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/options.hpp"
#include "tesk/study.hpp"

namespace tesk {

// Appends the rows of one interval, the points of `g`, to table71; the header
// goes before the rows of the first interval only, with the units of
// `quantity`. Every study writes target,
// other gases and all gases; the difference studies (uses_scaled_target) also
// the difference of all gases and the scaled spectrum.
void write_spectrum_rows(rec::TextWriter& table71, bool first_interval, Study study, Quantity quantity,
                         const Spectra& spec, const IntervalGrid& g);

// Writes table70, one row per path segment (target vmr, its logarithm,
// altitude in km). A zero mixing ratio has no logarithm: its
// row shows -30, the logarithm of the 1.0E-30 floor that the weighting
// functions use.
void write_profile_table(rec::TextWriter& table70, std::span<const float> target_vmr,
                         std::span<const float> altitude);

// Closes table70 and table71 (both written whole by now) and says so on the
// console, as the line-finding steps expect before they read table71 back.
void close_spectrum_tables(rec::TextWriter& table70, rec::TextWriter& table71, rec::Console& console);

}  // namespace tesk
