// table72: every line of the target gas (and isotope) in the run's range, in
// line-list order, with its position, lower-state energy and the largest
// sensitivity of the spectrum to the target amount near it.
#pragma once

#include "common/records.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// Reach of the sensitivity search around a line, cm-1: the 32-bit 0.1 widened,
// so a sample exactly this far away counts on either side.
inline constexpr double kSensitivityReach = static_cast<double>(0.1f);

// The largest sensitivity of samples 1..nsamp-1 within kSensitivityReach of
// `position` (cm-1), or 0.0 when there is none. The last sample is not examined.
float peak_sensitivity(const TargetSamples& samples, double position);

// Reads table71 into `samples` (they stay for the rating of the lines), copies
// the header from the deck echo, and writes table72 from the target's lines of
// the line list between vlo and vhi. Prints " Table72 (with target gas
// positions)". Throws rec::Stop for a header count outside 1..46 or a target
// factor of 1, rec::RecordError for missing files and unreadable records or
// an unsorted line list.
void write_target_lines(const LineFindSettings& settings, const LineFindFiles& files, TargetSamples& samples,
                        rec::Console& console);

}  // namespace tesk
